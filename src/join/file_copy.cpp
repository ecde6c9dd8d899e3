// SPDX-License-Identifier: GPL-3.0-or-later
#include "join/file_copy.h"

#include "mpeg/stamped_join.h"
#include "util/safe_file.h"
#include "util/system_error.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pf {

namespace {

// Per call: small enough that progress and cancel stay responsive (a few hundredths of a second
// on a disk), large enough to keep the per-call cost out of the figures.
constexpr qint64 Kernel_Chunk = qint64(8) << 20;
constexpr qint64 Buffer_Size = qint64(128) << 10;  // larger buffers lost the overlap of reading and writing

// Errors by which the kernel refuses copy_file_range for a pair of files, not a fault of either.
bool Kernel_Copy_Refused(int e)
{
    return e == EXDEV || e == ENOSYS || e == EINVAL || e == EOPNOTSUPP || e == EBADF || e == EPERM || e == ETXTBSY;
}

class Copier {
public:
    Copier(Copy_Method method, Copy_Progress* progress) : kernel_(method == Copy_Method::Kernel), progress_(progress) {}

    // Copies exactly `length` bytes from the current position of `in` to that of `out`.
    Copy_Outcome Copy(int in, int out, qint64 length, const QString& inName, const QString& outName)
    {
        bool kernel = kernel_;
        qint64 left = length;
        while (left > 0) {
            if (kernel) {
                const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, size_t(std::min(left, Kernel_Chunk)), 0);
                if (n > 0) {
                    left -= n;
                    if (!Advance(n, inName))
                        return {Copy_Status::Cancelled, inName, 0, done_};
                    continue;
                }
                if (n < 0 && errno == EINTR)
                    continue;
                if (n < 0 && Kernel_Copy_Refused(errno))
                    kernel_ = false;  // for the rest of this join
                // Any other answer (an error, or 0 before the end) is retried by reads and
                // writes, which tell which side failed.
                kernel = false;
                continue;
            }
            if (!buffer_)
                buffer_ = std::make_unique<char[]>(size_t(Buffer_Size));
            const qint64 n = Read_Full(in, buffer_.get(), std::min(left, Buffer_Size));
            if (n <= 0)
                return {Copy_Status::Read_Failed, inName, n < 0 ? errno : 0, done_};
            if (!Write_Full(out, buffer_.get(), n))
                return {Copy_Status::Write_Failed, outName, errno, done_};
            left -= n;
            if (!Advance(n, inName))
                return {Copy_Status::Cancelled, inName, 0, done_};
        }
        return {Copy_Status::Ok, {}, 0, done_};
    }

    qint64 Done() const { return done_; }

private:
    bool Advance(qint64 n, const QString& name)
    {
        done_ += n;
        return !progress_ || progress_->Step(name, done_);
    }

    bool kernel_;
    Copy_Progress* progress_;
    qint64 done_ = 0;
    std::unique_ptr<char[]> buffer_;
};

bool Same_Inode(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Opens an input without blocking (a FIFO would wait for a writer) and accepts a regular file
// only; `st` receives what it is.
Copy_Outcome Open_Input(const QString& path, Unique_Fd& fd, struct stat& st)
{
    Open_Result in = Open_Regular(path, true);
    if (in.status == File_Status::Not_Regular)
        return {Copy_Status::Not_Regular, path, 0, 0};
    if (in.status != File_Status::Ok)
        return {Copy_Status::Read_Failed, path, in.error, 0};
    if (::fstat(in.fd.Get(), &st) != 0)
        return {Copy_Status::Read_Failed, path, errno, 0};
    fd = std::move(in.fd);
    return {};
}

// Before anything is written: every input is a readable regular file and none is the output
// itself (by any name: a link or a hard link). Adds up the sizes, input by input.
Copy_Outcome Check_Inputs(const QStringList& inputs, const QString& output, QList<qint64>* ends)
{
    struct stat out {};
    const bool outExists = ::stat(QFile::encodeName(output).constData(), &out) == 0;
    for (const QString& p : inputs) {
        Unique_Fd fd;
        struct stat st {};
        if (Copy_Outcome r = Open_Input(p, fd, st); !r.Ok())
            return r;
        if (outExists && Same_Inode(st, out))
            return {Copy_Status::Same_File, p, 0, 0};
        ends->append((ends->isEmpty() ? 0 : ends->constLast()) + st.st_size);
    }
    return {};
}

// Every byte read, its clock fields rewritten and written; progress by the bytes read, told
// as of the input they fall in.
Copy_Outcome Copy_Stamped(const QStringList& inputs, const QList<qint64>& ends, int out, const QString& output,
                          Copy_Progress* progress, QStringList* unchanged)
{
    qint64 written = 0;
    int writeError = 0;
    const auto sink = [&](const unsigned char* p, qint64 n) {
        if (!Write_Full(out, p, n)) {
            writeError = errno;
            return false;
        }
        written += n;
        return true;
    };
    qsizetype at = 0;
    const auto told = [&](qint64 read) {
        while (at + 1 < ends.size() && read >= ends.at(at))
            ++at;
        return !progress || progress->Step(inputs.value(at), read);
    };
    const Rewrite_Outcome r = Rewrite_Files(inputs, sink, told);
    Copy_Outcome outcome{Copy_Status::Ok, {}, 0, written};
    if (r.cancelled)
        outcome = {Copy_Status::Cancelled, inputs.value(at), 0, written};
    else if (!r.ok && !r.failedPath.isEmpty())
        outcome = {r.error ? Copy_Status::Read_Failed : Copy_Status::Not_Regular, r.failedPath, r.error, written};
    else if (!r.ok)
        outcome = {Copy_Status::Write_Failed, output, writeError ? writeError : EIO, written};
    for (const int i : r.unchanged)
        if (unchanged)
            unchanged->append(inputs.value(i));
    return outcome;
}

// The bytes as they are, by the kernel's copy or by reads and writes.
Copy_Outcome Copy_Bytes(const QStringList& inputs, int out, const struct stat& outStat, const QString& output,
                        Copy_Progress* progress, Copy_Method method);

Copy_Outcome Copy_All(const QStringList& inputs, const QString& output, Copy_Progress* progress, Copy_Method method,
                      bool* created, QStringList* unchanged)
{
    QList<qint64> ends;
    if (Copy_Outcome r = Check_Inputs(inputs, output, &ends); !r.Ok())
        return r;
    // A stale output or a link of that name goes first; the new file is created exclusively.
    Open_Result out = Create_Fresh(output, 0666);
    if (out.status == File_Status::Not_Regular)
        return {Copy_Status::Not_Regular, output, 0, 0};
    if (out.status != File_Status::Ok)
        return {Copy_Status::Write_Failed, output, out.error, 0};
    *created = true;
    struct stat outStat {};
    ::fstat(out.fd.Get(), &outStat);

    if (progress)
        progress->Begin(ends.isEmpty() ? 0 : ends.constLast());
    Copy_Outcome copied{Copy_Status::Ok, {}, 0, 0};
    if (method == Copy_Method::Stamped)
        copied = Copy_Stamped(inputs, ends, out.fd.Get(), output, progress, unchanged);
    else
        copied = Copy_Bytes(inputs, out.fd.Get(), outStat, output, progress, method);
    if (!copied.Ok())
        return copied;
    // On disk before anyone renames it into place or deletes an input for it.
    if (::fsync(out.fd.Get()) != 0 || out.fd.Close() != 0)
        return {Copy_Status::Write_Failed, output, errno, copied.bytes};
    return copied;
}

Copy_Outcome Copy_Bytes(const QStringList& inputs, int out, const struct stat& outStat, const QString& output,
                        Copy_Progress* progress, Copy_Method method)
{
    Copier copier(method, progress);
    for (const QString& p : inputs) {
        if (progress && !progress->Step(p, copier.Done()))
            return {Copy_Status::Cancelled, p, 0, copier.Done()};
        Unique_Fd in;
        struct stat st {};
        if (Copy_Outcome r = Open_Input(p, in, st); !r.Ok())
            return {r.status, p, r.error, copier.Done()};
        if (Same_Inode(st, outStat))
            return {Copy_Status::Same_File, p, 0, copier.Done()};  // replaced by a link meanwhile
        ::posix_fadvise(in.Get(), 0, 0, POSIX_FADV_SEQUENTIAL);
        const Copy_Outcome r = copier.Copy(in.Get(), out, st.st_size, p, output);
        if (!r.Ok())
            return r;
    }
    return {Copy_Status::Ok, {}, 0, copier.Done()};
}

}  // namespace

Copy_Method Preferred_Copy_Method()
{
    // Measured by bench/join; the figures are in the header.
    return Copy_Method::Kernel;
}

Copy_Outcome Concatenate(const QStringList& inputs, const QString& output, Copy_Progress* progress, Copy_Method method,
                         QStringList* unchanged)
{
    bool created = false;
    Copy_Outcome r = Copy_All(inputs, output, progress, method, &created, unchanged);
    if (progress)
        progress->End();
    // A failed join leaves no output; but an output that is an input, or that is no regular
    // file, stays as it was (Remove_File takes only regular files and links).
    if (!r.Ok() && (created || r.status != Copy_Status::Same_File))
        Remove_File(output);
    return r;
}

QString Copy_Failure_Text(const Copy_Outcome& r)
{
    const QString reason = r.error ? Japanese_System_Error(r.error) : QStringLiteral("ﾌｧｲﾙの大きさが変わりました");
    switch (r.status) {
    case Copy_Status::Not_Regular: return QStringLiteral("通常のﾌｧｲﾙではないため結合を中止しました！\n%1").arg(r.path);
    case Copy_Status::Same_File:
        return QStringLiteral("入力ﾌｧｲﾙが結合ﾌｧｲﾙと同じﾌｧｲﾙのため結合を中止しました！\n%1").arg(r.path);
    case Copy_Status::Read_Failed:
        return QStringLiteral("入力ﾌｧｲﾙを読み込めないため結合を中止しました！\n%1\n(%2)").arg(r.path, reason);
    case Copy_Status::Write_Failed:
        return QStringLiteral("結合ﾌｧｲﾙを書き込めないため結合を中止しました！\n%1\n(%2)").arg(r.path, reason);
    case Copy_Status::Cancelled: return QStringLiteral("結合を取り消しました。");
    case Copy_Status::Ok: break;
    }
    return {};
}

}  // namespace pf
