// SPDX-License-Identifier: GPL-3.0-or-later
#include "mpeg/stream_timeline.h"

#include "mpeg/clock_scan.h"
#include "mpeg/elementary_scan.h"

#include <algorithm>
#include <cmath>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace pf {
namespace {

// The refining walk must not slow the playing file: idle disk class, a lower processor share.
void Lower_Priority()
{
    constexpr int Idle_Class = 3, Class_Shift = 13, Who_Thread = 1;
    ::syscall(SYS_ioprio_set, Who_Thread, 0, Idle_Class << Class_Shift);
    ::setpriority(PRIO_PROCESS, pid_t(::syscall(SYS_gettid)), 10);
}

Stream_Timeline Scan(Byte_Source& source, bool exact)
{
    Stream_Timeline t;
    t.format = Detect_Format(source);
    t.size = source.Size();
    switch (t.format.kind) {
    case Stream_Kind::Program:
    case Stream_Kind::Transport:
        t.parts = exact ? Walk_Clocked(source, t.format) : Sample_Clocked(source, t.format);
        break;
    case Stream_Kind::Elementary: {
        const Stream_Format format = t.format;
        t = exact ? Count_Elementary(source) : Sample_Elementary(source);
        t.format = format;
        t.size = source.Size();
        break;
    }
    case Stream_Kind::None: break;
    }
    t.exact = exact && !source.Cancelled();
    t.Finish();
    return t;
}

}  // namespace

double Stream_Timeline::Total() const
{
    return parts.isEmpty() ? 0.0 : parts.back().start + parts.back().duration;
}

double Stream_Timeline::Total_Frames() const
{
    return To_Frames(Total());
}

int Stream_Timeline::Part_At(double t) const
{
    const auto it
        = std::upper_bound(parts.begin(), parts.end(), t, [](double v, const Stream_Part& p) { return v < p.start; });
    return std::max(0, int(it - parts.begin()) - 1);
}

double Stream_Timeline::Part_Start(int part) const
{
    if (parts.isEmpty())
        return 0;
    return part >= parts.size() ? Total() : parts[std::max(part, 0)].start;
}

double Stream_Timeline::Whole_Time(int part, double local) const
{
    if (part < 0 || part >= parts.size())
        return std::max(0.0, local);
    const Stream_Part& p = parts[part];
    return p.start + std::clamp(local - p.lead, 0.0, p.duration);
}

double Stream_Timeline::To_Frames(double t) const
{
    if (parts.isEmpty())
        return t * frameRate;
    t = std::clamp(t, 0.0, Total());
    const Stream_Part& p = parts[Part_At(t)];
    return p.framesBefore + (t - p.start) * p.frameRate;
}

double Stream_Timeline::From_Frames(double frames) const
{
    if (parts.isEmpty())
        return frameRate > 0 ? frames / frameRate : 0;
    const auto it = std::upper_bound(parts.begin(), parts.end(), frames,
                                     [](double v, const Stream_Part& p) { return v < p.framesBefore; });
    const Stream_Part& p = parts[std::max(0, int(it - parts.begin()) - 1)];
    return std::clamp(p.start + (p.frameRate > 0 ? (frames - p.framesBefore) / p.frameRate : 0), 0.0, Total());
}

Seek_Point Stream_Timeline::Seek_Point_Before(double t) const
{
    const auto it = std::upper_bound(seekPoints.begin(), seekPoints.end(), t,
                                     [](double v, const Seek_Point& s) { return v < s.time; });
    return it == seekPoints.begin() ? Seek_Point{} : *(it - 1);
}

void Stream_Timeline::Finish(double fallbackRate)
{
    // A part that nothing could time has nothing to show.
    parts.removeIf(
        [](const Stream_Part& p) { return !(p.duration > 0) || !std::isfinite(p.duration) || p.end <= p.begin; });
    frameRate = fallbackRate;
    for (const Stream_Part& p : parts)
        if (p.frameRate > 0 && std::isfinite(p.frameRate)) {
            frameRate = p.frameRate;
            break;
        }
    double start = 0, frames = 0;
    for (Stream_Part& p : parts) {
        if (!(p.frameRate > 0) || !std::isfinite(p.frameRate))
            p.frameRate = frameRate;
        p.lead = std::isfinite(p.lead) ? std::max(0.0, p.lead) : 0.0;
        p.start = start;
        p.framesBefore = frames;
        start += p.duration;
        frames += p.duration * p.frameRate;
    }
}

bool Stream_Timeline::Same_Parts(const Stream_Timeline& other) const
{
    return std::equal(parts.begin(), parts.end(), other.parts.begin(), other.parts.end(),
                      [](const Stream_Part& a, const Stream_Part& b) { return a.begin == b.begin && a.end == b.end; });
}

Stream_Timeline Scan_Stream(Byte_Source& source, bool mayWalk)
{
    const qint64 size = source.Size();
    return Scan(source, mayWalk && (size <= Exact_Bytes || (size <= Exact_Cached_Bytes && source.Resident() >= 0.9)));
}

Stream_Timeline Scan_Stream(const QString& path, bool mayWalk)
{
    File_Source source(path);
    return source.Ok() ? Scan_Stream(source, mayWalk) : Stream_Timeline{};
}

Stream_Timeline Refine_Stream(Byte_Source& source)
{
    return Scan(source, true);
}

Stream_Timeline Refine_Stream(const QString& path, const std::atomic<bool>* cancel)
{
    File_Source source(path);
    source.Set_Cancel(cancel);
    return source.Ok() ? Refine_Stream(source) : Stream_Timeline{};
}

Timeline_Refiner::Timeline_Refiner(const QString& path)
{
    worker_ = std::thread([this, path] {
        Lower_Priority();
        Stream_Timeline t = Refine_Stream(path, &cancel_);
        if (!t.exact)
            return;
        const std::lock_guard<std::mutex> lock(mutex_);
        result_ = std::move(t);
    });
}

Timeline_Refiner::~Timeline_Refiner()
{
    cancel_ = true;
    worker_.join();
}

std::optional<Stream_Timeline> Timeline_Refiner::Take()
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return std::exchange(result_, std::nullopt);
}

}  // namespace pf
