// SPDX-License-Identifier: GPL-3.0-or-later
#include "mpeg/mpeg_syntax.h"

#include <algorithm>

namespace pf::mpeg {
namespace {

constexpr qint64 Need_Bytes = 12;  // bytes from a start code that its header needs

qint64 Wrapped(qint64 v)
{
    v %= Clock_Wrap;
    return v < 0 ? v + Clock_Wrap : v;
}

}  // namespace

std::optional<qint64> Stamp_Ticks(Bytes p)
{
    if (!(p[0] & 1) || !(p[2] & 1) || !(p[4] & 1))
        return std::nullopt;
    return (qint64{(p[0] >> 1) & 7} << 30) | (qint64{p[1]} << 22) | (qint64{p[2] >> 1} << 15) | (qint64{p[3]} << 7)
        | (p[4] >> 1);
}

std::optional<double> Stamp(Bytes p)
{
    const auto v = Stamp_Ticks(p);
    return v ? std::optional(double(*v) / Ticks_Per_Second) : std::nullopt;
}

void Shift_Stamp(unsigned char* p, qint64 ticks)
{
    const auto v = Stamp_Ticks(p);
    if (!v)
        return;
    const qint64 n = Wrapped(*v + ticks);
    p[0] = (p[0] & 0xF1) | ((n >> 29) & 0x0E);
    p[1] = (n >> 22) & 0xFF;
    p[2] = ((n >> 14) & 0xFE) | (p[2] & 1);
    p[3] = (n >> 7) & 0xFF;
    p[4] = ((n << 1) & 0xFE) | (p[4] & 1);
}

void Shift_Pack_Clock(unsigned char* p, qint64 ticks)
{
    if ((p[4] & 0xF0) == 0x20) {
        Shift_Stamp(p + 4, ticks);
        return;
    }
    const qint64 base = (qint64{(p[4] >> 3) & 7} << 30) | (qint64{p[4] & 3} << 28) | (qint64{p[5]} << 20)
        | (qint64{p[6] >> 3} << 15) | (qint64{p[6] & 3} << 13) | (qint64{p[7]} << 5) | (p[8] >> 3);
    const qint64 n = Wrapped(base + ticks);
    p[4] = (p[4] & 0xC4) | ((n >> 27) & 0x38) | ((n >> 28) & 3);
    p[5] = (n >> 20) & 0xFF;
    p[6] = (p[6] & 0x04) | ((n >> 12) & 0xF8) | ((n >> 13) & 3);
    p[7] = (n >> 5) & 0xFF;
    p[8] = (p[8] & 0x07) | ((n << 3) & 0xF8);
}

std::optional<Pack_Header> Parse_Pack(Bytes p, qint64 n)
{
    Pack_Header h;
    if (n >= 12 && (p[4] & 0xF0) == 0x20) {
        const auto scr = Stamp(p + 4);
        if (!scr || !(p[9] & 0x80) || !(p[11] & 1))
            return std::nullopt;
        h.scr = *scr;
        h.muxRate = double((qint64{p[9] & 0x7F} << 15) | (qint64{p[10]} << 7) | (p[11] >> 1)) * 50;
        h.length = 12;
        return h;
    }
    if (n >= 14 && (p[4] & 0xC4) == 0x44 && (p[6] & 4) && (p[8] & 4) && (p[9] & 1) && (p[12] & 3) == 3) {
        const qint64 base = (qint64{(p[4] >> 3) & 7} << 30) | (qint64{p[4] & 3} << 28) | (qint64{p[5]} << 20)
            | (qint64{p[6] >> 3} << 15) | (qint64{p[6] & 3} << 13) | (qint64{p[7]} << 5) | (p[8] >> 3);
        const int ext = ((p[8] & 3) << 7) | (p[9] >> 1);
        h.scr = double(base) / Ticks_Per_Second + ext / 27e6;
        h.muxRate = double((qint64{p[10]} << 14) | (qint64{p[11]} << 6) | (p[12] >> 2)) * 50;
        h.length = 14 + (p[13] & 7);
        return h;
    }
    return std::nullopt;
}

std::optional<Pes_Header> Parse_Pes(Bytes p, qint64 n)
{
    if (n < 6 || p[3] < 0xBC)
        return std::nullopt;
    Pes_Header h;
    h.streamId = p[3];
    h.packetLength = (qint64{p[4]} << 8) | p[5];
    h.headerLength = 6;
    const unsigned id = h.streamId;
    if (id == 0xBC || id == 0xBE || id == 0xBF || (id >= 0xF0 && id <= 0xF2) || id == 0xF8 || id == 0xFF)
        return h;  // no header extension
    if (n >= 9 && (p[6] & 0xC0) == 0x80) {
        h.headerLength = 9 + p[8];
        const unsigned flags = p[7] >> 6;
        if (flags >= 2 && n >= 14 && (p[9] >> 4) == (flags == 3 ? 3u : 2u) && (h.pts = Stamp(p + 9)))
            h.ptsAt = 9;
        if (flags == 3 && n >= 19 && (p[14] >> 4) == 1 && (h.dts = Stamp(p + 14)))
            h.dtsAt = 14;
    } else {
        qint64 i = 6;
        while (i < n && i < 6 + 16 && p[i] == 0xFF)
            ++i;
        if (i + 2 < n && (p[i] & 0xC0) == 0x40)
            i += 2;
        if (i >= n)
            return std::nullopt;
        const unsigned kind = p[i] >> 4;
        if ((kind == 2 || kind == 3) && i + (kind == 3 ? 10 : 5) <= n) {
            if ((h.pts = Stamp(p + i)))
                h.ptsAt = i;
            if (kind == 3 && (p[i + 5] >> 4) == 1 && (h.dts = Stamp(p + i + 5)))
                h.dtsAt = i + 5;
            i += kind == 3 ? 10 : 5;
        } else if (p[i] == 0x0F) {
            i += 1;
        } else {
            return std::nullopt;
        }
        h.headerLength = i;
    }
    if (h.packetLength != 0 && h.headerLength > 6 + h.packetLength)
        return std::nullopt;
    return h;
}

double Frame_Rate(unsigned code)
{
    static constexpr double Rates[] = {0, 24000.0 / 1001, 24, 25, 30000.0 / 1001, 30, 50, 60000.0 / 1001, 60};
    return code < 9 ? Rates[code] : 0;
}

std::optional<Ts_Packet> Parse_Ts(Bytes p)
{
    if (p[0] != 0x47 || (p[1] & 0x80))
        return std::nullopt;
    Ts_Packet t;
    t.pid = ((p[1] & 0x1Fu) << 8) | p[2];
    t.unitStart = p[1] & 0x40;
    const unsigned control = (p[3] >> 4) & 3;
    if (control == 0)
        return std::nullopt;
    qint64 i = 4;
    if (control & 2) {
        const unsigned length = p[4];
        if (length > 183)
            return std::nullopt;
        if (length > 0) {
            t.discontinuity = p[5] & 0x80;
            if ((p[5] & 0x10) && length >= 7) {
                const qint64 base = (qint64{p[6]} << 25) | (qint64{p[7]} << 17) | (qint64{p[8]} << 9)
                    | (qint64{p[9]} << 1) | (p[10] >> 7);
                t.pcr = double(base) / Ticks_Per_Second + double(((p[10] & 1) << 8) | p[11]) / 27e6;
            }
        }
        i = 5 + length;
    }
    t.payload = (control & 1) ? i : 188;
    t.payloadSize = 188 - t.payload;
    return t;
}

void Shift_Pcr(unsigned char* p, qint64 ticks)
{
    const qint64 base
        = (qint64{p[6]} << 25) | (qint64{p[7]} << 17) | (qint64{p[8]} << 9) | (qint64{p[9]} << 1) | (p[10] >> 7);
    const qint64 n = Wrapped(base + ticks);
    p[6] = (n >> 25) & 0xFF;
    p[7] = (n >> 17) & 0xFF;
    p[8] = (n >> 9) & 0xFF;
    p[9] = (n >> 1) & 0xFF;
    p[10] = (p[10] & 0x7F) | ((n << 7) & 0x80);
}

void Picture_Counter::Feed(Bytes p, qint64 n)
{
    if (n <= 0)
        return;
    const qint64 pos = fed_;  // stream position of p[0]
    fed_ += n;
    if (n < Need_Bytes) {  // too short to scan in place: keep it with the unscanned tail
        held_.insert(held_.end(), p, p + n);
        const qint64 h = qint64(held_.size());
        if (h >= Need_Bytes) {
            Scan(held_.data(), h, h - Need_Bytes + 1, fed_ - h);
            held_.erase(held_.begin(), held_.end() - (Need_Bytes - 1));
        }
        return;
    }
    if (!held_.empty()) {  // headers that start in the tail, completed by this piece's first bytes
        const qint64 h = qint64(held_.size());
        held_.insert(held_.end(), p, p + Need_Bytes - 1);
        Scan(held_.data(), qint64(held_.size()), h, pos - h);
    }
    Scan(p, n, n - Need_Bytes + 1, pos);
    held_.assign(p + n - (Need_Bytes - 1), p + n);
}

void Picture_Counter::Finish()
{
    const qint64 h = qint64(held_.size());
    Scan(held_.data(), h, h, fed_ - h);
    held_.clear();
    Close_Picture();
}

void Picture_Counter::Scan(Bytes p, qint64 n, qint64 limit, qint64 pos)
{
    for (qint64 i = 0; (i = Find_Start_Code(p, i, n)) >= 0 && i < limit; i += 3)
        Header(p + i, n - i, pos + i);
}

void Picture_Counter::Header(Bytes p, qint64 room, qint64 pos)
{
    const unsigned code = p[3];
    if (code == 0x00 || code == 0xB3 || code == 0xB7 || code == 0xB8)
        Close_Picture();
    if (code == 0x00) {
        openFields_ = 2;
        if (listener_ && room >= 6)
            listener_->On_Picture({pos, (p[4] << 2) | (p[5] >> 6), group_});
    } else if (code == 0xB8) {
        ++group_;
    } else if (code == 0xB3 && room >= 8) {
        progressiveSequence_ = false;
        if (const double rate = mpeg::Frame_Rate(p[7] & 0x0F); rate > 0) {
            lastRate_ = rate;
            rate_ = rate_ > 0 ? rate_ : rate;
        }
        if (listener_)
            listener_->On_Sequence({pos, lastRate_});
    } else if (code == 0xB5 && room >= 10 && (p[4] >> 4) == 1) {  // sequence extension
        progressiveSequence_ = (p[5] >> 3) & 1;
        const int num = (p[9] >> 5) & 3, den = p[9] & 0x1F;
        if ((num || den) && lastRate_ > 0)
            lastRate_ = lastRate_ * (num + 1) / (den + 1);
    } else if (code == 0xB5 && room >= 9 && (p[4] >> 4) == 8 && openFields_ > 0) {  // picture coding extension
        const bool frame = (p[6] & 3) == 3, topFirst = p[7] & 0x80, repeat = p[7] & 0x02;
        openFields_ = !frame ? 1 : !repeat ? 2 : progressiveSequence_ ? (topFirst ? 6 : 4) : 3;
    }
}

void Picture_Counter::Close_Picture()
{
    if (openFields_ <= 0)
        return;
    fields_ += openFields_;
    if (lastRate_ > 0)
        seconds_ += openFields_ / (2 * lastRate_);
    openFields_ = 0;
}

}  // namespace pf::mpeg
