// SPDX-License-Identifier: GPL-3.0-or-later
// The join with continuous timestamps: the inputs' bytes one after another, as the byte join
// writes them and in the same length, but on one clock. Every part after the first has its
// clocks moved by one offset so that its first picture follows the previous part's last
// picture by one frame time: in program streams the pack SCR and every PES PTS and DTS, in
// transport streams the PCR, every PTS and DTS, and each PID's continuity counter, so that
// every PID goes on without a jump. The clocks count modulo 2^33. Where a part's first SCRs or
// PCRs would fall behind the previous part's last (its muxer sent its last sound late), they
// are raised just enough to keep rising. Parts are the inputs and, inside an input that is
// itself a byte join, the parts the timeline finds there (Part_Collector's clock rule, which
// also times the pictures).
// The owner feeds each input in order, in pieces of any size, and the rewriter hands the
// output to its sink as soon as it is final; a part's bytes wait until its first pictures have
// been read (at most Lookahead_Bytes), so it holds a few MiB besides the piece being fed. It
// reads and writes no file, needs no event loop and may run on any one thread.
// Left as they are: inputs that are not MPEG and parts whose clock or stamps cannot be found
// (their inputs are told by Unchanged()), and video elementary streams, which carry no clock
// (not told: nothing in them is wrong).
#pragma once

#include "mpeg/part_collector.h"
#include "mpeg/stream_walker.h"

#include <QList>

#include <array>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace pf {

constexpr qint64 Lookahead_Bytes = 4 * 1024 * 1024;  // the most a part waits for its first pictures

class Stamp_Rewriter : private Walk_Sink {
public:
    // Takes the output in order; false when it could not be written.
    using Sink = std::function<bool(const unsigned char*, qint64)>;

    explicit Stamp_Rewriter(Sink sink);
    ~Stamp_Rewriter() override;
    Stamp_Rewriter(const Stamp_Rewriter&) = delete;
    Stamp_Rewriter& operator=(const Stamp_Rewriter&) = delete;

    // `index` names the input in Unchanged().
    void Begin_Input(int index);
    // False once the sink has failed; nothing more is written then.
    bool Feed(const unsigned char* p, qint64 n);
    // Hands out the rest of the input.
    bool End_Input();

    // The inputs left as they were, in order, each once.
    const QList<int>& Unchanged() const { return unchanged_; }

private:
    enum class Mode { Detect, Copy, Rewrite };
    enum class Field_Kind : unsigned char { Pack, Stamp, Pcr, Counter };
    struct Field {
        qint64 off;  // in the input
        Field_Kind kind;
    };
    struct Part_Shift {
        qint64 ticks = 0;
        bool known = false;
        bool kept = false;  // left as it is
    };

    void Start();
    void Walk(bool atEof);
    void Settle(bool atEnd);
    void Decide(size_t part);
    std::optional<double> Chain_End(size_t before) const;
    qint64 Part_Begin(size_t part) const;
    void Emit(qint64 upTo);
    void Hand_Out(qint64 n);
    void Rewrite(const Field& f, const Part_Shift& shift);
    void Rewrite_Clock(unsigned char* q, const Field& f, const Part_Shift& shift);
    void Continue_Counter(unsigned char* q, bool kept);
    void Enter_Part();
    void Note_Unchanged();
    void Note_Stamps(mpeg::Bytes pes, qint64 size, qint64 off);

    void Mark(const Clock_Mark& m) override;
    void Stamp(const Stamp_Event& s) override { collector_->Stamp(s); }
    bool Wants_Video() const override { return collector_->Wants_Video(); }
    void Video(mpeg::Bytes p, qint64 n) override { collector_->Video(p, n); }
    void Unit_End(qint64 off) override { collector_->Unit_End(off); }
    void Unit(mpeg::Bytes p, qint64 size, qint64 off) override;

    Sink sink_;
    bool failed_ = false;
    int index_ = -1;
    Mode mode_ = Mode::Copy;
    std::vector<unsigned char> held_;  // the input's bytes from heldBase_ on, not yet handed out
    qint64 heldBase_ = 0;
    qint64 walked_ = 0;  // the walker is done with the bytes before this
    Stream_Format format_;
    std::optional<Stream_Walker> walker_;
    std::optional<Part_Collector> collector_;
    std::deque<Field> fields_;        // time fields in the held bytes, in order
    std::vector<Part_Shift> shifts_;  // one per part of the input, as the collector has them
    size_t emitPart_ = 0;             // the part of the next byte handed out
    qint64 lastMark_ = 0;             // where the latest clock mark's unit starts
    int marksInPart_ = 0;
    std::optional<double> inputsEnd_;         // where the inputs before this one end on the output's clock
    qint64 handedOut_ = 0;                    // output bytes so far
    std::optional<Clock_Mark> lastClock_;     // the last SCR or PCR written, at its output offset
    bool catchingUp_ = false;                 // the part's clocks are still raised
    std::array<qint8, 8192> lastCounter_{};   // per PID, -1 before its first packet
    std::array<qint8, 8192> counterShift_{};  // per PID within the part, -1 before its first packet
    QList<int> unchanged_;
};

}  // namespace pf
