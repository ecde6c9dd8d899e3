// SPDX-License-Identifier: GPL-3.0-or-later
#include "util/paths.h"

#include "util/safe_file.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <dirent.h>
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
    // Blanks may end a folder's name on this system: the folder as named counts first.
    return QFileInfo(path + u'/').isDir() || QFileInfo(Add_Backslash(p)).isDir();
}

bool Folder_Writable(const QString& path)
{
    return Folder_Exists(path) && ::access(QFile::encodeName(Trim_Trailing(path, u' ')).constData(), W_OK | X_OK) == 0;
}

bool File_Exists(const QString& path)
{
    QString p = path;
    if (p.endsWith(u'/'))
        p.chop(1);
    if (p.isEmpty())
        return false;
    // One open and one fstat. A file another program holds (a lease) is there all the same.
    const Open_Result r = Open_Regular(p);
    return r.status == File_Status::Ok || (r.status == File_Status::Failed && r.error == EWOULDBLOCK);
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

File_Kind Kind_Of_File(const QString& path)
{
    const QString ext = Extension_Of(path).toUpper();
    if (ext == QLatin1String("MPG") || ext == QLatin1String("MPEG"))
        return File_Kind::Mpeg;
    if (ext == QLatin1String("RM") || ext == QLatin1String("RAM"))
        return File_Kind::Real_Media;
    return File_Kind::Other;
}

QStringList Files_Of_Kind_In(const QString& folder, File_Kind kind)
{
    QStringList found;
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return found;
    while (const dirent* e = ::readdir(dir)) {
        if (e->d_name[0] == '.')
            continue;
        const QString name = QFile::decodeName(e->d_name);
        if (Kind_Of_File(name) != kind)
            continue;
        struct stat st {};
        const bool regular = e->d_type == DT_REG
            || ((e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) && ::fstatat(::dirfd(dir), e->d_name, &st, 0) == 0
                && S_ISREG(st.st_mode));
        if (regular)
            found.append(Join_Path(folder, name));
    }
    ::closedir(dir);
    return found;
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
