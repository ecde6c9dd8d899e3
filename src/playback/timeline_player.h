// SPDX-License-Identifier: GPL-3.0-or-later
// Plays one file's Stream_Timeline in an Mpv_Session and maps the player's clock to whole-file
// seconds and back. A joined program or transport stream plays as entries of its own, one per
// part (a byte range of the file), so each keeps its clock; entries are queued a few ahead of
// the one playing, so a file of ten thousand parts opens as fast as one of two. An elementary
// stream plays as one entry from the sequence header that the last seek chose (the player
// cannot seek in it by time). Anything else plays as the plain file. The session is the
// owner's; this class only sends it commands. It owns the Timeline_Refiner that walks a file
// whose timeline was sampled, and the timeline it hands over. Open, Seek, Skip_Starved and
// Take_Refined wait for the player (and read the file on a thread of their own) as
// Mpv_Session describes.
#pragma once

#include "mpeg/stream_timeline.h"
#include "playback/mpv_session.h"

#include <memory>
#include <optional>

namespace pf {

class Timeline_Player {
public:
    // How long an entry may take to load, and a seek or a frame step to land.
    static constexpr int Load_Timeout_Ms = 20000;
    static constexpr int Seek_Timeout_Ms = 5000;

    Timeline_Player(Mpv_Session& session, const QByteArray& path);

    // Loads the file at its start and waits until the player shows it. 0 or an mpv error code.
    int Open(const Stream_Timeline& timeline);
    const Stream_Timeline& Timeline() const { return timeline_; }
    void Set_Fallback(double duration, double frameRate);  // for files the scan could not time

    // Whole-file seconds of the picture the player is at; nothing while it has none.
    std::optional<double> Player_Time();
    // Moves the player to whole-file second `t`, keeping it paused or playing; waits until there.
    int Seek(double t);
    // Whether the entry playing is the file's last (its end is the file's end).
    bool At_Last_Entry();
    // Queues the next entries; call as playback goes on.
    void Top_Up();
    // Goes on with the next part when the player ran out of queued entries early.
    int Skip_Starved();
    // Walks the whole file on a thread of its own for the exact timeline, which Take_Refined
    // then takes: `position` (whole-file seconds) becomes the same share of the new length,
    // and the player moves there when the parts changed. False until there is one.
    void Refine_In_Background(const QString& file);
    bool Take_Refined(double& position);

private:
    void Adopt(const Stream_Timeline& refined, double now);
    enum class Way { Plain, Parts, Elementary };
    QByteArray Url(qint64 begin, qint64 end) const;
    int Load(const QByteArray& url);
    int Await_Entry();
    int Load_Part(int part);
    int Current_Entry();
    int Wait_For_Restart(int code);
    void Measure_Clock_Offset();

    Mpv_Session& session_;
    QByteArray path_;
    Stream_Timeline timeline_;
    Way way_ = Way::Plain;
    int firstPart_ = 0;  // part of playlist entry 0
    int queued_ = 0;     // entries in the playlist
    double base_ = 0;    // elementary: whole-file seconds where the entry starts
    double offset_ = 0;  // elementary: how far the player's clock runs ahead after the first picture
    std::unique_ptr<Timeline_Refiner> refiner_;
};

}  // namespace pf
