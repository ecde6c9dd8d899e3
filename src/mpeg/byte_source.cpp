// SPDX-License-Identifier: GPL-3.0-or-later
#include "mpeg/byte_source.h"

#include "util/safe_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace pf {

bool Byte_Source::Read(qint64 off, qint64 len, std::vector<unsigned char>& out)
{
    len = off < 0 ? 0 : std::clamp<qint64>(Size() - off, 0, std::max<qint64>(len, 0));
    out.resize(size_t(len));
    qint64 done = 0;
    while (done < len) {
        const qint64 n = Read_At(off + done, out.data() + done, len - done);
        if (n <= 0) {
            out.resize(size_t(done));
            bytesRead_ += done;
            return n == 0;  // the file shrank under us: what is there is all there is
        }
        done += n;
    }
    bytesRead_ += done;
    return true;
}

qint64 Memory_Source::Read_At(qint64 off, unsigned char* to, qint64 len)
{
    std::memcpy(to, bytes_.constData() + off, size_t(len));
    return len;
}

File_Source::File_Source(const QString& path)
{
    Open_Result opened = Open_Regular(path, true);
    if (opened.status != File_Status::Ok)
        return;
    size_ = opened.size;
    fd_ = opened.fd.Release();
}

File_Source::~File_Source()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void File_Source::Expect_Sequential(bool sequential)
{
    // Sampling reads a few KiB here and there: read-ahead would multiply a cold open's reads.
    if (fd_ >= 0)
        ::posix_fadvise(fd_, 0, 0, sequential ? POSIX_FADV_SEQUENTIAL : POSIX_FADV_RANDOM);
}

double File_Source::Resident()
{
    // A mapping that is never touched costs no memory; mincore tells which pages are cached.
    constexpr qint64 Page_Bytes = 4096, Step_Bytes = 64 * 1024 * 1024;
    if (fd_ < 0 || size_ == 0)
        return 1.0;
    qint64 resident = 0;
    std::vector<unsigned char> pages;
    for (qint64 off = 0; off < size_; off += Step_Bytes) {
        const qint64 len = std::min(Step_Bytes, size_ - off);
        void* map = ::mmap(nullptr, size_t(len), PROT_READ, MAP_SHARED, fd_, off);
        if (map == MAP_FAILED)
            return 0.0;
        pages.resize(size_t((len + Page_Bytes - 1) / Page_Bytes));
        if (::mincore(map, size_t(len), pages.data()) == 0)
            for (unsigned char p : pages)
                resident += p & 1;
        ::munmap(map, size_t(len));
    }
    return double(resident * Page_Bytes) / double(size_);
}

qint64 File_Source::Read_At(qint64 off, unsigned char* to, qint64 len)
{
    return Read_Full(fd_, to, len, off);
}

}  // namespace pf
