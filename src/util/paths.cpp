#include "util/paths.h"

#include "util/safe_file.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <string_view>
#include <unordered_map>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pf {

namespace {

// Up to this many names of one folder are tested one by one; more, and the folder is listed.
constexpr qsizetype Listing_From = 16;

// The names looked for in one folder, each with the places in the caller's list it fills.
using Wanted = std::unordered_map<std::string_view, QList<qsizetype>>;

Presence Presence_At(int dirFd, const char* name)
{
    struct stat st {};
    if (::fstatat(dirFd, name, &st, 0) == 0)
        return S_ISDIR(st.st_mode) ? Presence::Gone : Presence::Present;
    if (errno != ENOENT)
        return Presence::Unknown;
    // A link whose target is missing may point onto a drive that is away.
    return ::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) == 0 ? Presence::Unknown : Presence::Gone;
}

// Each wanted name's presence from one listing of the folder; false when the folder cannot be
// listed (then each name is tested on its own).
bool List_Folder(int dirFd, const Wanted& wanted, QList<Presence>& out)
{
    const int listFd = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = listFd >= 0 ? ::fdopendir(listFd) : nullptr;
    if (!dir) {
        if (listFd >= 0)
            ::close(listFd);
        return false;
    }
    std::unordered_map<std::string_view, unsigned char> seen;
    while (const dirent* e = ::readdir(dir))
        if (const auto it = wanted.find(std::string_view(e->d_name)); it != wanted.end())
            seen.emplace(it->first, e->d_type);
    ::closedir(dir);
    for (const auto& [name, places] : wanted) {
        const auto type = seen.find(name);
        Presence p = Presence::Gone;
        if (type != seen.end() && type->second == DT_REG)
            p = Presence::Present;
        else if (type != seen.end() && type->second != DT_DIR)
            p = Presence_At(dirFd, std::string(name).c_str());  // a link, or a file system without types
        for (const qsizetype i : places)
            out[i] = p;
    }
    return true;
}

}  // namespace

QList<Presence> Presence_Of(const QStringList& paths)
{
    QList<Presence> out(paths.size(), Presence::Gone);
    // Folder and name as the system spells them; the names' bytes live in `names`.
    QList<QByteArray> names(paths.size());
    QHash<QByteArray, Wanted> folders;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        QByteArray path = QFile::encodeName(paths.at(i));
        if (path.endsWith('/'))
            path.chop(1);
        const qsizetype slash = path.lastIndexOf('/');
        names[i] = path.mid(slash + 1);
        if (names[i].isEmpty() || names[i] == "." || names[i] == "..")
            continue;  // no file's name
        const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
        folders[folder][std::string_view(names[i].constData(), size_t(names[i].size()))].append(i);
    }
    for (auto f = folders.cbegin(); f != folders.cend(); ++f) {
        const Unique_Fd dir(::open(f.key().constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        qsizetype count = 0;
        for (const auto& entry : f.value())
            count += entry.second.size();
        if (dir.valid() && count > Listing_From && List_Folder(dir.get(), f.value(), out))
            continue;
        for (const auto& [name, places] : f.value())
            for (const qsizetype i : places)
                // Missing, not a folder or out of reach: what the folder holds is not known.
                out[i] = dir.valid() ? Presence_At(dir.get(), names.at(i).constData()) : Presence::Unknown;
    }
    return out;
}

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
