// SPDX-License-Identifier: GPL-3.0-or-later
// Turns the events of one walk into parts. Seam rule, between one clock mark and the next:
// within one part the clock never falls back, never jumps ahead by more than a pack or PCR
// interval allows, and advances at least as fast as the bytes between the marks can arrive
// at the stream's mux rate (less a rounding allowance, since muxers truncate). A mark that
// breaks the rule begins a new part, and so does a program end code. A single mark whose
// clock is far off while its neighbours agree is damage, not a seam, and is dropped.
// Per part it keeps the first and last presentation stamps (only stamps that fit the clock
// beside them count), the clock's span and where its data ends. When it also reads the video
// (countPictures), it ties each picture stamp to its picture and knows every picture's place
// in display order (temporalReference within its group), so the part's first and last shown
// pictures are timed even when, as muxers do, only some pictures carry a stamp; and it counts
// the pictures, from which Time_Part makes the part's length when its stamps cannot.
#pragma once

#include "mpeg/stream_walker.h"

#include <deque>
#include <limits>
#include <optional>
#include <tuple>
#include <vector>

namespace pf {

// The first few and the last few stamps of one kind: reordered pictures make the earliest and
// latest stamps lie a few units from the ends.
class Edge_Stamps {
public:
    void Add(double t);
    bool Any() const { return count_ > 0; }
    double Head() const { return head_; }
    double Tail() const;
    int Count() const { return count_; }
    // The head of `head` with the tail of `tail` (the two ends of a part read apart).
    static Edge_Stamps Join(const Edge_Stamps& head, const Edge_Stamps& tail);

private:
    static constexpr int Keep = 8;
    double head_ = 0;
    double last_[Keep] = {};
    int count_ = 0;
};

struct Part_Stats {
    struct Shown {
        double index = 0;  // place in display order
        double time = 0;   // its stamp
    };
    qint64 begin = 0;
    qint64 dataEnd = 0;  // one past its last whole unit
    std::optional<double> clockFirst, clockLast;
    Edge_Stamps video, other;
    double step = 0;       // smallest rise between successive picture stamps
    double frameRate = 0;  // of its first sequence header
    double counted = -1;   // seconds of its pictures when they were counted; -1 when not
    std::optional<double> lastVideo;
    std::optional<Shown> firstShown, lastShown;  // first and last stamped pictures
    double indexMin = std::numeric_limits<double>::infinity();
    double indexMax = -std::numeric_limits<double>::infinity();
};

// Where a part's pictures start and where its last one ends, on its own clock (seconds): by
// display order from its stamped pictures, else from its earliest and latest picture stamps
// (and a frame), else from its other stamps; nothing when it has no stamp that fits its clock.
struct Shown_Span {
    double first = 0, end = 0;
};
std::optional<Shown_Span> Span_Of(const Part_Stats& stats);

// The length in seconds and the lead of a part (how long after its earliest stamp of any
// stream its first picture comes); length < 0 when neither stamps nor a count can time it.
struct Part_Timing {
    double length = -1;
    double lead = 0;
};
Part_Timing Time_Part(const Part_Stats& stats);

// True when the clock from `a` to `b` cannot belong to one part (the rule above).
bool Breaks_Clock(const Clock_Mark& a, const Clock_Mark& b, Stream_Kind kind);

class Part_Collector : public Walk_Sink, private mpeg::Picture_Counter::Listener {
public:
    enum class Mode { Judge, Gather };  // Gather: one part whatever the clock says
    // `context`: the last mark before the walk, when known; seams are judged from it.
    Part_Collector(Stream_Kind kind, Mode mode, std::optional<Clock_Mark> context, bool countPictures);

    void Mark(const Clock_Mark& m) override;
    void Stamp(const Stamp_Event& s) override;
    bool Wants_Video() const override { return counting_; }
    void Video(mpeg::Bytes p, qint64 n) override;
    void Unit_End(qint64 off) override;

    // Ends the walk; Parts() then holds every part seen, the first one continuing the context's.
    const std::vector<Part_Stats>& Finish();
    const std::vector<Part_Stats>& Parts() const { return parts_; }
    const std::optional<Clock_Mark>& Last_Mark() const { return prev_; }
    const std::optional<Clock_Mark>& First_Mark() const { return first_; }
    qint64 Units() const { return units_; }  // well-formed units seen

private:
    void Open_Part(qint64 begin);
    void Close_Count();
    void On_Sequence(const mpeg::Picture_Counter::Sequence& s) override;
    void On_Picture(const mpeg::Picture_Counter::Picture& p) override;

    Stream_Kind kind_;
    Mode mode_;
    bool counting_;
    std::vector<Part_Stats> parts_;
    std::optional<Clock_Mark> prev_, beforePrev_, first_;
    bool freshSeam_ = false;
    qint64 units_ = 0;  // the current part began at prev_ on the clock's word alone
    mpeg::Picture_Counter counter_;
    double countedAtBegin_ = 0;
    std::deque<std::pair<qint64, double>> pending_;  // picture stamps: where their payload begins
    int group_ = -1;  // group of pictures being read, and where it starts in display order
    double groupBase_ = 0;
    int groupLast_ = -1;                       // highest temporalReference in it so far
    std::tuple<int, double, int> beforeSeam_;  // the three above when the last part began
};

}  // namespace pf
