// SPDX-License-Identifier: GPL-3.0-or-later
// A drive that is slow or stops answering, for the measuring programs: bench/slow_drive.py, a
// FUSE pass-through, mounted from a backing folder. This object starts the process, rewrites its
// rules between measurements and creates or removes the hold file that holds the calls the rules
// name. It needs root, /dev/fuse and python3-fusepy for /usr/bin/python3 (Unavailable says what
// is missing). Stop, also run by the destructor, releases every hold first: a thread blocked in
// a FUSE call cannot be killed, so a failed run must still let it return and unmount.
#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QThread>

#include <csignal>
#include <cstdio>

#include <dirent.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pf::bench {

// What the handler of a fatal signal releases and unmounts: set once the drive is started.
inline char heldFile[1024];
inline char mountPoint[1024];

// A crash or a kill must not leave the drive held and mounted: the handler does both with calls
// safe in a signal handler, then the signal ends the program as it would have.
inline void Release_On_Signal(int sig)
{
    ::unlink(heldFile);
    if (const pid_t child = ::fork(); child == 0) {
        ::execl("/bin/umount", "umount", "-l", mountPoint, static_cast<char*>(nullptr));
        ::_exit(127);
    } else if (child > 0) {
        ::waitpid(child, nullptr, 0);
    }
    ::raise(sig);  // with the default action now (SA_RESETHAND), once the handler returns
}

class Slow_Drive {
public:
    // Under `folder`: backing/ holds the files, mount/ shows them slowly.
    explicit Slow_Drive(const QString& folder) : folder_(folder) {}
    ~Slow_Drive() { Stop(); }
    Slow_Drive(const Slow_Drive&) = delete;
    Slow_Drive& operator=(const Slow_Drive&) = delete;

    // Why the drive cannot run here; empty when it can.
    static QString Unavailable()
    {
        if (::geteuid() != 0)
            return QStringLiteral("not run as root (FUSE mounts)");
        if (!QFileInfo::exists(QStringLiteral("/dev/fuse")))
            return QStringLiteral("no /dev/fuse");
        if (!QFileInfo::exists(Script()))
            return Script() + QStringLiteral(" is missing");
        if (QProcess::execute(QStringLiteral("/usr/bin/python3"), {"-c", "import fusepy"}) != 0)
            return QStringLiteral("python3-fusepy is not importable by /usr/bin/python3 (apt install python3-fusepy)");
        return {};
    }

    QString Backing() const { return folder_ + QStringLiteral("/backing"); }
    QString Mount() const { return folder_ + QStringLiteral("/mount"); }
    // The name on the slow drive of a file under Backing().
    QString Slow(const QString& backingPath) const { return Mount() + backingPath.mid(Backing().size()); }

    // Mounts the drive; false when it is not mounted within 10 s.
    bool Start()
    {
        QDir().mkpath(Backing());
        QDir().mkpath(Mount());
        Set_Rules({});
        process_.setProcessChannelMode(QProcess::ForwardedChannels);
        process_.start(QStringLiteral("/usr/bin/python3"), {Script(), Backing(), Mount(), Rules_File(), Hold_File()});
        QElapsedTimer waited;
        waited.start();
        while (!Mounted() && waited.elapsed() < 10'000 && process_.state() != QProcess::NotRunning)
            QThread::msleep(20);
        started_ = true;
        qstrncpy(heldFile, QFile::encodeName(Hold_File()).constData(), sizeof heldFile);
        qstrncpy(mountPoint, QFile::encodeName(Mount()).constData(), sizeof mountPoint);
        struct sigaction action {};
        action.sa_handler = Release_On_Signal;
        action.sa_flags = SA_RESETHAND;
        for (const int sig : {SIGSEGV, SIGBUS, SIGABRT, SIGFPE, SIGILL, SIGINT, SIGTERM, SIGHUP})
            ::sigaction(sig, &action, nullptr);
        return Mounted();
    }

    // Rule lines as slow_drive.py reads them, at its next call.
    void Set_Rules(const QString& rules)
    {
        QFile f(Rules_File());
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(rules.toUtf8());
    }

    // While held, the calls the `hold` rules name wait.
    void Hold(bool held)
    {
        if (held)
            QFile(Hold_File()).open(QIODevice::WriteOnly);
        else
            QFile::remove(Hold_File());
    }

    // Whether a file of this process is open on the drive (a call left behind has not returned).
    // Reads /proc/self/fd without following a link.
    bool In_Use() const
    {
        const QByteArray mount = QFile::encodeName(Mount()) + '/';
        DIR* fds = ::opendir("/proc/self/fd");
        if (!fds)
            return false;
        bool open = false;
        while (const dirent* e = ::readdir(fds)) {
            char target[4096];
            const QByteArray link = QByteArray("/proc/self/fd/") + e->d_name;
            const ssize_t n = ::readlink(link.constData(), target, sizeof target);
            open = open || (n > 0 && QByteArray(target, n).startsWith(mount));
        }
        ::closedir(fds);
        return open;
    }

    // Waits until it is not; false after `timeoutMs`.
    bool Unused(int timeoutMs) const
    {
        QElapsedTimer waited;
        waited.start();
        while (In_Use()) {
            if (waited.elapsed() >= timeoutMs)
                return false;
            QThread::msleep(20);
        }
        return true;
    }

    // Releases every hold, waits up to a minute for the calls left behind to return so that the
    // drive can be unmounted (then unmounts it lazily), and ends the process.
    void Stop()
    {
        if (!started_)
            return;
        started_ = false;
        Hold(false);
        Set_Rules({});
        QElapsedTimer waited;
        waited.start();
        while (Mounted() && QProcess::execute(QStringLiteral("umount"), {Mount()}) != 0 && waited.elapsed() < 60'000)
            QThread::msleep(200);
        if (Mounted()) {
            std::fprintf(stderr, "slow drive still busy after 60 s: unmounted lazily\n");
            QProcess::execute(QStringLiteral("umount"), {"-l", Mount()});
        }
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(1000);
        }
    }

private:
    static QString Script() { return QStringLiteral(PF_BENCH_SOURCE_DIR "/slow_drive.py"); }
    QString Rules_File() const { return folder_ + QStringLiteral("/rules"); }
    QString Hold_File() const { return folder_ + QStringLiteral("/hold"); }

    // From the mount table, not by a stat: that would wait on a held drive, or fail on a dead one.
    bool Mounted() const
    {
        QFile mounts(QStringLiteral("/proc/self/mounts"));
        if (!mounts.open(QIODevice::ReadOnly))
            return false;
        const QByteArray entry = ' ' + QFile::encodeName(Mount()) + ' ';
        return mounts.readAll().contains(entry);
    }

    QString folder_;
    QProcess process_;
    bool started_ = false;
};

}  // namespace pf::bench
