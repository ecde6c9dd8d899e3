#include "playback/part_collector.h"

#include <algorithm>
#include <cmath>

namespace pf {
namespace {

constexpr double kTick = 1.0 / mpeg::kTicks;
constexpr double kRate_Allowance = 0.75;  // muxers truncate each pack's clock step
constexpr double kOutlier = 0.5;          // seconds a lone damaged clock is off by, at least
// A stamp is shown this long at most after the clock of the bytes that carry it (the standard
// allows one second of buffering), and never much before.
constexpr double kStamp_Before = 0.5, kStamp_After = 3.0;

double Max_Step(Stream_Kind kind) { return kind == Stream_Kind::Transport ? 1.0 : 2.0; }

}  // namespace

void Edge_Stamps::Add(double t)
{
    if (count_ < kKeep)
        head_ = count_ == 0 ? t : std::min(head_, t);
    last_[count_ % kKeep] = t;
    ++count_;
}

double Edge_Stamps::Tail() const
{
    const int n = std::min(count_, kKeep);
    return n == 0 ? 0 : *std::max_element(last_, last_ + n);
}

Edge_Stamps Edge_Stamps::Join(const Edge_Stamps& head, const Edge_Stamps& tail)
{
    Edge_Stamps joined = tail.Any() ? tail : head;
    if (head.Any())
        joined.head_ = head.head_;
    return joined;
}

Part_Timing Time_Part(const Part_Stats& s)
{
    Part_Timing r;
    const double frame = s.frame_rate > 0 ? 1.0 / s.frame_rate : s.step;
    if (s.first_shown && s.last_shown && s.frame_rate > 0) {
        // From the stamped pictures to the first and last ones shown, by display order.
        const double start = s.first_shown->time - (s.first_shown->index - s.index_min) * frame;
        const double end = s.last_shown->time + (s.index_max - s.last_shown->index + 1) * frame;
        r.length = end - start;
        r.lead = s.other.Any() ? std::max(0.0, start - std::min(start, s.other.Head())) : 0.0;
    } else if (s.video.Any()) {
        r.length = s.video.Tail() - s.video.Head() + frame;
        r.lead = s.other.Any() ? std::max(0.0, s.video.Head() - std::min(s.video.Head(), s.other.Head())) : 0.0;
    } else if (s.other.Any()) {
        r.length = s.other.Tail() - s.other.Head();
    }
    if (s.clock_first && s.clock_last && r.length >= 0) {
        // Stamps run beside the clock; a length far from its span comes from broken stamps.
        const double span = *s.clock_last - *s.clock_first;
        if (std::abs(r.length - span) > 2.0 + 0.1 * span)
            r.length = -1;
    }
    if (r.length <= 0 && s.counted > 0)
        r = {s.counted, 0.0};
    return r;
}

bool Breaks_Clock(const Clock_Mark& a, const Clock_Mark& b, Stream_Kind kind)
{
    if (b.after_end)
        return true;
    const double d = b.clock - a.clock;
    if (d < -2 * kTick || d > Max_Step(kind))
        return true;
    const double rate = std::max(a.rate, b.rate);
    return a.rate > 0 && b.rate > 0 && d < kRate_Allowance * double(b.off - a.off) / rate - 2 * kTick;
}

Part_Collector::Part_Collector(Stream_Kind kind, Mode mode, std::optional<Clock_Mark> context, bool count_pictures)
    : kind_(kind), mode_(mode), counting_(count_pictures), prev_(context)
{
    parts_.push_back({});
    if (context)
        parts_.back().begin = context->part_start;
    counter_.Set_Listener(this);
}

void Part_Collector::On_Sequence(const mpeg::Picture_Counter::Sequence& s)
{
    Part_Stats& part = parts_.back();
    if (part.frame_rate == 0)
        part.frame_rate = s.frame_rate;
}

void Part_Collector::On_Picture(const mpeg::Picture_Counter::Picture& p)
{
    // Pictures before the first group header (a window that starts mid-group) count as a group
    // of their own; only a later group's start depends on how much of it was seen.
    if (p.group != group_) {
        if (group_last_ >= 0)
            group_base_ += group_last_ + 1;
        group_ = p.group;
        group_last_ = -1;
    }
    // A stamp belongs to the first picture that starts in its packet's payload.
    std::optional<double> stamp;
    while (!pending_.empty() && pending_.front().first <= p.pos) {
        stamp = pending_.front().second;
        pending_.pop_front();
    }
    group_last_ = std::max(group_last_, p.temporal_reference);
    const double index = group_base_ + p.temporal_reference;
    Part_Stats& part = parts_.back();
    part.index_min = std::min(part.index_min, index);
    part.index_max = std::max(part.index_max, index);
    if (stamp) {
        if (!part.first_shown)
            part.first_shown = Part_Stats::Shown{index, *stamp};
        part.last_shown = Part_Stats::Shown{index, *stamp};
    }
}

void Part_Collector::Open_Part(qint64 begin)
{
    Close_Count();
    before_seam_ = {group_, group_base_, group_last_};
    pending_.clear();
    group_base_ = 0;
    group_last_ = -1;
    parts_.push_back({});
    parts_.back().begin = begin;
}

void Part_Collector::Close_Count()
{
    if (!counting_)
        return;
    counter_.Finish();
    parts_.back().counted = counter_.Seconds() - counted_at_begin_;
    counted_at_begin_ = counter_.Seconds();
}

void Part_Collector::Mark(const Clock_Mark& m)
{
    if (!first_)
        first_ = m;
    if (mode_ == Mode::Judge && prev_ && Breaks_Clock(*prev_, m, kind_)) {
        const bool lone = fresh_seam_ && before_prev_ && !prev_->after_end && !Breaks_Clock(*before_prev_, m, kind_)
                          && std::abs(prev_->clock - before_prev_->clock) > kOutlier && parts_.size() > 1;
        if (lone) {
            // The previous mark was damage: its part goes back into the one before.
            const qint64 gone_end = parts_.back().data_end;
            parts_.pop_back();
            Part_Stats& back = parts_.back();
            back.data_end = std::max(back.data_end, gone_end);
            if (back.counted >= 0)
                counted_at_begin_ -= back.counted;
            std::tie(group_, group_base_, group_last_) = before_seam_;
            prev_ = before_prev_;
            fresh_seam_ = false;
        } else {
            Open_Part(m.part_start);
            before_prev_ = prev_;
            prev_ = m;
            fresh_seam_ = true;
            parts_.back().clock_first = parts_.back().clock_last = m.clock;
            return;
        }
    } else {
        fresh_seam_ = false;
    }
    before_prev_ = prev_;
    prev_ = m;
    Part_Stats& part = parts_.back();
    part.clock_first = part.clock_first.value_or(m.clock);
    part.clock_last = m.clock;
}

void Part_Collector::Stamp(const Stamp_Event& s)
{
    Part_Stats& part = parts_.back();
    if (part.clock_last && (s.time < *part.clock_last - kStamp_Before || s.time > *part.clock_last + kStamp_After))
        return;
    if (!s.video) {
        part.other.Add(s.time);
        return;
    }
    if (part.last_video && s.time > *part.last_video)
        part.step = part.step > 0 ? std::min(part.step, s.time - *part.last_video) : s.time - *part.last_video;
    part.last_video = s.time;
    part.video.Add(s.time);
    if (counting_)
        pending_.push_back({counter_.Fed(), s.time});
}

void Part_Collector::Video(mpeg::Bytes p, qint64 n)
{
    counter_.Feed(p, n);
}

void Part_Collector::Unit_End(qint64 off)
{
    ++units_;
    parts_.back().data_end = off;
}

const std::vector<Part_Stats>& Part_Collector::Finish()
{
    Close_Count();
    if (!counting_)
        for (Part_Stats& p : parts_)
            p.counted = -1;
    return parts_;
}

}  // namespace pf
