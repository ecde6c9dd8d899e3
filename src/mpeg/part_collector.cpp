// SPDX-License-Identifier: GPL-3.0-or-later
#include "mpeg/part_collector.h"

#include <algorithm>
#include <cmath>

namespace pf {
namespace {

constexpr double Rate_Allowance = 0.75;  // muxers truncate each pack's clock step
constexpr double Outlier = 0.5;          // seconds a lone damaged clock is off by, at least
// A stamp is shown this long at most after the clock of the bytes that carry it (the standard
// allows one second of buffering), and never much before.
constexpr double Stamp_Before = 0.5, Stamp_After = 3.0;

double Max_Step(Stream_Kind kind)
{
    return kind == Stream_Kind::Transport ? 1.0 : 2.0;
}

}  // namespace

void Edge_Stamps::Add(double t)
{
    if (count_ < Keep)
        head_ = count_ == 0 ? t : std::min(head_, t);
    last_[count_ % Keep] = t;
    ++count_;
}

double Edge_Stamps::Tail() const
{
    const int n = std::min(count_, Keep);
    return n == 0 ? 0 : *std::max_element(last_, last_ + n);
}

Edge_Stamps Edge_Stamps::Join(const Edge_Stamps& head, const Edge_Stamps& tail)
{
    Edge_Stamps joined = tail.Any() ? tail : head;
    if (head.Any())
        joined.head_ = head.head_;
    return joined;
}

std::optional<Shown_Span> Span_Of(const Part_Stats& s)
{
    const double frame = s.frameRate > 0 ? 1.0 / s.frameRate : s.step;
    if (s.firstShown && s.lastShown && s.frameRate > 0)
        return Shown_Span{s.firstShown->time - (s.firstShown->index - s.indexMin) * frame,
                          s.lastShown->time + (s.indexMax - s.lastShown->index + 1) * frame};
    if (s.video.Any())
        return Shown_Span{s.video.Head(), s.video.Tail() + frame};
    if (s.other.Any())
        return Shown_Span{s.other.Head(), s.other.Tail()};
    return std::nullopt;
}

Part_Timing Time_Part(const Part_Stats& s)
{
    Part_Timing r;
    if (const auto span = Span_Of(s)) {
        r.length = span->end - span->first;
        if (s.video.Any() && s.other.Any())  // how long after the other streams its pictures start
            r.lead = std::max(0.0, span->first - s.other.Head());
    }
    if (s.clockFirst && s.clockLast && r.length >= 0) {
        // Stamps run beside the clock; a length far from its span comes from broken stamps.
        const double span = *s.clockLast - *s.clockFirst;
        if (std::abs(r.length - span) > 2.0 + 0.1 * span)
            r.length = -1;
    }
    if (r.length <= 0 && s.counted > 0)
        r = {s.counted, 0.0};
    return r;
}

bool Breaks_Clock(const Clock_Mark& a, const Clock_Mark& b, Stream_Kind kind)
{
    if (b.afterEnd)
        return true;
    const double d = b.clock - a.clock;
    if (d < -2 * mpeg::Tick_Seconds || d > Max_Step(kind))
        return true;
    const double rate = std::max(a.rate, b.rate);
    return a.rate > 0 && b.rate > 0 && d < Rate_Allowance * double(b.off - a.off) / rate - 2 * mpeg::Tick_Seconds;
}

Part_Collector::Part_Collector(Stream_Kind kind, Mode mode, std::optional<Clock_Mark> context, bool countPictures)
    : kind_(kind), mode_(mode), counting_(countPictures), prev_(context)
{
    parts_.push_back({});
    if (context)
        parts_.back().begin = context->partStart;
    counter_.Set_Listener(this);
}

void Part_Collector::On_Sequence(const mpeg::Picture_Counter::Sequence& s)
{
    Part_Stats& part = parts_.back();
    if (part.frameRate == 0)
        part.frameRate = s.frameRate;
}

void Part_Collector::On_Picture(const mpeg::Picture_Counter::Picture& p)
{
    // Pictures before the first group header (a window that starts mid-group) count as a group
    // of their own; only a later group's start depends on how much of it was seen.
    if (p.group != group_) {
        if (groupLast_ >= 0)
            groupBase_ += groupLast_ + 1;
        group_ = p.group;
        groupLast_ = -1;
    }
    // A stamp belongs to the first picture that starts in its packet's payload.
    std::optional<double> stamp;
    while (!pending_.empty() && pending_.front().first <= p.pos) {
        stamp = pending_.front().second;
        pending_.pop_front();
    }
    groupLast_ = std::max(groupLast_, p.temporalReference);
    const double index = groupBase_ + p.temporalReference;
    Part_Stats& part = parts_.back();
    part.indexMin = std::min(part.indexMin, index);
    part.indexMax = std::max(part.indexMax, index);
    if (stamp) {
        if (!part.firstShown)
            part.firstShown = Part_Stats::Shown{index, *stamp};
        part.lastShown = Part_Stats::Shown{index, *stamp};
    }
}

void Part_Collector::Open_Part(qint64 begin)
{
    Close_Count();
    beforeSeam_ = {group_, groupBase_, groupLast_};
    pending_.clear();
    groupBase_ = 0;
    groupLast_ = -1;
    parts_.push_back({});
    parts_.back().begin = begin;
}

void Part_Collector::Close_Count()
{
    if (!counting_)
        return;
    counter_.Finish();
    parts_.back().counted = counter_.Seconds() - countedAtBegin_;
    countedAtBegin_ = counter_.Seconds();
}

void Part_Collector::Mark(const Clock_Mark& m)
{
    if (!first_)
        first_ = m;
    if (mode_ == Mode::Judge && prev_ && Breaks_Clock(*prev_, m, kind_)) {
        const bool lone = freshSeam_ && beforePrev_ && !prev_->afterEnd && !Breaks_Clock(*beforePrev_, m, kind_)
            && std::abs(prev_->clock - beforePrev_->clock) > Outlier && parts_.size() > 1;
        if (lone) {
            // The previous mark was damage: its part goes back into the one before.
            const qint64 goneEnd = parts_.back().dataEnd;
            parts_.pop_back();
            Part_Stats& back = parts_.back();
            back.dataEnd = std::max(back.dataEnd, goneEnd);
            if (back.counted >= 0)
                countedAtBegin_ -= back.counted;
            std::tie(group_, groupBase_, groupLast_) = beforeSeam_;
            prev_ = beforePrev_;
            freshSeam_ = false;
        } else {
            Open_Part(m.partStart);
            beforePrev_ = prev_;
            prev_ = m;
            freshSeam_ = true;
            parts_.back().clockFirst = parts_.back().clockLast = m.clock;
            return;
        }
    } else {
        freshSeam_ = false;
    }
    beforePrev_ = prev_;
    prev_ = m;
    Part_Stats& part = parts_.back();
    part.clockFirst = part.clockFirst.value_or(m.clock);
    part.clockLast = m.clock;
}

void Part_Collector::Stamp(const Stamp_Event& s)
{
    Part_Stats& part = parts_.back();
    if (part.clockLast && (s.time < *part.clockLast - Stamp_Before || s.time > *part.clockLast + Stamp_After))
        return;
    if (!s.video) {
        part.other.Add(s.time);
        return;
    }
    if (part.lastVideo && s.time > *part.lastVideo)
        part.step = part.step > 0 ? std::min(part.step, s.time - *part.lastVideo) : s.time - *part.lastVideo;
    part.lastVideo = s.time;
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
    parts_.back().dataEnd = off;
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
