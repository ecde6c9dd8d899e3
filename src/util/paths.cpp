#include "util/paths.h"

#include "util/safe_file.h"

#include <QFileInfo>

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

bool File_Exists(const QString& path)
{
    QString p = path;
    if (p.endsWith(u'/'))
        p.chop(1);
    if (p.isEmpty())
        return false;
    // One open and one fstat: start-up tests every path of both groups.
    return Open_Regular(p).status == File_Status::Ok;
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
