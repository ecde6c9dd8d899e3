#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# A drive that is slow or stops answering, for bench/stall: a FUSE pass-through of BACKING at
# MOUNT (as root, with Debian's python3-fusepy). RULES is read at every call, one rule a line:
#   delay SECONDS SUBSTRING   every read of a path holding SUBSTRING takes that long more
#   hold OP SUBSTRING         an OP (read, open, getattr, readdir) of such a path waits while the
#                             file HOLD exists (at most 300 s), as a sleeping share does
# Usage: slow_drive.py BACKING MOUNT RULES HOLD   (fusermount -u MOUNT, or umount, ends it)
import errno
import os
import sys
import time

from fusepy import FUSE, FuseOSError, Operations

backing, mount, rules_file, hold_file = sys.argv[1:5]


def rules():
    try:
        with open(rules_file) as f:
            return [line.split() for line in f if line.split()]
    except OSError:
        return []


def slow_down(op, path):
    for rule in rules():
        if rule[0] == 'delay' and op == 'read' and len(rule) == 3 and rule[2] in path:
            time.sleep(float(rule[1]))
        elif rule[0] == 'hold' and len(rule) == 3 and rule[1] == op and rule[2] in path:
            start = time.monotonic()
            while os.path.exists(hold_file) and time.monotonic() - start < 300:
                time.sleep(0.02)


def passing(call):
    try:
        return call()
    except OSError as e:
        raise FuseOSError(e.errno or errno.EIO)


class Slow_Drive(Operations):
    def real(self, path):
        return backing + path

    def getattr(self, path, fh=None):
        slow_down('getattr', path)
        st = passing(lambda: os.lstat(self.real(path)))
        return {k: getattr(st, k) for k in ('st_atime', 'st_ctime', 'st_gid', 'st_mode', 'st_mtime',
                                              'st_nlink', 'st_size', 'st_uid')}

    def readdir(self, path, fh):
        slow_down('readdir', path)
        return ['.', '..'] + passing(lambda: os.listdir(self.real(path)))

    def open(self, path, flags):
        slow_down('open', path)
        return passing(lambda: os.open(self.real(path), flags))

    def create(self, path, mode, fi=None):
        return passing(lambda: os.open(self.real(path), os.O_RDWR | os.O_CREAT | os.O_EXCL, mode))

    def read(self, path, size, offset, fh):
        slow_down('read', path)
        return passing(lambda: os.pread(fh, size, offset))

    def write(self, path, data, offset, fh):
        return passing(lambda: os.pwrite(fh, data, offset))

    def truncate(self, path, length, fh=None):
        passing(lambda: os.truncate(self.real(path), length))

    def release(self, path, fh):
        os.close(fh)

    def flush(self, path, fh):
        return 0

    def fsync(self, path, datasync, fh):
        passing(lambda: os.fsync(fh))

    def unlink(self, path):
        passing(lambda: os.unlink(self.real(path)))

    def rename(self, old, new):
        passing(lambda: os.rename(self.real(old), self.real(new)))

    def mkdir(self, path, mode):
        passing(lambda: os.mkdir(self.real(path), mode))

    def rmdir(self, path):
        passing(lambda: os.rmdir(self.real(path)))

    def chmod(self, path, mode):
        passing(lambda: os.chmod(self.real(path), mode))

    def utimens(self, path, times=None):
        passing(lambda: os.utime(self.real(path), times))


if __name__ == '__main__':
    # The kernel keeps a looked-up name for entry_timeout seconds without asking again; bench/stall
    # counts on one second.
    FUSE(Slow_Drive(), mount, foreground=True, nothreads=False, allow_other=True, entry_timeout=1, attr_timeout=1)
