#include "util/paths.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pf {

QString Parent_Folder(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0)
        return {};
    if (slash == 0)
        return QStringLiteral("/");
    return path.left(slash);
}

QString Add_Backslash(const QString& path)
{
    QString p = Trim_Trailing(path, u' ');
    if (!p.endsWith(u'/'))
        p += u'/';
    return p;
}

bool Folder_Exists(const QString& path)
{
    const QString p = Trim_Trailing(path, u' ');
    if (p.isEmpty())
        return false;
    return QFileInfo(Add_Backslash(p)).isDir();
}

bool File_Exists(const QString& path)
{
    QString p = path;
    if (p.endsWith(u'/'))
        p.chop(1);
    if (p.isEmpty())
        return false;
    // One open and one fstat: start-up tests every path of both groups. Non-blocking, so that
    // a FIFO of that name cannot hang the program; it is no regular file anyway.
    const int fd = ::open(QFile::encodeName(p).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    ::close(fd);
    return regular;
}

QString Extension_Of(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot < 0)
        return {};
    if (path.indexOf(u'/', dot) >= 0 || path.indexOf(u'\\', dot) >= 0)
        return {};
    return path.mid(dot + 1);
}

QString Trim_Trailing(const QString& text, QChar c)
{
    qsizetype n = text.size();
    while (n > 0 && text.at(n - 1) == c)
        --n;
    return text.left(n);
}

QString Join_Path(const QString& folder, const QString& name)
{
    if (folder.isEmpty())
        return name;
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

}  // namespace pf
