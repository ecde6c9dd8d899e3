// SPDX-License-Identifier: GPL-3.0-or-later
#include "mpeg/stamp_rewriter.h"

#include <cmath>
#include <limits>

namespace pf {
namespace {

constexpr double Lookahead_Seconds = 2.0;  // of clock: a part's first groups of pictures are in by then
constexpr qint64 No_End = std::numeric_limits<qint64>::max();
constexpr unsigned Null_Pid = 0x1FFF;

}  // namespace

Stamp_Rewriter::Stamp_Rewriter(Sink sink) : sink_(std::move(sink))
{
    lastCounter_.fill(-1);
}

Stamp_Rewriter::~Stamp_Rewriter() = default;

void Stamp_Rewriter::Begin_Input(int index)
{
    index_ = index;
    mode_ = Mode::Detect;
    held_.clear();
    heldBase_ = walked_ = lastMark_ = 0;
    fields_.clear();
    shifts_.assign(1, {});
    emitPart_ = 0;
    marksInPart_ = 0;
    Enter_Part();
    walker_.reset();
    collector_.reset();
}

bool Stamp_Rewriter::Feed(const unsigned char* p, qint64 n)
{
    if (failed_ || n <= 0)
        return !failed_;
    if (mode_ == Mode::Copy) {
        failed_ = !sink_(p, n);
        handedOut_ += n;
        return !failed_;
    }
    held_.insert(held_.end(), p, p + n);
    if (mode_ == Mode::Detect) {
        if (qint64(held_.size()) < Detect_Bytes)
            return true;
        Start();
    }
    if (mode_ == Mode::Rewrite) {
        Walk(false);
        Settle(false);
    }
    return !failed_;
}

bool Stamp_Rewriter::End_Input()
{
    if (mode_ == Mode::Detect)
        Start();
    if (mode_ == Mode::Rewrite) {
        Walk(true);
        collector_->Finish();
        Settle(true);
        inputsEnd_ = Chain_End(shifts_.size());
    }
    mode_ = Mode::Copy;
    return !failed_;
}

void Stamp_Rewriter::Start()
{
    Memory_Source head(QByteArray::fromRawData(reinterpret_cast<const char*>(held_.data()), qsizetype(held_.size())));
    format_ = Detect_Format(head);
    if (format_.kind == Stream_Kind::Program || format_.kind == Stream_Kind::Transport) {
        mode_ = Mode::Rewrite;
        walker_.emplace(format_);
        collector_.emplace(format_.kind, Part_Collector::Mode::Judge, std::nullopt, true);
        return;
    }
    if (format_.kind == Stream_Kind::None && !held_.empty())
        Note_Unchanged();
    mode_ = Mode::Copy;
    Hand_Out(qint64(held_.size()));
}

void Stamp_Rewriter::Walk(bool atEof)
{
    const qint64 end = heldBase_ + qint64(held_.size());
    walked_ += walker_->Walk_Bytes(held_.data() + (walked_ - heldBase_), end - walked_, walked_, No_End, atEof, *this);
}

// Decides the current part's shift once its first pictures are in, and hands out what is final:
// bytes before the latest clock mark (a part that a later mark begins starts after it), and
// none of an undecided part.
void Stamp_Rewriter::Settle(bool atEnd)
{
    const size_t current = shifts_.size() - 1;
    const Part_Stats& stats = collector_->Parts()[current];
    const bool seen = walked_ - Part_Begin(current) >= Lookahead_Bytes
        || (marksInPart_ >= 2 && stats.clockFirst && *stats.clockLast - *stats.clockFirst >= Lookahead_Seconds);
    if (!shifts_[current].known && (atEnd || seen))
        Decide(current);
    qint64 upTo = atEnd ? heldBase_ + qint64(held_.size()) : std::min(walked_, lastMark_);
    if (!shifts_[current].known)
        upTo = std::min(upTo, Part_Begin(current));
    else if (walked_ - upTo > Lookahead_Bytes)
        upTo = walked_;  // no clock for long: nothing to wait for
    Emit(upTo);
}

void Stamp_Rewriter::Decide(size_t part)
{
    Part_Shift& shift = shifts_[part];
    shift.known = true;
    const auto span = Span_Of(collector_->Parts()[part]);
    if (!span) {
        shift.kept = true;
        Note_Unchanged();
        return;
    }
    const auto chain = Chain_End(part);
    shift.ticks = chain ? std::llround((*chain - span->first) * mpeg::Ticks_Per_Second) : 0;
}

// Where the last shown part before `before` ends on the output's clock.
std::optional<double> Stamp_Rewriter::Chain_End(size_t before) const
{
    for (size_t k = before; k-- > 0;) {
        if (shifts_[k].kept)
            continue;
        if (const auto span = Span_Of(collector_->Parts()[k]))
            return span->end + double(shifts_[k].ticks) / mpeg::Ticks_Per_Second;
    }
    return inputsEnd_;
}

qint64 Stamp_Rewriter::Part_Begin(size_t part) const
{
    return collector_->Parts()[part].begin;
}

void Stamp_Rewriter::Emit(qint64 upTo)
{
    const std::vector<Part_Stats>& parts = collector_->Parts();
    while (!fields_.empty() && fields_.front().off < upTo) {
        const Field f = fields_.front();
        fields_.pop_front();
        for (; emitPart_ + 1 < parts.size() && parts[emitPart_ + 1].begin <= f.off; ++emitPart_)
            Enter_Part();
        Rewrite(f, shifts_[emitPart_]);
    }
    Hand_Out(upTo - heldBase_);
}

void Stamp_Rewriter::Hand_Out(qint64 n)
{
    if (n <= 0)
        return;
    failed_ = failed_ || !sink_(held_.data(), n);
    held_.erase(held_.begin(), held_.begin() + n);
    heldBase_ += n;
    handedOut_ += n;
}

void Stamp_Rewriter::Rewrite(const Field& f, const Part_Shift& shift)
{
    unsigned char* q = held_.data() + (f.off - heldBase_);
    switch (f.kind) {
    case Field_Kind::Counter: Continue_Counter(q, shift.kept); break;
    case Field_Kind::Pack:
    case Field_Kind::Pcr: Rewrite_Clock(q, f, shift); break;
    case Field_Kind::Stamp:
        if (!shift.kept && shift.ticks != 0)
            mpeg::Shift_Stamp(q, shift.ticks);
        break;
    }
}

// A part's clock moves with its stamps, but never falls back: where the part before sent its
// last bytes later than this part's first ones are due (muxers flush sound at the end), the
// first clocks of the part are raised to follow on at the mux rate until their own catch up.
void Stamp_Rewriter::Rewrite_Clock(unsigned char* q, const Field& f, const Part_Shift& shift)
{
    const qint64 room = qint64(held_.size()) - (f.off - heldBase_);
    double clock = 0, rate = 0;
    if (f.kind == Field_Kind::Pack) {
        const auto pack = mpeg::Parse_Pack(q, room);
        if (!pack)
            return;
        clock = pack->scr;
        rate = pack->muxRate;
    } else if (const auto t = mpeg::Parse_Ts(q); t && t->pcr) {
        clock = *t->pcr;
    } else {
        return;
    }
    const qint64 at = handedOut_ + (f.off - heldBase_);  // where it lies in the output
    qint64 ticks = shift.kept ? 0 : shift.ticks;
    const double out = clock + double(ticks) * mpeg::Tick_Seconds;
    if (!shift.kept && catchingUp_ && lastClock_) {
        const double floor = lastClock_->clock + (rate > 0 ? double(at - lastClock_->off) / rate : 0.0);
        if (out < floor && Breaks_Clock(*lastClock_, {at, at, out, rate, false}, format_.kind))
            ticks += qint64(std::ceil((floor - out) * mpeg::Ticks_Per_Second));
    }
    catchingUp_ = catchingUp_ && ticks != (shift.kept ? 0 : shift.ticks);
    if (ticks != 0)
        f.kind == Field_Kind::Pack ? mpeg::Shift_Pack_Clock(q, ticks) : mpeg::Shift_Pcr(q, ticks);
    lastClock_ = Clock_Mark{at, at, clock + double(ticks) * mpeg::Tick_Seconds, rate, false};
}

void Stamp_Rewriter::Enter_Part()
{
    counterShift_.fill(-1);
    catchingUp_ = true;
}

// A PID's first packet in a part takes the counter after its last one in the output; the rest
// of the part keeps the same distance.
void Stamp_Rewriter::Continue_Counter(unsigned char* q, bool kept)
{
    const unsigned pid = ((q[1] & 0x1Fu) << 8) | q[2];
    int counter = q[3] & 0x0F;
    if (!kept) {
        qint8& shift = counterShift_[pid];
        if (shift < 0) {
            const int step = (q[3] & 0x10) ? 1 : 0;  // a packet without payload repeats the counter
            shift = lastCounter_[pid] < 0 ? 0 : qint8((lastCounter_[pid] + step - counter) & 0x0F);
        }
        counter = (counter + shift) & 0x0F;
        q[3] = (q[3] & 0xF0) | counter;
    }
    lastCounter_[pid] = qint8(counter);
}

void Stamp_Rewriter::Note_Unchanged()
{
    if (unchanged_.isEmpty() || unchanged_.last() != index_)
        unchanged_ << index_;
}

void Stamp_Rewriter::Mark(const Clock_Mark& m)
{
    const size_t before = collector_->Parts().size();
    collector_->Mark(m);
    lastMark_ = m.off;
    const size_t now = collector_->Parts().size();
    if (now > before) {
        if (!shifts_[before - 1].known)
            Decide(before - 1);
        shifts_.emplace_back();
        marksInPart_ = 1;
    } else if (now < before) {  // the seam was a damaged clock: its part is the one before again
        shifts_.resize(now);
        emitPart_ = std::min(emitPart_, now - 1);
        marksInPart_ = 2;
    } else {
        ++marksInPart_;
    }
}

void Stamp_Rewriter::Unit(mpeg::Bytes p, qint64 size, qint64 off)
{
    if (format_.kind != Stream_Kind::Transport) {
        if (p[3] == 0xBA)
            fields_.push_back({off, Field_Kind::Pack});
        else
            Note_Stamps(p, size, off);
        return;
    }
    const auto t = mpeg::Parse_Ts(p);
    if (!t)
        return;
    if (t->pid != Null_Pid)
        fields_.push_back({off, Field_Kind::Counter});
    if (t->pcr)
        fields_.push_back({off, Field_Kind::Pcr});
    const mpeg::Bytes payload = p + t->payload;
    if (t->unitStart && t->payloadSize >= 9 && payload[0] == 0 && payload[1] == 0 && payload[2] == 1)
        Note_Stamps(payload, t->payloadSize, off + t->payload);
}

void Stamp_Rewriter::Note_Stamps(mpeg::Bytes pes, qint64 size, qint64 off)
{
    const auto h = mpeg::Parse_Pes(pes, size);
    if (h && h->ptsAt)
        fields_.push_back({off + h->ptsAt, Field_Kind::Stamp});
    if (h && h->dtsAt)
        fields_.push_back({off + h->dtsAt, Field_Kind::Stamp});
}

}  // namespace pf
