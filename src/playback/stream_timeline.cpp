#include "playback/stream_timeline.h"

#include <QFile>

#include <algorithm>
#include <optional>

namespace pf {
namespace {

constexpr qint64 kProbe = 4 * 1024;     // first look for a pack header
constexpr qint64 kWindow = 64 * 1024;   // bisection stops at this distance
constexpr qint64 kEdge = 16 * 1024;     // first size of a part's head and tail windows
constexpr int kEdgeStamps = 4;          // stamps an edge window must hold (frames are reordered)
constexpr qint64 kMaxSamples = 4096;    // clock samples over the whole file
constexpr double kTicks = 90000.0;      // MPEG system clock, per second

struct Pack {
    qint64 off = -1;
    double scr = 0;
};

class Reader {
public:
    explicit Reader(const QString& path) : file_(path) { ok_ = file_.open(QIODevice::ReadOnly); }
    bool Ok() const { return ok_; }
    qint64 Size() const { return file_.size(); }
    QByteArray Read(qint64 off, qint64 len)
    {
        len = std::min(len, Size() - off);
        if (len <= 0 || !file_.seek(off))
            return {};
        return file_.read(len);
    }

private:
    QFile file_;
    bool ok_ = false;
};

using Bytes = const unsigned char*;

double Timestamp(Bytes p)  // the 33-bit stamp of a PTS field or an MPEG-1 SCR
{
    const qint64 v = (qint64{(p[0] >> 1) & 7} << 30) | (qint64{p[1]} << 22) | (qint64{p[2] >> 1} << 15)
                     | (qint64{p[3]} << 7) | (p[4] >> 1);
    return double(v) / kTicks;
}

// SCR of the pack header at p (n bytes left), if it is one.
std::optional<double> Pack_Clock(Bytes p, qint64 n)
{
    if (n >= 12 && (p[4] & 0xF0) == 0x20)
        return Timestamp(p + 4);
    if (n >= 14 && (p[4] & 0xC0) == 0x40) {
        const qint64 v = (qint64{(p[4] >> 3) & 7} << 30) | (qint64{p[4] & 3} << 28) | (qint64{p[5]} << 20)
                         | (qint64{p[6] >> 3} << 15) | (qint64{p[6] & 3} << 13) | (qint64{p[7]} << 5) | (p[8] >> 3);
        return double(v) / kTicks;
    }
    return std::nullopt;
}

// PTS of the PES packet at p, if it carries one.
std::optional<double> Pes_Time(Bytes p, qint64 n)
{
    if (n < 14)
        return std::nullopt;
    if ((p[6] & 0xC0) == 0x80)  // MPEG-2 PES header
        return (p[7] & 0x80) && (p[9] & 0xE1) == 0x21 ? std::optional(Timestamp(p + 9)) : std::nullopt;
    qint64 i = 6;
    while (i < n && i < 6 + 16 && p[i] == 0xFF)
        ++i;
    if (i + 2 < n && (p[i] & 0xC0) == 0x40)
        i += 2;
    if (i + 5 <= n && ((p[i] & 0xF1) == 0x21 || (p[i] & 0xF1) == 0x31))
        return Timestamp(p + i);
    return std::nullopt;
}

const double kFrameRates[] = {0, 24000.0 / 1001, 24, 25, 30000.0 / 1001, 30, 50, 60000.0 / 1001, 60};

struct Window_Times {
    std::optional<double> video_min, video_max, audio_min, audio_max;
    int stamps = 0;
    double frame_rate = 0;
    std::optional<double> First() const { return video_min ? video_min : audio_min; }
    std::optional<double> Last() const { return video_max ? video_max : audio_max; }
};

template <typename Visit>
void For_Start_Codes(const QByteArray& buf, Visit visit)
{
    const auto* b = reinterpret_cast<Bytes>(buf.constData());
    const qint64 n = buf.size();
    for (qint64 i = 0; i + 4 <= n; ++i) {
        if (b[i + 2] > 1) {
            i += 2;
            continue;
        }
        if (b[i] == 0 && b[i + 1] == 0 && b[i + 2] == 1 && !visit(i, b + i, n - i))
            return;
    }
}

Window_Times Times_In(const QByteArray& buf)
{
    Window_Times w;
    auto add = [](std::optional<double>& lo, std::optional<double>& hi, double t) {
        lo = lo ? std::min(*lo, t) : t;
        hi = hi ? std::max(*hi, t) : t;
    };
    For_Start_Codes(buf, [&](qint64, Bytes p, qint64 n) {
        const unsigned id = p[3];
        if (id == 0xB3 && n >= 8 && w.frame_rate == 0 && (p[7] & 0x0F) < 9)
            w.frame_rate = kFrameRates[p[7] & 0x0F];
        else if (id >= 0xE0 && id <= 0xEF) {
            if (auto t = Pes_Time(p, n)) {
                add(w.video_min, w.video_max, *t);
                ++w.stamps;
            }
        } else if ((id >= 0xC0 && id <= 0xDF) || id == 0xBD) {
            if (auto t = Pes_Time(p, n))
                add(w.audio_min, w.audio_max, *t);
        }
        return true;
    });
    return w;
}

// Times at the head (or tail) of [begin, end): the window grows until it holds a few picture
// stamps, since the earliest and the latest picture need not be the first and last sent.
Window_Times Edge_Times(Reader& r, qint64 begin, qint64 end, bool tail)
{
    for (qint64 len = kEdge;; len *= 4) {
        len = std::min(len, end - begin);
        const Window_Times w = Times_In(r.Read(tail ? end - len : begin, len));
        if (w.stamps >= kEdgeStamps || len == end - begin || (!w.video_min && w.audio_min && len >= kWindow))
            return w;
    }
}

// First pack header at or after `from` and before `limit`.
Pack First_Pack(Reader& r, qint64 from, qint64 limit)
{
    for (qint64 len = kProbe; from < limit; len *= 4) {
        const QByteArray buf = r.Read(from, std::min(len, limit - from) + 16);
        Pack found;
        For_Start_Codes(buf, [&](qint64 i, Bytes p, qint64 n) {
            if (p[3] != 0xBA || from + i >= limit)
                return true;
            if (auto scr = Pack_Clock(p, n)) {
                found = {from + i, *scr};
                return false;
            }
            return true;
        });
        if (found.off >= 0 || from + len >= limit)
            return found;
    }
    return {};
}

// Offset of the first pack after `a` whose clock is behind its predecessor's, knowing that
// one lies before `b`.
qint64 Find_Seam(Reader& r, Pack a, Pack b)
{
    while (b.off - a.off > kWindow) {
        const Pack m = First_Pack(r, a.off + (b.off - a.off) / 2, b.off);
        if (m.off < 0)
            break;
        (m.scr >= a.scr ? a : b) = m;
    }
    const QByteArray buf = r.Read(a.off, b.off - a.off + 16);
    double prev = a.scr;
    qint64 seam = b.off;
    For_Start_Codes(buf, [&](qint64 i, Bytes p, qint64 n) {
        if (p[3] != 0xBA)
            return true;
        const auto scr = Pack_Clock(p, n);
        if (scr && *scr < prev) {
            seam = a.off + i;
            return false;
        }
        prev = scr.value_or(prev);
        return true;
    });
    return seam;
}

}  // namespace

double Stream_Timeline::Total() const
{
    double sum = 0;
    for (const Stream_Part& p : parts)
        sum += p.duration;
    return sum;
}

int Stream_Timeline::Part_At(double t) const
{
    double start = 0;
    for (int i = 0; i < parts.size(); ++i) {
        start += parts[i].duration;
        if (t < start)
            return i;
    }
    return std::max(0, int(parts.size()) - 1);
}

double Stream_Timeline::Part_Start(int part) const
{
    double start = 0;
    for (int i = 0; i < part && i < parts.size(); ++i)
        start += parts[i].duration;
    return start;
}

double Stream_Timeline::Whole_Time(int part, double local) const
{
    if (part < 0 || part >= parts.size())
        return std::max(0.0, local);
    return Part_Start(part) + std::clamp(local - parts[part].lead, 0.0, parts[part].duration);
}

Stream_Timeline Scan_Program_Stream(const QString& path)
{
    Stream_Timeline timeline;
    Reader r(path);
    if (!r.Ok() || First_Pack(r, 0, std::min(r.Size(), kWindow)).off < 0)
        return timeline;
    const qint64 size = r.Size();
    const qint64 stride = std::max(kWindow / 2, size / kMaxSamples);
    QList<Pack> samples;
    for (qint64 off = 0; off < size; off += stride) {
        const Pack p = First_Pack(r, off, std::min(size, off + stride));
        if (p.off >= 0)
            samples.push_back(p);
    }
    QList<qint64> bounds{0};
    for (qsizetype i = 0; i + 1 < samples.size(); ++i)
        if (samples[i + 1].scr < samples[i].scr)
            bounds.push_back(Find_Seam(r, samples[i], samples[i + 1]));
    bounds.push_back(size);

    for (qsizetype i = 0; i + 1 < bounds.size(); ++i) {
        const qint64 begin = bounds[i], end = bounds[i + 1];
        const Window_Times head = Edge_Times(r, begin, end, false);
        const Window_Times tail = Edge_Times(r, begin, end, true);
        if (!head.First() || !tail.Last())
            return {};
        if (timeline.frame_rate == 0)
            timeline.frame_rate = head.frame_rate;
        const double frame = head.video_min && head.frame_rate > 0 ? 1.0 / head.frame_rate : 0.0;
        const double earliest = std::min(head.video_min.value_or(*head.First()), head.audio_min.value_or(*head.First()));
        timeline.parts.push_back(
            {begin, end, *head.First(), std::max(0.0, *tail.Last() - *head.First() + frame), *head.First() - earliest});
    }
    return timeline;
}

}  // namespace pf
