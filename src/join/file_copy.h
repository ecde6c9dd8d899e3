// The join's copy engine: streams whole files one after another into an output file.
// Memory stays bounded (one buffer of a few MiB at most, whatever the sizes) and sizes are
// 64-bit. It copies with the kernel's copy_file_range or with plain reads and writes,
// whichever measures faster here (bench/join), and falls back to the other where the first
// is refused. Progress and cancel go through Copy_Progress, so the engine needs no window.
#pragma once

#include <QString>
#include <QStringList>

namespace pf {

// Told about the copy as it goes; runs on the caller's thread between chunks.
class Copy_Progress {
public:
    virtual ~Copy_Progress() = default;
    virtual void begin(qint64 totalBytes) = 0;
    // `file` is being copied and `doneBytes` of the total are written; false cancels the copy.
    virtual bool step(const QString& file, qint64 doneBytes) = 0;
    virtual void end() = 0;
};

enum class Copy_Method { Kernel, Buffered };

// The method to start with; the other one takes over where it is refused. It is Kernel
// (copy_file_range in 64 MiB calls), as bench/join decided on 2026-12-08 joining 4 x 1 GiB of
// real data, output synced and caches dropped: against buffered copies through 4 MiB it took a
// median 5.8 s to their 10.8 s; through 128 KiB, the buffered copy's present size, the two were
// within 5 % (kernel 6.01 and 5.68 s, buffered 5.72 and 5.94 s, cat 6.06 and 5.86 s in two
// runs), so the kernel copy stays: it is never slower than cat and keeps the data out of our memory.
Copy_Method Preferred_Copy_Method();

enum class Copy_Status {
    Ok,
    Read_Failed,
    Write_Failed,
    Cancelled,
    Not_Regular,  // an input, or what stands at the output's name, is no regular file
    Same_File,    // an input is the output itself, under another name or through a link
};

struct Copy_Outcome {
    Copy_Status status = Copy_Status::Ok;
    QString path;      // the file that failed: an input, or the output
    int error = 0;     // errno; 0 when an input was shorter than when the copy began
    qint64 bytes = 0;  // bytes written to the output
    bool ok() const { return status == Copy_Status::Ok; }
};

// Writes the bytes of every input, in order, into `output`. Inputs are opened without blocking
// and must be regular files; none may be the output itself. Whatever stands at `output` is
// removed first (a regular file or a link, never what a link names) and the output created
// exclusively. Inputs are checked before anything is written; on any failure or a cancel the
// output is removed, unless it is one of the inputs. The inputs are only ever read. A finished
// output is on disk (fsync) before it is closed, so it can be renamed into place at once.
Copy_Outcome Concatenate(const QStringList& inputs, const QString& output, Copy_Progress* progress = nullptr,
                         Copy_Method method = Preferred_Copy_Method());

// A short Japanese description of a failed outcome, for the message box.
QString Copy_Failure_Text(const Copy_Outcome& outcome);

}  // namespace pf
