#include "join/file_copy.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pf {

namespace {

// Per call: small enough that progress and cancel stay responsive, large enough to keep
// the per-call cost out of the figures.
constexpr qint64 Kernel_Chunk = qint64(8) << 20;
constexpr qint64 Buffer_Size = qint64(4) << 20;

class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    // Closes now and reports the result; a late write error shows up here.
    int close()
    {
        const int r = ::close(fd_);
        fd_ = -1;
        return r;
    }

private:
    int fd_;
};

// Errors by which the kernel refuses copy_file_range for a pair of files, not a fault of either.
bool Kernel_Copy_Refused(int e)
{
    return e == EXDEV || e == ENOSYS || e == EINVAL || e == EOPNOTSUPP || e == EBADF || e == EPERM
           || e == ETXTBSY;
}

class Copier {
public:
    Copier(Copy_Method method, Copy_Progress* progress) : kernel_(method == Copy_Method::Kernel), progress_(progress) {}

    // Copies exactly `length` bytes from the current position of `in` to that of `out`.
    Copy_Outcome copy(int in, int out, qint64 length, const QString& inName, const QString& outName)
    {
        bool kernel = kernel_;
        qint64 left = length;
        while (left > 0) {
            if (kernel) {
                const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, size_t(std::min(left, Kernel_Chunk)), 0);
                if (n > 0) {
                    left -= n;
                    if (!advance(n, inName))
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
            const ssize_t n = ::read(in, buffer_.get(), size_t(std::min(left, Buffer_Size)));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return {Copy_Status::Read_Failed, inName, n < 0 ? errno : 0, done_};
            for (ssize_t written = 0; written < n;) {
                const ssize_t w = ::write(out, buffer_.get() + written, size_t(n - written));
                if (w < 0 && errno == EINTR)
                    continue;
                if (w <= 0)
                    return {Copy_Status::Write_Failed, outName, w < 0 ? errno : ENOSPC, done_};
                written += w;
            }
            left -= n;
            if (!advance(n, inName))
                return {Copy_Status::Cancelled, inName, 0, done_};
        }
        return {Copy_Status::Ok, {}, 0, done_};
    }

    qint64 done() const { return done_; }

private:
    bool advance(qint64 n, const QString& name)
    {
        done_ += n;
        return !progress_ || progress_->step(name, done_);
    }

    bool kernel_;
    Copy_Progress* progress_;
    qint64 done_ = 0;
    std::unique_ptr<char[]> buffer_;
};

Copy_Outcome Copy_All(const QStringList& inputs, const QString& output, Copy_Progress* progress, Copy_Method method)
{
    // Sizes first, for the progress total; a missing input stops the join before it writes.
    qint64 total = 0;
    for (const QString& p : inputs) {
        struct stat st {};
        if (::stat(QFile::encodeName(p).constData(), &st) != 0)
            return {Copy_Status::Read_Failed, p, errno, 0};
        total += st.st_size;
    }
    Fd out(::open(QFile::encodeName(output).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (out.get() < 0)
        return {Copy_Status::Write_Failed, output, errno, 0};
    struct stat outStat {};
    ::fstat(out.get(), &outStat);

    if (progress)
        progress->begin(total);
    Copier copier(method, progress);
    for (const QString& p : inputs) {
        if (progress && !progress->step(p, copier.done()))
            return {Copy_Status::Cancelled, p, 0, copier.done()};
        Fd in(::open(QFile::encodeName(p).constData(), O_RDONLY | O_CLOEXEC));
        if (in.get() < 0)
            return {Copy_Status::Read_Failed, p, errno, copier.done()};
        struct stat st {};
        if (::fstat(in.get(), &st) != 0)
            return {Copy_Status::Read_Failed, p, errno, copier.done()};
        if (!S_ISREG(st.st_mode))
            return {Copy_Status::Read_Failed, p, S_ISDIR(st.st_mode) ? EISDIR : EINVAL, copier.done()};
        if (st.st_dev == outStat.st_dev && st.st_ino == outStat.st_ino)
            return {Copy_Status::Read_Failed, p, EINVAL, copier.done()};  // would read its own output
        ::posix_fadvise(in.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
        const Copy_Outcome r = copier.copy(in.get(), out.get(), st.st_size, p, output);
        if (!r.ok())
            return r;
    }
    if (out.close() != 0)
        return {Copy_Status::Write_Failed, output, errno, copier.done()};
    return {Copy_Status::Ok, {}, 0, copier.done()};
}

}  // namespace

Copy_Method Preferred_Copy_Method()
{
    // bench/join measures both on this kind of system: the kernel's copy keeps the data out of
    // user space and came out ahead or equal on every run.
    return Copy_Method::Kernel;
}

Copy_Outcome Concatenate(const QStringList& inputs, const QString& output, Copy_Progress* progress, Copy_Method method)
{
    Copy_Outcome r = Copy_All(inputs, output, progress, method);
    if (progress)
        progress->end();
    if (!r.ok())
        ::unlink(QFile::encodeName(output).constData());
    return r;
}

QString Copy_Failure_Text(const Copy_Outcome& r)
{
    const QString reason = r.error ? QString::fromLocal8Bit(std::strerror(r.error))
                                   : QStringLiteral("ﾌｧｲﾙの大きさが変わりました");
    switch (r.status) {
    case Copy_Status::Read_Failed:
        return QStringLiteral("入力ﾌｧｲﾙを読み込めないため結合を中止しました！\n%1\n(%2)").arg(r.path, reason);
    case Copy_Status::Write_Failed:
        return QStringLiteral("結合ﾌｧｲﾙを書き込めないため結合を中止しました！\n%1\n(%2)").arg(r.path, reason);
    case Copy_Status::Cancelled:
        return QStringLiteral("結合を取り消しました。");
    case Copy_Status::Ok:
        break;
    }
    return {};
}

}  // namespace pf
