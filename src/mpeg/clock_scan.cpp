// SPDX-License-Identifier: GPL-3.0-or-later
#include "mpeg/clock_scan.h"

#include "mpeg/part_collector.h"

#include <algorithm>
#include <map>

namespace pf {
namespace {

constexpr qint64 Fine_Bytes = 16 * 1024;          // intervals walked whole
constexpr qint64 Probe_Bytes = 4 * 1024;          // first read of a sample
constexpr qint64 Probe_Dead = 64 * 1024;          // a sample with no unit in this much is dead
constexpr qint64 Probe_Max = 1024 * 1024;         // nor with no clock in this much
constexpr qint64 Grid_Step = 256 * 1024;          // smallest grid spacing
constexpr qint64 Grid_Points = 2048;              // most grid samples
constexpr qint64 Cold_Grid_Points = 256;          // when they must come from the disk, one seek each
constexpr qint64 Read_Budget = 48 * 1024 * 1024;  // reading for seams stops here; the rest is estimated
constexpr qint64 Edge_Bytes = 8 * 1024;           // first size of a part's head and tail windows
constexpr qint64 Edge_Max = 1024 * 1024;
constexpr int Edge_Stamp_Count = 4;
constexpr qint64 Count_Whole = 4 * 1024 * 1024;  // an untimed part up to this is counted whole
constexpr int Density_Windows = 16;
constexpr qint64 Density_Window = 64 * 1024;

using Mode = Part_Collector::Mode;

Stream_Part Make_Part(const Part_Stats& s, qint64 end)
{
    const Part_Timing t = Time_Part(s);
    Stream_Part p;
    p.begin = s.begin;
    p.end = end;
    p.duration = t.length;
    p.lead = t.lead;
    p.frameRate = s.frameRate > 0 ? s.frameRate : s.step > 0 ? 1.0 / s.step : 0;
    return p;
}

struct Point {
    qint64 off = 0;
    std::optional<Clock_Mark> first, last;  // the first and last clocks read from `off` on
    bool dead = false;                      // no unit at all there: zeros, garbage, the end
    bool Live() const { return first.has_value(); }
};

struct Tentative {  // a part as the seams found so far bound it
    qint64 begin = 0, end = 0;
    Part_Stats stats;
    double Rate() const  // seconds of clock per byte
    {
        const double span = stats.clockFirst && stats.clockLast ? *stats.clockLast - *stats.clockFirst : 0;
        return span > 0 && end > begin ? span / double(end - begin) : 0;
    }
};

class Sampler {
public:
    Sampler(Byte_Source& source, const Stream_Format& format) : src_(source), format_(format), walker_(format) {}
    QList<Stream_Part> Run();

private:
    Point Probe(qint64 off);
    bool Suspicious(const Point& a, const Point& b) const;
    void Refine(const Point& a, const Point& b);
    void Fine(const Point& a, const Point& b);
    void Note_Seams(const std::vector<Part_Stats>& parts);
    std::vector<Tentative> Parts();
    static double Whole_Part_Rate(const std::vector<Tentative>& parts);
    bool Hides_Seams(const Tentative& part, double wholeRate, double length);
    void Time_Hidden(const std::vector<Tentative>& parts, QList<Stream_Part>& timed);
    qint64 Data_End(qint64 begin, qint64 next) const;
    Part_Stats Gather(qint64 from, qint64 to, bool count, Stream_Walker& walker);
    Part_Stats Edges(qint64 begin, qint64 end);
    double Count(qint64 begin, qint64 end);

    Byte_Source& src_;
    Stream_Format format_;
    Stream_Walker walker_;  // what the walks so far learnt (the transport's PIDs)
    std::vector<unsigned char> buf_;
    std::map<qint64, qint64> seams_;                  // part begin -> data end of the part before it, or -1
    std::vector<qint64> ends_;                        // data ends followed by bytes without units
    std::vector<std::pair<qint64, qint64>> unsplit_;  // suspicious intervals the budget left alone
    std::optional<Clock_Mark> lastWalked_;
    qint64 budgetEnd_ = 0;  // splitting intervals stops when this much has been read
};

Point Sampler::Probe(qint64 off)
{
    for (qint64 len = Probe_Bytes;; len *= 4) {
        Stream_Walker w = walker_;
        Part_Collector c(format_.kind, Mode::Judge, std::nullopt, false);
        w.Walk(src_, off, off + len, c, buf_);
        // Data without a clock so far (a long stretch between packs) is read on; bytes without
        // any unit (zeros, garbage) are given up soon.
        const bool dead = c.Units() == 0 && (len >= Probe_Dead || off + len >= src_.Size());
        if (c.First_Mark() || dead || off + len >= src_.Size() || len >= Probe_Max) {
            Note_Seams(c.Finish());
            if (off == 0)
                walker_ = w;
            return {off, c.First_Mark(), c.Last_Mark(), dead};
        }
    }
}

void Sampler::Note_Seams(const std::vector<Part_Stats>& parts)
{
    for (size_t i = 1; i < parts.size(); ++i) {
        const qint64 end = parts[i - 1].dataEnd > parts[i - 1].begin ? parts[i - 1].dataEnd : -1;
        qint64& known = seams_.try_emplace(parts[i].begin, -1).first->second;
        known = std::max(known, end);
    }
}

// Whether [a, b] must hold a seam, or the edge of the data, by the clock's own rule.
bool Sampler::Suspicious(const Point& a, const Point& b) const
{
    if (a.dead && b.dead)
        return false;  // nothing to find in bytes without units
    if (!a.last || !b.first)
        return true;  // data begins or ends inside, or a stretch without clocks
    const Clock_Mark& x = *a.last;
    const Clock_Mark& y = *b.first;
    const double d = y.clock - x.clock;
    if (y.afterEnd || d < -2 * mpeg::Tick_Seconds)
        return true;
    return x.rate > 0 && y.rate > 0
        && d < 0.75 * double(y.off - x.off) / std::max(x.rate, y.rate) - 2 * mpeg::Tick_Seconds;
}

void Sampler::Refine(const Point& a, const Point& b)
{
    if (!Suspicious(a, b))
        return;
    if (src_.Cancelled() || src_.Bytes_Read() > budgetEnd_) {
        unsplit_.emplace_back(a.off, b.off);
        return;
    }
    if (b.off - a.off <= Fine_Bytes) {
        Fine(a, b);
        return;
    }
    const Point m = Probe(a.off + (b.off - a.off) / 2);
    Refine(a, m);
    Refine(m, b);
}

void Sampler::Fine(const Point& a, const Point& b)
{
    // After bytes without units, the first clock is judged against the last one before them.
    std::optional<Clock_Mark> context;
    if (!a.Live() && lastWalked_ && lastWalked_->off < a.off)
        context = lastWalked_;
    Part_Collector c(format_.kind, Mode::Judge, context, false);
    Stream_Walker w = walker_;
    w.Walk(src_, a.off, b.first ? b.first->off + 1 : b.off, c, buf_);
    const std::vector<Part_Stats>& parts = c.Finish();
    Note_Seams(parts);
    if (b.dead && parts.back().dataEnd > parts.back().begin)
        ends_.push_back(parts.back().dataEnd);
    if (c.Last_Mark())
        lastWalked_ = c.Last_Mark();
    walker_ = w;
}

// The rate of whole parts, seconds of clock per byte (0 when no part has one): a part that
// hides others runs slower than its bytes, so the upper quartile of the parts' rates is theirs.
double Sampler::Whole_Part_Rate(const std::vector<Tentative>& parts)
{
    std::vector<double> rates;
    for (const Tentative& p : parts)
        if (p.Rate() > 0)
            rates.push_back(p.Rate());
    if (rates.empty())
        return 0;
    const auto at = rates.begin() + qsizetype(rates.size() * 3 / 4);
    std::nth_element(rates.begin(), at, rates.end());
    return *at;
}

// Whether seams still hide in the part: the reading budget left a suspicious interval in it
// unsplit, or its clock runs clearly slower than whole parts' and its pictures, counted in
// windows, last much longer than its stamps say (a part of a higher bit rate is whole).
bool Sampler::Hides_Seams(const Tentative& part, double wholeRate, double length)
{
    for (const auto& [from, to] : unsplit_)
        if (from < part.end && to > part.begin)
            return true;
    if (part.end - part.begin < 4 * Fine_Bytes || !(part.Rate() < 0.8 * wholeRate))
        return false;
    if (src_.Bytes_Read() > budgetEnd_ + Read_Budget)
        return true;  // no reading left to tell: the clock has the say
    return Count(part.begin, part.end) > 1.5 * length;
}

// A part that hides seams is timed by its bytes, at the seconds per byte of the whole parts (or
// at the whole parts' clock rate when none is left whole): clips of one kind come out exact.
void Sampler::Time_Hidden(const std::vector<Tentative>& parts, QList<Stream_Part>& timed)
{
    const double rate = Whole_Part_Rate(parts);
    std::vector<bool> hiding;
    double seconds = 0, bytes = 0;
    for (size_t i = 0; i < parts.size(); ++i) {
        hiding.push_back(Hides_Seams(parts[i], rate, timed[qsizetype(i)].duration));
        if (!hiding.back() && timed[qsizetype(i)].duration > 0) {
            seconds += timed[qsizetype(i)].duration;
            bytes += double(parts[i].end - parts[i].begin);
        }
    }
    for (size_t i = 0; i < parts.size(); ++i) {
        if (!hiding[i])
            continue;
        const double size = double(parts[i].end - parts[i].begin);
        timed[qsizetype(i)].duration = (seconds > 0 && bytes > 0 ? seconds / bytes : rate) * size;
    }
}

std::vector<Tentative> Sampler::Parts()
{
    const qint64 size = src_.Size();
    std::vector<qint64> begins{0};
    for (const auto& [begin, end] : seams_)
        if (begin > 0 && begin < size)
            begins.push_back(begin);
    std::vector<Tentative> parts;
    for (size_t i = 0; i < begins.size() && !src_.Cancelled(); ++i) {
        const qint64 next = i + 1 < begins.size() ? begins[i + 1] : size;
        const qint64 end = Data_End(begins[i], next);
        parts.push_back({begins[i], end, Edges(begins[i], end)});
    }
    return parts;
}

qint64 Sampler::Data_End(qint64 begin, qint64 next) const
{
    if (const auto it = seams_.find(next); it != seams_.end() && it->second > begin)
        return std::min(it->second, next);
    qint64 end = -1;
    for (qint64 e : ends_)
        if (e > begin && e <= next)
            end = std::max(end, e);
    return end > begin ? end : next;
}

Part_Stats Sampler::Gather(qint64 from, qint64 to, bool count, Stream_Walker& walker)
{
    Part_Collector c(format_.kind, Mode::Gather, std::nullopt, count);
    walker.Walk(src_, from, to, c, buf_);
    Part_Stats s = c.Finish().front();
    s.begin = from;
    return s;
}

// The part's times from its two ends; each window grows until it holds a few picture stamps.
Part_Stats Sampler::Edges(qint64 begin, qint64 end)
{
    Stream_Walker walker(format_);  // a part brings its own tables
    Part_Stats head;
    for (qint64 e = Edge_Bytes;; e *= 4) {
        if (end - begin <= 2 * e)
            return Gather(begin, end, true, walker);
        Stream_Walker w(format_);
        head = Gather(begin, begin + e, true, w);
        walker = w;
        // A part with no pictures in its first windows is taken for one of sound alone.
        if (head.firstShown || e >= Edge_Max
            || (!head.video.Any() && e >= Probe_Dead && head.other.Count() >= Edge_Stamp_Count))
            break;
    }
    Part_Stats tail;
    for (qint64 e = Edge_Bytes;; e *= 4) {
        Stream_Walker w = walker;
        tail = Gather(end - e, end, true, w);
        if (tail.lastShown || e >= Edge_Max || (!head.video.Any() && tail.other.Count() >= Edge_Stamp_Count))
            break;
    }
    Part_Stats s = head;
    s.video = Edge_Stamps::Join(head.video, tail.video);
    s.other = Edge_Stamps::Join(head.other, tail.other);
    s.clockLast = tail.clockLast ? tail.clockLast : head.clockLast;
    s.lastShown = tail.lastShown;
    s.indexMax = tail.indexMax;
    s.step = head.step > 0 && tail.step > 0 ? std::min(head.step, tail.step) : std::max(head.step, tail.step);
    s.begin = begin;
    return s;
}

// Seconds of the part's pictures: counted whole when small, else from evenly spread windows.
double Sampler::Count(qint64 begin, qint64 end)
{
    Stream_Walker walker(format_);
    if (end - begin <= Count_Whole)
        return Gather(begin, end, true, walker).counted;
    double seconds = 0, bytes = 0;
    for (int i = 0; i < Density_Windows; ++i) {
        const qint64 at = begin + (end - begin - Density_Window) / (Density_Windows - 1) * i;
        seconds += std::max(0.0, Gather(at, at + Density_Window, true, walker).counted);
        bytes += Density_Window;
    }
    return seconds / bytes * double(end - begin);
}

QList<Stream_Part> Sampler::Run()
{
    src_.Expect_Sequential(false);
    const qint64 size = src_.Size();
    const qint64 points
        = std::clamp<qint64>(size / Grid_Step, 1, src_.Resident() >= 0.5 ? Grid_Points : Cold_Grid_Points);
    const qint64 step = size / points;
    std::vector<Point> grid;
    for (qint64 i = 0; i < points; ++i)
        grid.push_back(Probe(i * step));
    // The file's tail is sampled too, so that a part between the last grid point and the end,
    // however short, is not taken for bytes without units.
    const qint64 tail = std::max(grid.back().off + 1, size - Probe_Dead);
    if (tail < size)
        grid.push_back(Probe(tail));
    grid.push_back({size, std::nullopt, std::nullopt, true});  // no data after the end
    budgetEnd_ = src_.Bytes_Read() + Read_Budget;
    for (size_t i = 0; i + 1 < grid.size(); ++i)
        Refine(grid[i], grid[i + 1]);
    std::vector<Tentative> parts = Parts();
    QList<Stream_Part> result;
    for (Tentative& p : parts) {
        if (Time_Part(p.stats).length <= 0)
            p.stats.counted = Count(p.begin, p.end);
        result << Make_Part(p.stats, p.end);
    }
    Time_Hidden(parts, result);
    return result;
}

}  // namespace

QList<Stream_Part> Walk_Clocked(Byte_Source& source, const Stream_Format& format)
{
    if (format.kind != Stream_Kind::Program && format.kind != Stream_Kind::Transport)
        return {};
    source.Expect_Sequential(true);
    Stream_Walker walker(format);
    Part_Collector c(format.kind, Mode::Judge, std::nullopt, true);
    std::vector<unsigned char> buf;
    if (!walker.Walk(source, 0, source.Size(), c, buf))
        return {};
    const std::vector<Part_Stats>& stats = c.Finish();
    QList<Stream_Part> parts;
    for (size_t i = 0; i < stats.size(); ++i) {
        const qint64 next = i + 1 < stats.size() ? stats[i + 1].begin : source.Size();
        parts << Make_Part(stats[i], stats[i].dataEnd > stats[i].begin ? std::min(stats[i].dataEnd, next) : next);
    }
    return parts;
}

QList<Stream_Part> Sample_Clocked(Byte_Source& source, const Stream_Format& format)
{
    if (format.kind != Stream_Kind::Program && format.kind != Stream_Kind::Transport)
        return {};
    return Sampler(source, format).Run();
}

}  // namespace pf
