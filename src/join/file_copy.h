// SPDX-License-Identifier: GPL-3.0-or-later
// The join's copy engine: streams whole files one after another into an output file.
// Memory stays bounded (one buffer of 128 KiB at most, whatever the sizes) and sizes are
// 64-bit. It copies with the kernel's copy_file_range or with plain reads and writes, starting
// with Preferred_Copy_Method and falling back to the other where the first is refused.
// Progress and cancel go through Copy_Progress, so the engine needs no window; the join runs it
// on a worker thread.
#pragma once

#include <QString>
#include <QStringList>

namespace pf {

// Told about the copy as it goes, on the copying thread between chunks.
class Copy_Progress {
public:
    virtual ~Copy_Progress() = default;
    virtual void Begin(qint64 totalBytes) = 0;
    // `file` is being copied and `doneBytes` of the total are written; false cancels the copy.
    virtual bool Step(const QString& file, qint64 doneBytes) = 0;
    virtual void End() = 0;
};

// Kernel and Buffered copy the bytes as they are; Stamped reads every byte and gives the parts
// one continuous clock (mpeg/stamped_join.h), so it has no other method to fall back to.
enum class Copy_Method { Kernel, Buffered, Stamped };

// The method to start with; the other one takes over where it is refused. It is Kernel
// (copy_file_range in 8 MiB calls): bench/join finds it on a par with cat and with the buffered
// copy through 128 KiB (the README's table has the figures), and the data never passes through
// our memory. A larger buffer would not make the buffered copy the better start: through 4 MiB it
// was the slower one by far.
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
    bool Ok() const { return status == Copy_Status::Ok; }
};

// Writes the bytes of every input, in order, into `output`. Inputs are opened without blocking
// and must be regular files; none may be the output itself. Whatever stands at `output` is
// removed first (a regular file or a link, never what a link names) and the output created
// exclusively. Inputs are checked before anything is written; on any failure or a cancel the
// output is removed, unless it is one of the inputs. The inputs are only ever read. A finished
// output is on disk (fsync) before it is closed, so it can be renamed into place at once.
// With Stamped, `unchanged` receives the inputs whose clock could not be found, copied as they were.
Copy_Outcome Concatenate(const QStringList& inputs, const QString& output, Copy_Progress* progress = nullptr,
                         Copy_Method method = Preferred_Copy_Method(), QStringList* unchanged = nullptr);

// A short Japanese description of a failed outcome, for the message box.
QString Copy_Failure_Text(const Copy_Outcome& outcome);

}  // namespace pf
