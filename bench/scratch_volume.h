// SPDX-License-Identifier: GPL-3.0-or-later
// A file system of its own for the measuring programs, so that files can live on another
// volume than the root file system: an image file made with mkfs.ext4 or mkfs.xfs and
// loop-mounted. It needs root and the file system's mkfs; Why_Not tells when either is
// missing. The owner unmounts the volume and removes its image when it goes, also after a
// failed step; Clean_Up_On_Ending_Signal has a signal that ends the program do the same. One
// volume at a time.
#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>

#include <csignal>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pf::bench {

// What a signal handler needs to undo the live volume and remove the scratch folder, kept
// where it can read it safely.
inline char Live_Mount[1024];
inline char Live_Image[1024];
inline char Live_Folder[1024];

// Async-signal-safe: fork, execvp and waitpid.
inline void Run_And_Wait(const char* const* argv)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execvp(argv[0], const_cast<char* const*>(argv));
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
}

inline void Undo_Live_Volume()
{
    if (Live_Mount[0] != 0) {
        const char* const argv[] = {"umount", "-l", Live_Mount, nullptr};
        Run_And_Wait(argv);
        Live_Mount[0] = 0;
    }
    if (Live_Image[0] != 0)
        ::unlink(Live_Image);
    Live_Image[0] = 0;
}

extern "C" inline void On_Ending_Signal(int sig)
{
    Undo_Live_Volume();
    if (Live_Folder[0] != 0) {
        // Never into a volume still mounted below it.
        const char* const argv[] = {"rm", "-rf", "--one-file-system", Live_Folder, nullptr};
        Run_And_Wait(argv);
    }
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

// A SIGINT, SIGTERM or SIGHUP that ends the program unmounts the live volume, removes its image
// and then `folder` (the measurement's scratch folder; none when empty).
inline void Clean_Up_On_Ending_Signal(const QString& folder)
{
    std::snprintf(Live_Folder, sizeof Live_Folder, "%s", QFile::encodeName(folder).constData());
    for (int sig : {SIGINT, SIGTERM, SIGHUP})
        std::signal(sig, On_Ending_Signal);
}

// Drops the page cache of every file system, after writing back what is dirty (root only).
inline bool Drop_All_Caches()
{
    // Twice: a loop-mounted volume's first sync dirties its image on the file system below.
    ::sync();
    ::sync();
    QFile f(QStringLiteral("/proc/sys/vm/drop_caches"));
    return f.open(QIODevice::WriteOnly) && f.write("3\n") == 2;
}

class Scratch_Volume {
public:
    // Why a volume of `type` ("ext4", "xfs") cannot be made here; empty when it can.
    static QString Why_Not(const QString& type)
    {
        if (::geteuid() != 0)
            return QStringLiteral("not root (loop mounts and dropping the caches need it)");
        if (QStandardPaths::findExecutable("mkfs." + type, {"/usr/sbin", "/sbin", "/usr/bin"}).isEmpty())
            return QStringLiteral("mkfs.%1 is missing (Debian: %2)")
                .arg(type, type == "xfs" ? "xfsprogs" : "e2fsprogs");
        return {};
    }

    // Makes an image of `bytes` at `image` and mounts it at `mountPoint`; see Mounted().
    Scratch_Volume(const QString& image, const QString& mountPoint, const QString& type, qint64 bytes)
        : image_(image), mountPoint_(mountPoint)
    {
        std::snprintf(Live_Image, sizeof Live_Image, "%s", QFile::encodeName(image).constData());
        // Allocated, not sparse: the volume's first writes would allocate in the file system
        // below, and the first run after making a row's files was twice as slow as the others.
        QFile f(image);
        if (!f.open(QIODevice::WriteOnly) || ::posix_fallocate(f.handle(), 0, bytes) != 0)
            return;
        f.close();
        // ext4 initialises its inode tables now rather than from a kernel thread while we measure;
        // XFS shares blocks on copy (reflink) only where the file system was made for it.
        const QStringList mkfs = type == "ext4"
            ? QStringList{"-q", "-F", "-E", "lazy_itable_init=0,lazy_journal_init=0", image}
            : QStringList{"-q", "-f", "-m", "reflink=1", image};
        if (QProcess::execute("mkfs." + type, mkfs) != 0 || !QDir().mkpath(mountPoint))
            return;
        if (QProcess::execute("mount", {"-t", type, "-o", "loop", image, mountPoint}) != 0)
            return;
        std::snprintf(Live_Mount, sizeof Live_Mount, "%s", QFile::encodeName(mountPoint).constData());
        mounted_ = true;
    }

    ~Scratch_Volume()
    {
        if (mounted_ && QProcess::execute("umount", {mountPoint_}) == 0)
            Live_Mount[0] = 0;
        // Still mounted (busy): detached lazily, so that the image goes all the same.
        Undo_Live_Volume();
        QDir().rmdir(mountPoint_);
    }

    Scratch_Volume(const Scratch_Volume&) = delete;
    Scratch_Volume& operator=(const Scratch_Volume&) = delete;

    bool Mounted() const { return mounted_; }
    const QString& Path() const { return mountPoint_; }

private:
    QString image_;
    QString mountPoint_;
    bool mounted_ = false;
};

}  // namespace pf::bench
