// SPDX-License-Identifier: GPL-3.0-or-later
#include "join/file_move.h"

#include "join/file_copy.h"
#include "util/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pf {

namespace {

QByteArray Bytes(const QString& path)
{
    return QFile::encodeName(path);
}

QString Clean_Absolute(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// 0 or the errno. Never replaces `to`: renameat2 refuses an existing name, and on file systems
// without that flag a hard link refuses it just the same.
int Rename_No_Replace(const QByteArray& from, const QByteArray& to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    const int e = errno;
    if (e != EINVAL && e != ENOSYS && e != EOPNOTSUPP)
        return e;
    if (::link(from.constData(), to.constData()) != 0)
        return errno;
    ::unlink(from.constData());
    return 0;
}

int Rename(const QByteArray& from, const QByteArray& to, Move_Mode mode)
{
    if (mode == Move_Mode::Keep_Existing)
        return Rename_No_Replace(from, to);
    return ::rename(from.constData(), to.constData()) == 0 ? 0 : errno;
}

Move_Outcome Result_Of(int error)
{
    if (error == 0)
        return {Move_Result::Moved, 0};
    return {error == EEXIST ? Move_Result::Target_Exists : Move_Result::Failed, error};
}

// Across file systems: a complete copy under a hidden name beside the target, then one rename.
Move_Outcome Copy_Beside(const QString& from, const QString& to, Move_Mode mode, Copy_Progress* progress)
{
    // The source must be removable afterwards, or the move would end as a copy.
    if (::access(Bytes(Parent_Folder(Clean_Absolute(from))).constData(), W_OK) != 0)
        return {Move_Result::Failed, errno};
    struct stat src {};
    if (::stat(Bytes(from).constData(), &src) != 0)
        return {Move_Result::Failed, errno};

    QByteArray temp = Bytes(Join_Path(Parent_Folder(Clean_Absolute(to)), QStringLiteral(".parlo_move_XXXXXX")));
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return {Move_Result::Failed, errno};
    ::close(fd);
    const QString tempPath = QFile::decodeName(temp);
    const Copy_Outcome copied = Concatenate({from}, tempPath, progress);
    if (!copied.Ok()) {
        const int e = copied.status == Copy_Status::Cancelled ? ECANCELED : copied.error;
        return {Move_Result::Failed, e != 0 ? e : EINVAL};  // a refusal has no errno of its own
    }
    ::chmod(temp.constData(), src.st_mode & 07777);
    const int e = Rename(temp, Bytes(to), mode);
    if (e != 0) {
        ::unlink(temp.constData());
        return Result_Of(e);
    }
    ::unlink(Bytes(from).constData());
    return {Move_Result::Moved, 0};
}

}  // namespace

bool Same_File(const QString& a, const QString& b)
{
    struct stat sa {};
    struct stat sb {};
    return ::stat(Bytes(a).constData(), &sa) == 0 && ::stat(Bytes(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev
        && sa.st_ino == sb.st_ino;
}

Move_Outcome Move_File(const QString& from, const QString& to, Move_Mode mode, Copy_Progress* progress)
{
    struct stat st {};
    if (::lstat(Bytes(from).constData(), &st) != 0)
        return {Move_Result::Failed, errno};
    if (Clean_Absolute(from) == Clean_Absolute(to))
        return {Move_Result::Same_File, 0};
    const int e = Rename(Bytes(from), Bytes(to), mode);
    if (e == EXDEV)
        return Copy_Beside(from, to, mode, progress);
    return Result_Of(e);
}

}  // namespace pf
