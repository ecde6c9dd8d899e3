// SPDX-License-Identifier: GPL-3.0-or-later
// The pieces of MPEG-1/2 system and video syntax that the timeline scanner reads: start codes,
// pack headers (SCR, mux rate), PES headers (PTS/DTS), transport packets (PID, PCR, payload)
// and video headers, plus Picture_Counter, which counts the pictures of a video elementary
// stream fed to it in pieces of any size. Plain functions over byte ranges; every parser checks
// the room it has and the marker bits, so damaged bytes give "not one" rather than nonsense.
// The Shift_ functions move a clock field in place by a number of ticks, modulo 2^33, and
// change no other bit.
#pragma once

#include <QtGlobal>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace pf::mpeg {

using Bytes = const unsigned char*;

constexpr double Ticks_Per_Second = 90000.0;  // system clock ticks per second (33-bit part)
constexpr double Tick_Seconds = 1.0 / Ticks_Per_Second;
constexpr qint64 Clock_Wrap = qint64(1) << 33;  // the 33-bit clocks count modulo this

// Offset of the first 00 00 01 prefix in p[from, n) whose code byte is also there; -1 if none.
// Sixteen places are tested at once, so runs of zeros and plain data pass at memory speed.
inline qint64 Find_Start_Code(Bytes p, qint64 from, qint64 n)
{
    qint64 i = std::max<qint64>(from, 0);
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128(), one = _mm_set1_epi8(1);
    for (; i + 18 < n; i += 16) {
        const auto at = [&](qint64 k) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + k)); };
        const __m128i hit = _mm_and_si128(_mm_and_si128(_mm_cmpeq_epi8(at(i), zero), _mm_cmpeq_epi8(at(i + 1), zero)),
                                          _mm_cmpeq_epi8(at(i + 2), one));
        if (const int mask = _mm_movemask_epi8(hit))
            return i + __builtin_ctz(unsigned(mask));
    }
#endif
    for (; i + 3 < n; ++i)
        if (p[i] == 0 && p[i + 1] == 0 && p[i + 2] == 1)
            return i;
    return -1;
}

// The 33-bit stamp of a PTS/DTS field (5 bytes with marker bits), if its markers hold.
std::optional<qint64> Stamp_Ticks(Bytes p);
std::optional<double> Stamp(Bytes p);
// Moves the stamp of a PTS/DTS field (or an MPEG-1 pack's SCR, which has the same form).
void Shift_Stamp(unsigned char* p, qint64 ticks);

struct Pack_Header {
    double scr = 0;      // seconds
    double muxRate = 0;  // bytes per second
    qint64 length = 0;   // bytes of the header with its stuffing
};
// The pack header at p (which starts with 00 00 01 BA), MPEG-1 or MPEG-2.
std::optional<Pack_Header> Parse_Pack(Bytes p, qint64 n);
// Moves the SCR of the pack header at p (one that Parse_Pack reads); its extension stays.
void Shift_Pack_Clock(unsigned char* p, qint64 ticks);

struct Pes_Header {
    unsigned streamId = 0;
    qint64 packetLength = 0;  // from the length field: bytes after the first six (0: unbounded)
    qint64 headerLength = 0;  // bytes before the payload
    std::optional<double> pts, dts;
    qint64 ptsAt = 0, dtsAt = 0;  // where their fields lie in the packet; 0 when there are none
};
// The PES header at p (00 00 01 id, id >= BC), MPEG-1 or MPEG-2 form.
std::optional<Pes_Header> Parse_Pes(Bytes p, qint64 n);

inline bool Is_Video_Id(unsigned id)
{
    return id >= 0xE0 && id <= 0xEF;
}

// Frame rate of a sequence header's frame_rate_code; 0 for a reserved code.
double Frame_Rate(unsigned code);

struct Ts_Packet {
    unsigned pid = 0;
    bool unitStart = false;
    bool discontinuity = false;
    std::optional<double> pcr;  // seconds
    qint64 payload = 0;         // offset of the payload within the packet
    qint64 payloadSize = 0;
};
// The 188-byte transport packet at p (p[0] is the 47 sync byte).
std::optional<Ts_Packet> Parse_Ts(Bytes p);
// Moves the PCR of a transport packet that has one (its extension stays).
void Shift_Pcr(unsigned char* p, qint64 ticks);

// Picture counting of a video elementary stream: fields shown (a frame picture shows two, three
// with repeat_first_field, more in a progressive sequence; a field picture one), frame rates of
// the sequence headers, and where sequence headers and pictures start. Bytes arrive in pieces
// of any size and are scanned where they lie; a start code or header cut between pieces still
// counts. What it finds is told to a Listener as soon as the header is whole.
class Picture_Counter {
public:
    struct Sequence {  // one sequence header
        qint64 pos;    // its place in the bytes fed so far
        double frameRate;
    };
    struct Picture {
        qint64 pos;
        int temporalReference;  // display order within its group of pictures
        int group;              // serial number of its group of pictures header; -1 before one
    };
    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void On_Sequence(const Sequence&) {}
        virtual void On_Picture(const Picture&) {}
    };

    void Set_Listener(Listener* listener) { listener_ = listener; }
    void Feed(Bytes p, qint64 n);
    void Finish();  // scans and counts what is still held

    double Fields() const { return fields_; }
    double Frame_Rate() const { return rate_; }  // of the first sequence header; 0 before one
    double Last_Frame_Rate() const { return lastRate_; }
    qint64 Fed() const { return fed_; }
    // Seconds shown by the pictures counted, each at the rate of its own sequence.
    double Seconds() const { return seconds_; }

private:
    // Reads the headers that start in p[0, limit) of p[0, n), p[0] being stream position `pos`.
    void Scan(Bytes p, qint64 n, qint64 limit, qint64 pos);
    void Header(Bytes p, qint64 room, qint64 pos);
    void Close_Picture();

    std::vector<unsigned char> held_;  // the last bytes fed, whose headers may still be cut
    qint64 fed_ = 0;
    double fields_ = 0, seconds_ = 0;
    double rate_ = 0, lastRate_ = 0;
    bool progressiveSequence_ = false;
    double openFields_ = 0;  // fields of the picture whose extensions may still come
    int group_ = -1;
    Listener* listener_ = nullptr;
};

}  // namespace pf::mpeg
