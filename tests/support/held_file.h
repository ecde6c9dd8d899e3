// SPDX-License-Identifier: GPL-3.0-or-later
// A file that the test holds with a write lease: every other open of it waits until the lease
// is let go, as an open on a drive that does not answer waits (the program waits where it may:
// off the GUI thread).
#pragma once

#include <QFile>
#include <QString>

#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace pf::test {

struct Held_File {
    explicit Held_File(const QString& path) : fd(::open(QFile::encodeName(path).constData(), O_RDWR))
    {
        std::signal(SIGIO, SIG_IGN);  // what the kernel sends the holder when an open waits
        held = fd >= 0 && ::fcntl(fd, F_SETLEASE, F_WRLCK) == 0;
    }
    ~Held_File()
    {
        ::fcntl(fd, F_SETLEASE, F_UNLCK);
        ::close(fd);
    }
    Held_File(const Held_File&) = delete;
    Held_File& operator=(const Held_File&) = delete;
    int fd;
    bool held = false;
};

}  // namespace pf::test
