// SPDX-License-Identifier: GPL-3.0-or-later
#include "util/paths.h"

#include "util/safe_file.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <cerrno>
#include <cstring>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pf {

namespace {

// Up to this many names of one folder are tested one by one; more, and the folder is listed.
constexpr qsizetype Listing_From = 16;

// The names looked for in one folder: each distinct name with the first place in the caller's
// list it fills, and the later places of the same path with that first place. The names refer
// to the caller's bytes (no copies).
struct Folder_Names {
    QHash<QByteArray, qsizetype> first;
    QList<std::pair<qsizetype, qsizetype>> copies;
};

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

// Each wanted name's presence from one listing of the folder (names not in it stay Gone); false
// when the folder cannot be listed.
bool List_Folder(int dirFd, const Folder_Names& wanted, QList<Presence>& out)
{
    const int listFd = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = listFd >= 0 ? ::fdopendir(listFd) : nullptr;
    if (!dir) {
        if (listFd >= 0)
            ::close(listFd);
        return false;
    }
    while (const dirent* e = ::readdir(dir)) {
        const auto it = wanted.first.constFind(QByteArray::fromRawData(e->d_name, qsizetype(std::strlen(e->d_name))));
        if (it == wanted.first.cend())
            continue;
        if (e->d_type == DT_REG || e->d_type == DT_DIR)
            out[*it] = e->d_type == DT_REG ? Presence::Present : Presence::Gone;
        else
            out[*it] = Presence_At(dirFd, e->d_name);  // a link, or a file system without types
    }
    ::closedir(dir);
    return true;
}

}  // namespace

QList<Presence> Presence_Of(const QList<QByteArray>& paths)
{
    QList<Presence> out(paths.size(), Presence::Gone);
    // Folders and names below point into these bytes.
    QList<QByteArray> encoded(paths);
    QHash<QByteArray, Folder_Names> folders;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        QByteArray& path = encoded[i];
        if (path.endsWith('/'))
            path.chop(1);
        const qsizetype slash = path.lastIndexOf('/');
        const QByteArray name = QByteArray::fromRawData(path.constData() + slash + 1, path.size() - slash - 1);
        if (name.isEmpty() || name == "." || name == "..")
            continue;  // no file's name
        const QByteArray folder = slash < 0 ? QByteArray(".")
            : slash == 0                    ? QByteArray("/")
                                            : QByteArray::fromRawData(path.constData(), slash);
        Folder_Names& names = folders[folder];
        const auto known = names.first.constFind(name);
        if (known == names.first.cend())
            names.first.insert(name, i);
        else
            names.copies.append({i, *known});
    }
    for (auto f = folders.cbegin(); f != folders.cend(); ++f) {
        const QByteArray folder(f.key().constData(), f.key().size());  // ends in a NUL
        const Unique_Fd dir(::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        if (!dir.valid() || f->first.size() <= Listing_From || !List_Folder(dir.get(), *f, out)) {
            for (auto n = f->first.cbegin(); n != f->first.cend(); ++n)
                // Missing, not a folder or out of reach: what the folder holds is not known.
                out[*n] = dir.valid() ? Presence_At(dir.get(), n.key().constData()) : Presence::Unknown;
        }
        for (const auto& [copy, first] : f->copies)
            out[copy] = out.at(first);
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
