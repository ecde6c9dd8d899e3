// SPDX-License-Identifier: GPL-3.0-or-later
// Opening, reading and replacing the files the program keeps (settings, groups, the join's
// temporary output) so that only regular files are ever read or replaced. A link is followed to
// a regular file or refused; a FIFO, device, socket or folder is refused without blocking and
// without being touched. Replacing is atomic: a temporary beside the target is created
// exclusively (never through a link), written, synced and renamed over the target.
// Plain functions; the caller owns the descriptors they hand out (Unique_Fd closes them).
#pragma once

#include <QByteArray>
#include <QString>

namespace pf {

enum class File_Status {
    Ok,
    Missing,      // nothing at the path (or a missing folder on the way)
    Not_Regular,  // a FIFO, device, socket, folder or dangling link
    Too_Large,    // larger than the caller's limit
    Failed,       // the system refused (rights, full disk, ...); errno is kept in the result
};

// Owns one file descriptor.
class Unique_Fd {
public:
    explicit Unique_Fd(int fd = -1) : fd_(fd) {}
    ~Unique_Fd();
    Unique_Fd(Unique_Fd&& other) noexcept : fd_(other.Release()) {}
    Unique_Fd& operator=(Unique_Fd&& other) noexcept;
    Unique_Fd(const Unique_Fd&) = delete;
    Unique_Fd& operator=(const Unique_Fd&) = delete;

    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    int Release();
    // Closes now and reports the result (-1 with errno), so a late write error is not lost.
    int Close();

private:
    int fd_;
};

struct Open_Result {
    File_Status status = File_Status::Failed;
    Unique_Fd fd;
    qint64 size = 0;
    int error = 0;  // errno of a Failed status
};

// Opens for reading, following links, without blocking on a FIFO; refuses anything but a
// regular file. The descriptor is back in blocking mode. A regular file that another process
// holds (a lease) fails with EWOULDBLOCK, or with `waitIfHeld` is waited for as a slow drive's
// file is (off the GUI thread only).
Open_Result Open_Regular(const QString& path, bool waitIfHeld = false);

// Reads `length` bytes, or up to the end of the file, at `offset` (or at the current position
// when it is negative), through short counts and interruptions. The bytes read, or -1 (errno).
qint64 Read_Full(int fd, void* to, qint64 length, qint64 offset = -1);

// Writes all `length` bytes through short counts and interruptions; false with errno set
// (ENOSPC when the system took nothing without saying why).
bool Write_Full(int fd, const void* from, qint64 length);

struct Read_Result {
    File_Status status = File_Status::Failed;
    QByteArray bytes;
    int error = 0;
};

// The whole content of a regular file of at most `limit` bytes.
Read_Result Read_Regular_File(const QString& path, qint64 limit);

// Where a save of `path` really goes: the path itself when nothing or a regular file is there,
// the final regular target when it is a link to one. Not_Regular for anything else.
File_Status Save_Target(const QString& path, QString* target);

// Replaces the regular file at `path` (or the regular file its link names; the link stays)
// with `bytes`, atomically, keeping the file's permissions; creates it when missing. Refuses
// anything else at the path and leaves it untouched.
File_Status Write_File_Atomically(const QString& path, const QByteArray& bytes, int* error = nullptr);

// Removes the file at `path` if it is a regular file or a link (the link, never its target).
// Missing counts as done; anything else is refused and left.
File_Status Remove_File(const QString& path, int* error = nullptr);

// Removes `path` only when it is a regular file itself; a link (and what it names), a folder or
// anything else stays. Missing counts as done.
File_Status Remove_Regular_File(const QString& path, int* error = nullptr);

// Creates `path` anew for writing: a stale regular file or link of that name is removed first,
// then the file is created exclusively, so no link can redirect the write.
Open_Result Create_Fresh(const QString& path, int mode = 0644);

}  // namespace pf
