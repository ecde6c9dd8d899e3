// SPDX-License-Identifier: GPL-3.0-or-later
// Walks the units of an MPEG program or transport stream in a byte range and reports what the
// timeline needs to a Walk_Sink: clock marks (pack SCR with the mux rate; PCR of the program's
// PCR PID), presentation stamps, the payload of the video stream, and where each well-formed
// unit ends. Program streams are walked unit by unit through their length fields, so payload
// is skipped, never searched, unless the chain breaks (damage, garbage, a gap of zeros); then
// the walker finds the next system start code at memory speed. Transport packets are walked by
// their sync bytes, PAT and PMT give the PIDs. Reads go through one caller-owned buffer in
// windows of at most Walk_Window bytes, or the caller hands bytes in pieces as they come
// (Walk_Bytes). A walker keeps what it learnt (PIDs) between walks.
#pragma once

#include "mpeg/byte_source.h"
#include "mpeg/mpeg_syntax.h"

#include <vector>

namespace pf {

enum class Stream_Kind { None, Program, Transport, Elementary };

// Small enough that the copy out of the page cache and the walk over it stay in the processor's
// cache (a whole walk of a cached file takes about 40 % less time than in 1 MiB windows), large
// enough for the longest unit.
constexpr qint64 Walk_Window = 128 * 1024;

struct Stream_Format {
    Stream_Kind kind = Stream_Kind::None;
    int packet = 188;  // transport: bytes per packet slot (188, 192 or 204)
    int prefix = 0;    // transport: bytes before the sync byte in a slot (4 in 192-byte M2TS)
};

// What the first Detect_Bytes of the source say it is.
constexpr qint64 Detect_Bytes = 64 * 1024;
Stream_Format Detect_Format(Byte_Source& source);

struct Clock_Mark {
    qint64 off = 0;         // start of the unit that carries the clock
    qint64 partStart = 0;   // where a part beginning with this clock begins (before a TS's tables)
    double clock = 0;       // seconds
    double rate = 0;        // bytes per second the stream arrives at, at most; 0 when unknown
    bool afterEnd = false;  // a program end code came since the previous mark
};

struct Stamp_Event {
    qint64 off = 0;
    double time = 0;
    bool video = false;
};

class Walk_Sink {
public:
    virtual ~Walk_Sink() = default;
    virtual void Mark(const Clock_Mark&) {}
    virtual void Stamp(const Stamp_Event&) {}
    virtual bool Wants_Video() const { return false; }
    virtual void Video(mpeg::Bytes, qint64) {}
    virtual void Unit_End(qint64) {}
    virtual bool Done() const { return false; }
    // Every well-formed unit with its bytes: a pack header, a PES packet (or system header, or
    // padding), a transport packet from its sync byte; told before its marks and stamps.
    virtual void Unit(mpeg::Bytes, qint64 /*size*/, qint64 /*off*/) {}
};

class Stream_Walker {
public:
    explicit Stream_Walker(const Stream_Format& format) : format_(format) {}
    // Walks the units that start in [from, to). False on a read error or when cancelled.
    bool Walk(Byte_Source& source, qint64 from, qint64 to, Walk_Sink& sink, std::vector<unsigned char>& buf);
    // Walks the units that start in b[0, n) before `to`, b[0] being stream offset `base`; returns
    // how many bytes it is done with: the rest comes again with the bytes after it, or is the
    // end of the stream when `atEof`.
    qint64 Walk_Bytes(mpeg::Bytes b, qint64 n, qint64 base, qint64 to, bool atEof, Walk_Sink& sink);

private:
    qint64 Walk_Program(mpeg::Bytes b, qint64 n, qint64 base, qint64 to, bool atEof, Walk_Sink& sink);
    qint64 Walk_Transport(mpeg::Bytes b, qint64 n, qint64 base, qint64 to, bool atEof, Walk_Sink& sink);
    void Packet(const mpeg::Ts_Packet& t, mpeg::Bytes p, qint64 off, Walk_Sink& sink);
    void Read_Pat(mpeg::Bytes p, qint64 n);
    void Read_Pmt(mpeg::Bytes p, qint64 n);

    Stream_Format format_;
    bool sawEnd_ = false;  // program: an end code since the last pack
    int pmtPid_ = -1, pcrPid_ = -1, videoPid_ = -1;
    qint64 runStart_ = -1;  // transport: first packet of the current run of tables
};

}  // namespace pf
