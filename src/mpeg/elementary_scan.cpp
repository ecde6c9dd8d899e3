// SPDX-License-Identifier: GPL-3.0-or-later
#include "mpeg/elementary_scan.h"

#include <algorithm>

namespace pf {
namespace {

constexpr qint64 Chunk_Bytes = 64 * 1024;  // bytes fed to the counter at a time
constexpr qsizetype Most_Points = 65536;   // seek points kept; thinned beyond
constexpr int Window_Count = 64;           // sampled: windows spread over the file
constexpr qint64 Window_Bytes = 64 * 1024;
constexpr qint64 Look_Back = 512 * 1024;  // how far before a target a sequence header is looked for

// Collects parts and seek points from the counter's sequence headers.
struct Counting : mpeg::Picture_Counter::Listener {
    mpeg::Picture_Counter counter;
    Stream_Timeline timeline;
    qint64 stride = 1, seen = 0;
    double partSeconds = 0;

    void On_Sequence(const mpeg::Picture_Counter::Sequence& s) override
    {
        const double now = counter.Seconds();
        QList<Stream_Part>& parts = timeline.parts;
        if (parts.isEmpty() || (s.frameRate > 0 && s.frameRate != parts.back().frameRate && now > partSeconds)) {
            Close_Part(s.pos);
            parts.push_back({});
            parts.back().begin = s.pos;
        }
        if (parts.back().frameRate == 0)
            parts.back().frameRate = s.frameRate;
        if (seen++ % stride != 0)
            return;
        QList<Seek_Point>& points = timeline.seekPoints;
        points.push_back({s.pos, now});
        if (points.size() >= Most_Points) {  // keep every other one from here on
            QList<Seek_Point> thinned;
            for (qsizetype i = 0; i < points.size(); i += 2)
                thinned.push_back(points[i]);
            points = thinned;
            stride *= 2;
        }
    }

    void Close_Part(qint64 end)
    {
        if (timeline.parts.isEmpty())
            return;
        timeline.parts.back().end = end;
        timeline.parts.back().duration = counter.Seconds() - partSeconds;
        partSeconds = counter.Seconds();
    }
};

// Whole-file time at `offset` by the estimated seek points (linear between them).
double Time_At(const Stream_Timeline& t, qint64 offset)
{
    const QList<Seek_Point>& p = t.seekPoints;
    if (p.isEmpty())
        return 0;
    auto it = std::upper_bound(p.begin(), p.end(), offset, [](qint64 o, const Seek_Point& s) { return o < s.offset; });
    const Seek_Point a = it == p.begin() ? Seek_Point{0, 0} : *(it - 1);
    const Seek_Point b = it == p.end() ? Seek_Point{t.size, t.Total()} : *it;
    if (b.offset <= a.offset)
        return a.time;
    return a.time + (b.time - a.time) * double(offset - a.offset) / double(b.offset - a.offset);
}

qint64 Offset_At(const Stream_Timeline& t, double time)
{
    qint64 lo = 0, hi = t.size;
    while (hi - lo > 1) {
        const qint64 mid = lo + (hi - lo) / 2;
        (Time_At(t, mid) <= time ? lo : hi) = mid;
    }
    return lo;
}

}  // namespace

Stream_Timeline Count_Elementary(Byte_Source& source)
{
    source.Expect_Sequential(true);
    Counting c;
    c.counter.Set_Listener(&c);
    std::vector<unsigned char> buf;
    for (qint64 pos = 0; pos < source.Size(); pos += Walk_Window) {
        if (source.Cancelled() || !source.Read(pos, Walk_Window, buf))
            return {};
        for (size_t i = 0; i < buf.size(); i += Chunk_Bytes)
            c.counter.Feed(buf.data() + i, std::min<qint64>(Chunk_Bytes, qint64(buf.size() - i)));
    }
    c.counter.Finish();
    c.Close_Part(source.Size());
    c.timeline.exact = true;
    return c.timeline;
}

Stream_Timeline Sample_Elementary(Byte_Source& source)
{
    source.Expect_Sequential(false);
    Stream_Timeline t;
    t.size = source.Size();
    std::vector<unsigned char> buf;
    double rate = 0, time = 0, density = -1;  // density: seconds per byte of the window before
    qint64 last = 0;
    for (int i = 0; i < Window_Count; ++i) {
        const qint64 at = std::max<qint64>(0, t.size - Window_Bytes) / (Window_Count - 1) * i;
        if (!source.Read(at, Window_Bytes, buf))
            return {};
        mpeg::Picture_Counter counter;
        counter.Feed(buf.data(), qint64(buf.size()));
        counter.Finish();
        rate = counter.Last_Frame_Rate() > 0 ? counter.Last_Frame_Rate() : rate;
        if (t.frameRate == 0)
            t.frameRate = counter.Frame_Rate();
        const double d = rate > 0 && !buf.empty() ? counter.Fields() / 2 / rate / double(buf.size()) : 0;
        time += double(at - last) * (density < 0 ? d : (d + density) / 2);
        t.seekPoints.push_back({at, time});
        density = d;
        last = at;
    }
    if (t.frameRate <= 0)
        return {};
    Stream_Part whole;
    whole.end = t.size;
    whole.duration = time + double(t.size - last) * std::max(density, 0.0);
    whole.frameRate = t.frameRate;
    t.parts.push_back(whole);
    return t;
}

std::optional<Seek_Point> Find_Seek_Point(Byte_Source& source, const Stream_Timeline& timeline, double t)
{
    if (timeline.exact)
        return timeline.Seek_Point_Before(t);
    const qint64 target = Offset_At(timeline, t);
    std::vector<unsigned char> buf;
    const qint64 from = std::max<qint64>(0, target - Look_Back);
    if (!source.Read(from, target - from + Look_Back, buf))
        return std::nullopt;
    const mpeg::Bytes b = buf.data();
    const qint64 n = qint64(buf.size());
    qint64 before = -1, after = -1;
    for (qint64 i = 0; (i = mpeg::Find_Start_Code(b, i, n)) >= 0; ++i) {
        if (b[i + 3] != 0xB3)
            continue;
        if (from + i <= target)
            before = i;
        else if (after < 0)
            after = i;
    }
    const qint64 at = before >= 0 ? before : after;
    if (at < 0)
        return Seek_Point{0, 0};
    return Seek_Point{from + at, Time_At(timeline, from + at)};
}

}  // namespace pf
