// SPDX-License-Identifier: GPL-3.0-or-later
// What the join's measurements share: running a child process (with its output to a file and
// its peak memory), syncing a file, `cat` as the peer every join is measured against, and the
// median of a set of timings.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace pf::bench {

inline bool Sync_File(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    const bool ok = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    return ok;
}

// Runs `argv` with stdout to `out` (when given) and waits; false when it failed.
inline bool Run_Child(const std::vector<QByteArray>& argv, const QString& out, long* maxRssKiB = nullptr)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (!out.isEmpty()) {
            const int fd = ::open(QFile::encodeName(out).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(fd, 1);
        }
        std::vector<char*> args;
        for (const QByteArray& a : argv)
            args.push_back(const_cast<char*>(a.constData()));
        args.push_back(nullptr);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    int status = 0;
    struct rusage usage {};
    ::wait4(pid, &status, 0, &usage);
    if (maxRssKiB)
        *maxRssKiB = usage.ru_maxrss;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// `cat inputs > out`, synced as the join syncs its output.
inline bool Cat(const QStringList& inputs, const QString& out)
{
    std::vector<QByteArray> argv{"cat"};
    for (const QString& p : inputs)
        argv.push_back(QFile::encodeName(p));
    return Run_Child(argv, out) && Sync_File(out);
}

inline double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace pf::bench
