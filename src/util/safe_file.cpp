// SPDX-License-Identifier: GPL-3.0-or-later
#include "util/safe_file.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pf {

namespace {

QByteArray Bytes(const QString& path)
{
    return QFile::encodeName(path);
}

File_Status Status_Of_Errno(int e)
{
    return e == ENOENT || e == ENOTDIR ? File_Status::Missing : File_Status::Failed;
}

// A temporary beside `target`, hidden so that folder scans of the program pass it by.
QString Temp_Beside(const QString& target)
{
    const QFileInfo info(target);
    return info.path() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".part");
}

void Sync_Folder(const QString& file)
{
    // The rename is durable only once the folder's entry is on disk.
    const int dir = ::open(Bytes(QFileInfo(file).path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

}  // namespace

Unique_Fd::~Unique_Fd()
{
    if (fd_ >= 0)
        ::close(fd_);
}

Unique_Fd& Unique_Fd::operator=(Unique_Fd&& other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = other.Release();
    }
    return *this;
}

int Unique_Fd::Release()
{
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

int Unique_Fd::Close()
{
    const int r = ::close(fd_);
    fd_ = -1;
    return r;
}

Open_Result Open_Regular(const QString& path, bool waitIfHeld)
{
    Open_Result r;
    // A device or FIFO is not even opened: opening one can act (a tape rewinds, a terminal
    // becomes the controlling one). The checks after the open hold if it changes meanwhile.
    struct stat before {};
    if (::stat(Bytes(path).constData(), &before) == 0 && !S_ISREG(before.st_mode)) {
        r.status = File_Status::Not_Regular;
        return r;
    }
    // Non-blocking: opening a FIFO for reading would wait for a writer.
    r.fd = Unique_Fd(::open(Bytes(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    // A lease refuses a non-blocking open of a regular file; its holder lets go as a slow drive
    // answers, late.
    if (!r.fd.Valid() && errno == EWOULDBLOCK && waitIfHeld && S_ISREG(before.st_mode))
        r.fd = Unique_Fd(::open(Bytes(path).constData(), O_RDONLY | O_NOCTTY | O_CLOEXEC));
    if (!r.fd.Valid()) {
        r.error = errno;
        r.status = Status_Of_Errno(r.error);
        return r;
    }
    struct stat st {};
    if (::fstat(r.fd.Get(), &st) != 0) {
        r.error = errno;
        r.fd = Unique_Fd();
        return r;
    }
    if (!S_ISREG(st.st_mode)) {
        r.status = File_Status::Not_Regular;
        r.fd = Unique_Fd();
        return r;
    }
    ::fcntl(r.fd.Get(), F_SETFL, ::fcntl(r.fd.Get(), F_GETFL) & ~O_NONBLOCK);
    r.size = st.st_size;
    r.status = File_Status::Ok;
    return r;
}

qint64 Read_Full(int fd, void* to, qint64 length, qint64 offset)
{
    auto* at = static_cast<char*>(to);
    qint64 done = 0;
    while (done < length) {
        const size_t want = size_t(length - done);
        const ssize_t n = offset < 0 ? ::read(fd, at + done, want) : ::pread(fd, at + done, want, offset + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

bool Write_Full(int fd, const void* from, qint64 length)
{
    const auto* at = static_cast<const char*>(from);
    for (qint64 done = 0; done < length;) {
        const ssize_t n = ::write(fd, at + done, size_t(length - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0)
            errno = ENOSPC;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

Read_Result Read_Regular_File(const QString& path, qint64 limit)
{
    Read_Result r;
    Open_Result in = Open_Regular(path);
    r.status = in.status;
    r.error = in.error;
    if (in.status != File_Status::Ok)
        return r;
    if (in.size > limit) {
        r.status = File_Status::Too_Large;
        return r;
    }
    // Read until the end even if the file grew since fstat, but never past the limit.
    QByteArray bytes(qsizetype(in.size) + 1, Qt::Uninitialized);
    qsizetype got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (got > limit) {
                r.status = File_Status::Too_Large;
                return r;
            }
            bytes.resize(std::min<qsizetype>(qsizetype(limit) + 1, got * 2 + 4096));
        }
        const qint64 n = Read_Full(in.fd.Get(), bytes.data() + got, bytes.size() - got);
        if (n < 0) {
            r.status = File_Status::Failed;
            r.error = errno;
            return r;
        }
        got += n;
        if (got < bytes.size())
            break;
    }
    if (got > limit) {
        r.status = File_Status::Too_Large;
        return r;
    }
    bytes.truncate(got);
    r.bytes = std::move(bytes);
    return r;
}

File_Status Save_Target(const QString& path, QString* target)
{
    struct stat st {};
    if (::lstat(Bytes(path).constData(), &st) != 0) {
        if (errno != ENOENT)
            return Status_Of_Errno(errno);
        *target = path;
        return File_Status::Ok;
    }
    if (S_ISREG(st.st_mode)) {
        *target = path;
        return File_Status::Ok;
    }
    if (!S_ISLNK(st.st_mode))
        return File_Status::Not_Regular;
    char resolved[PATH_MAX];
    if (!::realpath(Bytes(path).constData(), resolved))
        return File_Status::Not_Regular;  // a dangling link or a loop
    if (::stat(resolved, &st) != 0 || !S_ISREG(st.st_mode))
        return File_Status::Not_Regular;
    *target = QFile::decodeName(resolved);
    return File_Status::Ok;
}

File_Status Write_File_Atomically(const QString& path, const QByteArray& bytes, int* error)
{
    int dummy = 0;
    int& err = error ? *error : dummy;
    QString target;
    const File_Status where = Save_Target(path, &target);
    if (where != File_Status::Ok)
        return where;
    struct stat st {};
    const bool existed = ::stat(Bytes(target).constData(), &st) == 0;
    const QString temp = Temp_Beside(target);
    Open_Result out = Create_Fresh(temp, existed ? int(st.st_mode & 07777) : 0644);
    if (out.status != File_Status::Ok) {
        err = out.error;
        return out.status;
    }
    if (existed)
        ::fchmod(out.fd.Get(), st.st_mode & 07777);  // the umask must not narrow the file's rights
    bool ok = Write_Full(out.fd.Get(), bytes.constData(), bytes.size()) && ::fsync(out.fd.Get()) == 0;
    if (!ok)
        err = errno;
    if (out.fd.Close() != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && ::rename(Bytes(temp).constData(), Bytes(target).constData()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(Bytes(temp).constData());
        return File_Status::Failed;
    }
    Sync_Folder(target);
    return File_Status::Ok;
}

namespace {

File_Status Remove_If(const QString& path, int* error, bool links)
{
    struct stat st {};
    if (::lstat(Bytes(path).constData(), &st) != 0)
        return errno == ENOENT ? File_Status::Ok : Status_Of_Errno(errno);
    if (!S_ISREG(st.st_mode) && !(links && S_ISLNK(st.st_mode)))
        return File_Status::Not_Regular;
    if (::unlink(Bytes(path).constData()) != 0 && errno != ENOENT) {
        if (error)
            *error = errno;
        return File_Status::Failed;
    }
    return File_Status::Ok;
}

}  // namespace

File_Status Remove_File(const QString& path, int* error)
{
    return Remove_If(path, error, true);
}

File_Status Remove_Regular_File(const QString& path, int* error)
{
    return Remove_If(path, error, false);
}

Open_Result Create_Fresh(const QString& path, int mode)
{
    Open_Result r;
    const File_Status stale = Remove_File(path, &r.error);
    if (stale != File_Status::Ok) {
        r.status = stale;
        return r;
    }
    // O_EXCL also refuses a link that appeared meanwhile; O_NOFOLLOW says so once more.
    r.fd = Unique_Fd(::open(Bytes(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
    if (!r.fd.Valid()) {
        r.error = errno;
        r.status = Status_Of_Errno(r.error);
        return r;
    }
    r.status = File_Status::Ok;
    return r;
}

}  // namespace pf
