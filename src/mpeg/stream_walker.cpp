// SPDX-License-Identifier: GPL-3.0-or-later
#include "mpeg/stream_walker.h"

#include <algorithm>

namespace pf {
namespace {

using mpeg::Bytes;

constexpr qint64 Longest_Unit = 6 + 65535 + 4;  // a PES packet and the next start code

bool Is_System_Code(Bytes p)
{
    return p[0] == 0 && p[1] == 0 && p[2] == 1 && p[3] >= 0xB9;
}

// Next start code at or after `from` whose code is a system one (B9 and up); -1 if none.
qint64 Next_System_Code(Bytes b, qint64 from, qint64 n)
{
    for (qint64 i = from; (i = mpeg::Find_Start_Code(b, i, n)) >= 0; ++i)
        if (b[i + 3] >= 0xB9)
            return i;
    return -1;
}

bool Is_Video_Type(unsigned type)
{
    return type == 0x01 || type == 0x02 || type == 0x10 || type == 0x1B || type == 0x24 || type == 0x42;
}

// First slot position in b at which `count` sync bytes follow each other `slot` apart.
qint64 Sync_At(Bytes b, qint64 from, qint64 n, int slot, int prefix, int count)
{
    for (qint64 k = from; k + prefix + qint64(slot) * (count - 1) < n; ++k) {
        int j = 0;
        while (j < count && b[k + prefix + qint64(slot) * j] == 0x47)
            ++j;
        if (j == count)
            return k;
    }
    return -1;
}

}  // namespace

Stream_Format Detect_Format(Byte_Source& source)
{
    std::vector<unsigned char> buf;
    if (!source.Read(0, Detect_Bytes, buf) || buf.size() < 4)
        return {};
    const Bytes b = buf.data();
    const qint64 n = qint64(buf.size());
    static constexpr int Slots[][2] = {{188, 0}, {192, 4}, {204, 0}};
    for (const auto& [slot, prefix] : Slots)
        if (Sync_At(b, 0, std::min<qint64>(n, slot + prefix + slot * 6), slot, prefix, std::min<qint64>(6, n / slot))
                >= 0
            && n >= slot * 2)
            return {Stream_Kind::Transport, slot, prefix};
    bool sequence = false;
    for (qint64 i = 0; (i = mpeg::Find_Start_Code(b, i, n)) >= 0; ++i) {
        if (b[i + 3] == 0xBA && mpeg::Parse_Pack(b + i, n - i))
            return {Stream_Kind::Program};
        sequence = sequence || (b[i + 3] == 0xB3 && i + 8 <= n && mpeg::Frame_Rate(b[i + 7] & 0x0F) > 0);
    }
    return {sequence ? Stream_Kind::Elementary : Stream_Kind::None};
}

bool Stream_Walker::Walk(Byte_Source& source, qint64 from, qint64 to, Walk_Sink& sink, std::vector<unsigned char>& buf)
{
    const qint64 size = source.Size();
    to = std::min(to, size);
    qint64 extra = 4096 + format_.packet;  // read a little past `to`, for a unit that starts before it
    for (qint64 pos = std::max<qint64>(from, 0); pos < to && !sink.Done();) {
        if (source.Cancelled())
            return false;
        if (!source.Read(pos, std::min(Walk_Window, to - pos + extra), buf))
            return false;
        const qint64 n = qint64(buf.size());
        if (n == 0)
            break;
        const bool atEof = pos + n >= size;
        const qint64 used = Walk_Bytes(buf.data(), n, pos, to, atEof, sink);
        if (used == 0 && !atEof && extra < Longest_Unit) {
            extra = Longest_Unit + format_.packet;  // a long unit: read it whole
            continue;
        }
        if (atEof && pos + used >= to)
            break;
        pos += std::max<qint64>(used, 1);
    }
    return true;
}

qint64 Stream_Walker::Walk_Bytes(Bytes b, qint64 n, qint64 base, qint64 to, bool atEof, Walk_Sink& sink)
{
    return format_.kind == Stream_Kind::Transport ? Walk_Transport(b, n, base, to, atEof, sink)
                                                  : Walk_Program(b, n, base, to, atEof, sink);
}

qint64 Stream_Walker::Walk_Program(Bytes b, qint64 n, qint64 base, qint64 to, bool atEof, Walk_Sink& sink)
{
    qint64 i = 0;
    while (base + i < to && !sink.Done()) {
        if (i + 4 > n)
            return atEof ? n : i;
        if (!Is_System_Code(b + i)) {
            const qint64 j = Next_System_Code(b, i + 1, n);
            if (j < 0)
                return atEof ? n : std::max(i, n - 3);
            i = j;
            continue;
        }
        const unsigned code = b[i + 3];
        if (code == 0xB9) {
            sawEnd_ = true;
            sink.Unit_End(base + i + 4);
            i += 4;
            continue;
        }
        if (code == 0xBA) {
            if (!atEof && n - i < 32)
                return i;
            const auto pack = mpeg::Parse_Pack(b + i, n - i);
            if (!pack) {
                i += 4;
                continue;
            }
            sink.Unit(b + i, pack->length, base + i);
            sink.Mark({base + i, base + i, pack->scr, pack->muxRate, sawEnd_});
            sawEnd_ = false;
            i += pack->length;
            continue;
        }
        if (n - i < 6)
            return atEof ? n : i;
        const qint64 length = (qint64{b[i + 4]} << 8) | b[i + 5];
        const qint64 next = i + 6 + length;
        if (next + 4 > n && !atEof)
            return i;
        const bool chained = next + 4 <= n ? Is_System_Code(b + next) : next <= n;
        if (!chained || length == 0) {
            i += 4;  // a cut or damaged unit: look for the next one inside it
            continue;
        }
        sink.Unit(b + i, next - i, base + i);
        if (code != 0xBB) {
            if (const auto pes = mpeg::Parse_Pes(b + i, 6 + length)) {
                const bool video = mpeg::Is_Video_Id(pes->streamId);
                if (pes->pts)
                    sink.Stamp({base + i, *pes->pts, video});
                if (video && sink.Wants_Video())
                    sink.Video(b + i + pes->headerLength, next - i - pes->headerLength);
            }
        }
        sink.Unit_End(base + next);
        i = next;
    }
    return i;
}

qint64 Stream_Walker::Walk_Transport(Bytes b, qint64 n, qint64 base, qint64 to, bool atEof, Walk_Sink& sink)
{
    const int slot = format_.packet, prefix = format_.prefix;
    qint64 i = 0;
    while (base + i < to && !sink.Done()) {
        if (i + slot > n)
            return atEof ? n : i;
        const bool nextKnown = i + slot + prefix < n;
        if (b[i + prefix] != 0x47 || (nextKnown && b[i + slot + prefix] != 0x47)) {
            const qint64 k = Sync_At(b, i + 1, n, slot, prefix, 2);
            if (k < 0)
                return atEof ? n : std::max(i, n - 2 * slot);
            i = k;
            continue;
        }
        if (const auto t = mpeg::Parse_Ts(b + i + prefix)) {
            sink.Unit(b + i + prefix, 188, base + i + prefix);
            Packet(*t, b + i + prefix, base + i, sink);
        }
        i += slot;
    }
    return i;
}

void Stream_Walker::Packet(const mpeg::Ts_Packet& t, Bytes p, qint64 off, Walk_Sink& sink)
{
    const Bytes payload = p + t.payload;
    const qint64 size = t.payloadSize;
    const bool pesStart = t.unitStart && size >= 9 && payload[0] == 0 && payload[1] == 0 && payload[2] == 1;
    const bool table = (t.unitStart && !pesStart) || t.pid == 0x1FFF;
    if (table) {
        if (runStart_ < 0)
            runStart_ = off;
        if (t.unitStart && t.pid == 0)
            Read_Pat(payload, size);
        else if (t.unitStart && int(t.pid) == pmtPid_)
            Read_Pmt(payload, size);
        sink.Unit_End(off + format_.packet);
        return;
    }
    if (t.pcr && (pcrPid_ < 0 || int(t.pid) == pcrPid_))
        sink.Mark({off, runStart_ >= 0 ? runStart_ : off, *t.pcr, 0, false});
    runStart_ = -1;
    qint64 skip = 0;
    if (pesStart) {
        if (const auto pes = mpeg::Parse_Pes(payload, size)) {
            const bool video = mpeg::Is_Video_Id(pes->streamId);
            if (video && videoPid_ < 0)
                videoPid_ = int(t.pid);
            if (pes->pts && (!video || int(t.pid) == videoPid_))
                sink.Stamp({off, *pes->pts, video});
            skip = std::min(pes->headerLength, size);
        }
    }
    if (int(t.pid) == videoPid_ && sink.Wants_Video())
        sink.Video(payload + skip, size - skip);
    sink.Unit_End(off + format_.packet);
}

void Stream_Walker::Read_Pat(Bytes p, qint64 n)
{
    const qint64 start = 1 + p[0];
    if (n - start < 12 || p[start] != 0x00)
        return;
    const Bytes s = p + start;
    const qint64 end = std::min<qint64>(3 + (((s[1] & 0x0F) << 8) | s[2]) - 4, n - start);
    for (qint64 k = 8; k + 4 <= end; k += 4)
        if (((s[k] << 8) | s[k + 1]) != 0) {
            pmtPid_ = ((s[k + 2] & 0x1F) << 8) | s[k + 3];
            return;
        }
}

void Stream_Walker::Read_Pmt(Bytes p, qint64 n)
{
    const qint64 start = 1 + p[0];
    if (n - start < 16 || p[start] != 0x02)
        return;
    const Bytes s = p + start;
    const qint64 end = std::min<qint64>(3 + (((s[1] & 0x0F) << 8) | s[2]) - 4, n - start);
    const int pcr = ((s[8] & 0x1F) << 8) | s[9];
    pcrPid_ = pcr == 0x1FFF ? -1 : pcr;
    for (qint64 k = 12 + (((s[10] & 0x0F) << 8) | s[11]); k + 5 <= end; k += 5 + (((s[k + 3] & 0x0F) << 8) | s[k + 4]))
        if (Is_Video_Type(s[k])) {
            videoPid_ = ((s[k + 1] & 0x1F) << 8) | s[k + 2];
            return;
        }
}

}  // namespace pf
