// SPDX-License-Identifier: GPL-3.0-or-later
#include "util/presence.h"

#include "util/safe_file.h"

#include <QHash>
#include <QScopeGuard>
#include <QSet>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace pf {

namespace {

// Up to this many names of one folder are tested one by one; more, and the folder is listed.
constexpr qsizetype Listing_From = 16;
// Folders asked at the same time at most.
constexpr int Parallel_Folders = 8;

// The names looked for in one folder: each distinct name with the first place in the caller's
// list it fills, and the later places of the same path with that first place. The names refer
// to the paths' bytes (no copies).
struct Folder_Names {
    QHash<QByteArray, qsizetype> first;
    QList<std::pair<qsizetype, qsizetype>> copies;
};

// The paths without a trailing "/", and their names grouped by folder; the folders and names
// point into `encoded`, which must outlive them.
QHash<QByteArray, Folder_Names> By_Folder(QList<QByteArray>& encoded)
{
    QHash<QByteArray, Folder_Names> folders;
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        QByteArray& path = encoded[i];
        if (path.endsWith('/'))
            path.chop(1);
        const qsizetype slash = path.lastIndexOf('/');
        const QByteArray name = QByteArray::fromRawData(path.constData() + slash + 1, path.size() - slash - 1);
        if (name.isEmpty() || name == "." || name == "..")
            continue;  // no file's name: Gone
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
    return folders;
}

// Counts what a folder has answered so far, so that a slow folder is told from a silent one.
using Steps = std::atomic<qint64>;

void Step(Steps* steps)
{
    if (steps)
        steps->fetch_add(1, std::memory_order_relaxed);
}

Presence Presence_At(int dirFd, const char* name, Steps* steps)
{
    const auto counted = qScopeGuard([steps] { Step(steps); });
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
bool List_Folder(int dirFd, const Folder_Names& wanted, QList<Presence>& out, Steps* steps)
{
    const int listFd = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = listFd >= 0 ? ::fdopendir(listFd) : nullptr;
    if (!dir) {
        if (listFd >= 0)
            ::close(listFd);
        return false;
    }
    while (const dirent* e = ::readdir(dir)) {
        Step(steps);
        const auto it = wanted.first.constFind(QByteArray::fromRawData(e->d_name, qsizetype(std::strlen(e->d_name))));
        if (it == wanted.first.cend())
            continue;
        if (e->d_type == DT_REG || e->d_type == DT_DIR)
            out[*it] = e->d_type == DT_REG ? Presence::Present : Presence::Gone;
        else
            out[*it] = Presence_At(dirFd, e->d_name, steps);  // a link, or a file system without types
    }
    ::closedir(dir);
    return true;
}

// Fills the places of `names` in `out` (sized for every path, Gone where nothing is known yet).
void Check_Folder(const QByteArray& key, const Folder_Names& names, QList<Presence>& out, Steps* steps = nullptr)
{
    const QByteArray folder(key.constData(), key.size());  // ends in a NUL
    // The open is no answer: a cache may give it for a folder whose listing hangs.
    const Unique_Fd dir(::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!dir.Valid() || names.first.size() <= Listing_From || !List_Folder(dir.Get(), names, out, steps)) {
        for (auto n = names.first.cbegin(); n != names.first.cend(); ++n)
            // Missing, not a folder or out of reach: what the folder holds is not known.
            out[*n] = dir.Valid() ? Presence_At(dir.Get(), n.key().constData(), steps) : Presence::Unknown;
    }
    for (const auto& [copy, first] : names.copies)
        out[copy] = out.at(first);
}

void Mark_Unknown(const Folder_Names& names, QList<Presence>& out)
{
    for (auto n = names.first.cbegin(); n != names.first.cend(); ++n)
        out[*n] = Presence::Unknown;
    for (const auto& [copy, first] : names.copies)
        out[copy] = Presence::Unknown;
}

// Folders given up on whose check has not returned yet, across calls, with the number of such
// checks: they are not asked again meanwhile.
std::mutex hungMutex;
QHash<QByteArray, int>& Hung_Folders()
{
    static auto* hung = new QHash<QByteArray, int>;
    return *hung;
}

bool Is_Hung(const QByteArray& folder)
{
    const std::lock_guard lock(hungMutex);
    return Hung_Folders().contains(folder);
}

void Count_Hung(const QByteArray& folder, int change)
{
    const std::lock_guard lock(hungMutex);
    int& checks = Hung_Folders()[folder];
    checks += change;
    if (checks <= 0)
        Hung_Folders().remove(folder);
}

// What one call shares with the threads it starts, which may outlive it.
struct Shared_Check {
    QList<QByteArray> encoded;
    QHash<QByteArray, Folder_Names> folders;
    QHash<QByteArray, std::shared_ptr<Steps>> steps;  // filled before any thread starts
    std::mutex mutex;
    std::condition_variable answered;
    QList<QByteArray> done;    // folders whose results are in `out`
    QSet<QByteArray> givenUp;  // folders whose time ran out
    QList<Presence> out;
};

// The folder's own bytes: a key points into the call's paths, which may go first.
QByteArray Own(const QByteArray& key)
{
    return QByteArray(key.constData(), key.size());
}

void Start_Folder(const std::shared_ptr<Shared_Check>& shared, const QByteArray& key)
{
    std::thread([shared, key] {
        const Folder_Names& names = shared->folders.constFind(key).value();
        QList<Presence> mine(shared->encoded.size(), Presence::Gone);
        Check_Folder(key, names, mine, shared->steps.constFind(key)->get());
        const std::lock_guard lock(shared->mutex);
        if (shared->givenUp.contains(key))
            Count_Hung(Own(key), -1);
        for (auto n = names.first.cbegin(); n != names.first.cend(); ++n)
            shared->out[*n] = mine.at(*n);
        for (const auto& [copy, first] : names.copies)
            shared->out[copy] = mine.at(first);
        shared->done.append(key);
        shared->answered.notify_all();
    }).detach();
}

}  // namespace

QList<Presence> Presence_Of(const QList<QByteArray>& paths)
{
    QList<Presence> out(paths.size(), Presence::Gone);
    QList<QByteArray> encoded(paths);
    const QHash<QByteArray, Folder_Names> folders = By_Folder(encoded);
    for (auto f = folders.cbegin(); f != folders.cend(); ++f)
        Check_Folder(f.key(), *f, out);
    return out;
}

QList<Presence> Presence_Within(const QList<QByteArray>& paths, int boundMs)
{
    using Clock = std::chrono::steady_clock;
    struct Asked {
        Clock::time_point due;  // when its time is up, unless it answered something meanwhile
        qint64 steps = 0;
    };
    auto shared = std::make_shared<Shared_Check>();
    // Bytes of its own: the caller's may be views into a buffer that goes with the call, and a
    // check left behind reads them later.
    shared->encoded.reserve(paths.size());
    for (const QByteArray& path : paths)
        shared->encoded.append(QByteArray(path.constData(), path.size()));
    shared->folders = By_Folder(shared->encoded);
    shared->out = QList<Presence>(paths.size(), Presence::Gone);
    QList<QByteArray> waiting = shared->folders.keys();
    for (const QByteArray& key : std::as_const(waiting))
        shared->steps.insert(key, std::make_shared<Steps>(0));
    const auto bound = std::chrono::milliseconds(boundMs);
    QHash<QByteArray, Asked> asked;
    std::unique_lock lock(shared->mutex);
    while (!waiting.isEmpty() || !asked.isEmpty()) {
        while (!waiting.isEmpty() && asked.size() < Parallel_Folders) {
            const QByteArray key = waiting.takeLast();
            if (Is_Hung(Own(key))) {
                Mark_Unknown(shared->folders.constFind(key).value(), shared->out);
                continue;
            }
            asked.insert(key, {Clock::now() + bound, 0});
            Start_Folder(shared, key);
        }
        if (asked.isEmpty())
            break;
        Clock::time_point first = asked.cbegin()->due;
        for (const Asked& a : std::as_const(asked))
            first = std::min(first, a.due);
        shared->answered.wait_until(lock, first, [&] { return !shared->done.isEmpty(); });
        for (const QByteArray& key : std::as_const(shared->done))
            asked.remove(key);
        shared->done.clear();
        for (auto a = asked.begin(); a != asked.end();) {
            const qint64 steps = shared->steps.constFind(a.key()).value()->load(std::memory_order_relaxed);
            if (a->due > Clock::now() || steps != a->steps) {
                if (a->due <= Clock::now())
                    *a = {Clock::now() + bound, steps};  // slow, but answering
                ++a;
                continue;
            }
            // Silent for the whole bound: not known now; its thread is left behind.
            Mark_Unknown(shared->folders.constFind(a.key()).value(), shared->out);
            shared->givenUp.insert(a.key());
            Count_Hung(Own(a.key()), +1);
            a = asked.erase(a);
        }
    }
    // A copy of its own: a thread left behind may still write into the shared one.
    QList<Presence> result = shared->out;
    result.detach();
    return result;
}

}  // namespace pf
