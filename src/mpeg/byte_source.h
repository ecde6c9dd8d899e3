// SPDX-License-Identifier: GPL-3.0-or-later
// Where the timeline scanner's bytes come from: a regular file (File_Source, opened through the
// safe file layer and read with pread) or bytes in memory (Memory_Source, for the fuzzer).
// Every read is one bounded window into a buffer the caller owns and reuses, so memory stays
// flat whatever the file holds; Bytes_Read() tells how much was read in all.
#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <vector>

namespace pf {

class Byte_Source {
public:
    virtual ~Byte_Source() = default;
    virtual qint64 Size() const = 0;
    // Fills `out` with the bytes of [off, off + len) that exist; false on a read error.
    bool Read(qint64 off, qint64 len, std::vector<unsigned char>& out);
    qint64 Bytes_Read() const { return bytesRead_; }
    // A walk asked to stop (the file is closed) sees this set and returns early.
    void Set_Cancel(const std::atomic<bool>* cancel) { cancel_ = cancel; }
    bool Cancelled() const { return cancel_ && cancel_->load(std::memory_order_relaxed); }
    // Whether reads go mostly forward (a whole walk) or hop about (sampling); a hint only.
    virtual void Expect_Sequential(bool) {}
    // The share of the bytes that can be read at memory speed (in the page cache), 0 to 1.
    virtual double Resident() { return 1.0; }

protected:
    virtual qint64 Read_At(qint64 off, unsigned char* to, qint64 len) = 0;  // bytes read or -1

private:
    qint64 bytesRead_ = 0;
    const std::atomic<bool>* cancel_ = nullptr;
};

class Memory_Source : public Byte_Source {
public:
    explicit Memory_Source(QByteArray bytes) : bytes_(std::move(bytes)) {}
    qint64 Size() const override { return bytes_.size(); }

protected:
    qint64 Read_At(qint64 off, unsigned char* to, qint64 len) override;

private:
    QByteArray bytes_;
};

class File_Source : public Byte_Source {
public:
    explicit File_Source(const QString& path);  // Ok() tells whether it opened a regular file
    ~File_Source() override;
    File_Source(const File_Source&) = delete;
    File_Source& operator=(const File_Source&) = delete;
    bool Ok() const { return fd_ >= 0; }
    qint64 Size() const override { return size_; }
    void Expect_Sequential(bool sequential) override;
    double Resident() override;

protected:
    qint64 Read_At(qint64 off, unsigned char* to, qint64 len) override;

private:
    int fd_ = -1;
    qint64 size_ = 0;
};

}  // namespace pf
