// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/timeline_player.h"

#include "mpeg/elementary_scan.h"
#include "playback/mpv_names.h"

#include <QFile>

#include <algorithm>
#include <memory>

namespace pf {
namespace {

constexpr int Ahead_Entries = 3;     // queued beyond the one playing, at least,
constexpr double Ahead_Seconds = 4;  // and at least this much to play,
constexpr int Ahead_Most = 64;       // but no more entries than this

}  // namespace

Timeline_Player::Timeline_Player(Mpv_Session& session, const QByteArray& path) : session_(session), path_(path) {}

int Timeline_Player::Open(const Stream_Timeline& timeline)
{
    timeline_ = timeline;
    way_ = timeline.format.kind == Stream_Kind::Elementary && !timeline.Empty() ? Way::Elementary
        : timeline.parts.size() > 1                                             ? Way::Parts
                                                                                : Way::Plain;
    base_ = 0;
    if (way_ == Way::Parts)
        return Load_Part(0);
    firstPart_ = 0;
    queued_ = 1;
    const int code = Load(path_);
    if (code >= 0 && way_ == Way::Elementary)
        Measure_Clock_Offset();
    return code;
}

// Raw video carries no times; the player makes them from the pictures' order and, for some
// streams, puts every picture after the first one picture late. One step tells which.
void Timeline_Player::Measure_Clock_Offset()
{
    const double frame = timeline_.frameRate > 0 ? 1.0 / timeline_.frameRate : 0.0;
    if (frame <= 0)
        return;
    if (session_.Command({mpv::Frame_Step}) < 0)
        return;
    std::optional<double> stepped;
    session_.Wait_For(
        [&](const Mpv_Event& e) {
            if (e.kind == Mpv_Event::Kind::Property && e.property == mpv::Time_Pos && e.value.toDouble() > 0)
                stepped = e.value.toDouble();
            return stepped.has_value();
        },
        Seek_Timeout_Ms);
    offset_ = stepped && *stepped > 1.5 * frame ? frame : 0.0;
    session_.Set_Flag(mpv::Pause, true);
    Wait_For_Restart(session_.Command({mpv::Seek, "0", mpv::Absolute_Exact}));
}

void Timeline_Player::Set_Fallback(double duration, double frameRate)
{
    if (timeline_.Empty() && duration > 0) {
        Stream_Part whole;
        whole.end = std::max<qint64>(timeline_.size, 1);
        whole.duration = duration;
        timeline_.parts = {whole};
    }
    if (timeline_.frameRate <= 0)
        timeline_.Finish(frameRate);
}

QByteArray Timeline_Player::Url(qint64 begin, qint64 end) const
{
    return "lavf://subfile,,start," + QByteArray::number(begin) + ",end," + QByteArray::number(end) + ",,:" + path_;
}

// Replaces the playlist with `url` and waits as Await_Entry does.
int Timeline_Player::Load(const QByteArray& url)
{
    session_.Drain();
    return Wait_For_Restart(session_.Load_File(url, Load_Timeout_Ms));
}

// Waits until the entry that is starting has loaded and shows its first picture (a seek sent
// before that is lost); the end of the entry it replaces is no failure. Nothing is queued
// meanwhile: the events read here go to the wait alone.
int Timeline_Player::Await_Entry()
{
    return Wait_For_Restart(session_.Await_Loaded(Load_Timeout_Ms));
}

int Timeline_Player::Load_Part(int part)
{
    const Stream_Part& p = timeline_.parts[part];
    const int code = Load(Url(p.begin, p.end));
    firstPart_ = part;
    queued_ = 1;
    Top_Up();
    return code;
}

int Timeline_Player::Current_Entry()
{
    return int(session_.Get_Int(mpv::Playlist_Pos).value_or(0));
}

std::optional<double> Timeline_Player::Player_Time()
{
    // The entry first, then the time: read the other way round, a change of entry between the
    // two would pair the old entry's late time with the new part and jump ahead.
    const int part
        = way_ == Way::Parts ? std::clamp(firstPart_ + Current_Entry(), 0, int(timeline_.parts.size()) - 1) : 0;
    const std::optional<double> local = session_.Get_Double(mpv::Time_Pos);
    if (!local)
        return std::nullopt;
    if (way_ == Way::Elementary)
        return std::clamp(base_ + std::max(0.0, *local - offset_), 0.0, timeline_.Total());
    return timeline_.Whole_Time(timeline_.Empty() ? -1 : part, *local);
}

int Timeline_Player::Wait_For_Restart(int code)
{
    if (code >= 0)
        session_.Wait_For([](const Mpv_Event& e) { return e.kind == Mpv_Event::Kind::Playback_Restart; },
                          Seek_Timeout_Ms);
    return code;
}

int Timeline_Player::Seek(double t)
{
    t = std::clamp(t, 0.0, timeline_.Empty() ? std::max(t, 0.0) : timeline_.Total());
    session_.Drain();  // events of earlier commands must not end the waits below
    int code = 0;
    double local = t;
    if (way_ == Way::Elementary) {
        // The player seeks raw video by guessing from bytes: start it at a sequence header instead.
        const auto found = std::make_shared<Seek_Point>();
        if (const int looked = session_.Run_Aside(
                [found, file = QFile::decodeName(path_), timeline = timeline_, t] {
                    File_Source source(file);
                    *found = Find_Seek_Point(source, timeline, t).value_or(Seek_Point{});
                },
                Seek_Timeout_Ms);
            looked < 0)
            return looked;
        const Seek_Point at = *found;
        base_ = at.time;
        local = t - base_;
        code = Load(at.offset > 0 ? Url(at.offset, timeline_.size) : path_);
        if (code < 0 || local < 1e-3)
            return code;
        local += offset_;
        code = session_.Set_Double(mpv::Hr_Seek_Demuxer_Offset, local + 1.0);  // decode from the entry's start
    } else if (!timeline_.Empty()) {
        const int part = way_ == Way::Parts ? timeline_.Part_At(t) : 0;
        local = t - timeline_.Part_Start(part) + timeline_.parts[part].lead;
        if (way_ == Way::Parts && (part < firstPart_ || part >= firstPart_ + queued_)) {
            code = Load_Part(part);
        } else if (way_ == Way::Parts && part != firstPart_ + Current_Entry()) {
            code = session_.Command({mpv::Playlist_Play_Index, QByteArray::number(part - firstPart_)});
            if (code >= 0)
                code = Await_Entry();
        }
    }
    if (code >= 0)
        code = session_.Command({mpv::Seek, QByteArray::number(local, 'f', 6), mpv::Absolute_Exact});
    return Wait_For_Restart(code);
}

bool Timeline_Player::At_Last_Entry()
{
    return way_ != Way::Parts || firstPart_ + Current_Entry() >= timeline_.parts.size() - 1;
}

void Timeline_Player::Top_Up()
{
    if (way_ != Way::Parts)
        return;
    const int playing = Current_Entry();
    double ahead = 0;
    for (int e = playing + 1; e < queued_; ++e)
        ahead += timeline_.parts[firstPart_ + e].duration;
    while (firstPart_ + queued_ < timeline_.parts.size() && queued_ - 1 - playing < Ahead_Most
           && (queued_ - 1 - playing < Ahead_Entries || ahead < Ahead_Seconds)) {
        const Stream_Part& p = timeline_.parts[firstPart_ + queued_];
        if (session_.Command({mpv::Loadfile, Url(p.begin, p.end), mpv::Append}) < 0)
            return;
        ahead += p.duration;
        ++queued_;
    }
}

int Timeline_Player::Skip_Starved()
{
    const int next = firstPart_ + Current_Entry() + 1;
    return way_ == Way::Parts && next < timeline_.parts.size() ? Load_Part(next) : 0;
}

void Timeline_Player::Refine_In_Background(const QString& file)
{
    refiner_ = std::make_unique<Timeline_Refiner>(file);
}

bool Timeline_Player::Take_Refined(double& position)
{
    std::optional<Stream_Timeline> refined = refiner_ ? refiner_->Take() : std::nullopt;
    if (!refined)
        return false;
    refiner_.reset();
    if (refined->Empty())
        return false;
    if (refined->frameRate <= 0)
        refined->Finish(timeline_.frameRate);
    // The place keeps its share of the length, the scale the caller was given.
    position = timeline_.Total() > 0 ? position / timeline_.Total() * refined->Total() : 0.0;
    Adopt(*refined, position);
    return true;
}

void Timeline_Player::Adopt(const Stream_Timeline& refined, double now)
{
    const Way before = way_;
    const bool same = timeline_.Same_Parts(refined) && way_ != Way::Elementary;
    timeline_ = refined;
    way_ = refined.format.kind == Stream_Kind::Elementary ? Way::Elementary
        : refined.parts.size() > 1                        ? Way::Parts
                                                          : Way::Plain;
    if (same && way_ == before)
        return;
    queued_ = 0;  // what is queued belongs to the old parts
    Seek(now);
}

}  // namespace pf
