// SPDX-License-Identifier: GPL-3.0-or-later
// The "MPEGVideo" device type of the media-control service, played by libmpv through an
// Mpv_Session: open (paused at the start), play/stop/pause/seek, time formats "ms" and "frames",
// audio and video switches, volume, speed, window placement and the status queries.
// Lengths, frames and positions come from the file's Stream_Timeline, played by a
// Timeline_Player, so a joined file counts every part and its position rises through every seam.
// When the timeline was sampled (a large file), the player walks the whole file in the
// background and the device takes the exact timeline when it is ready. Positions are given on
// the scale of the length last reported in that time format, so that at the end of the media
// the position equals the length the caller was told, exactly, even after such a refinement.
// Register_Mpeg_Driver() is what start-up calls to make the type openable; it writes no file.
// Opening and seeking wait (see Mpv_Session) on the token of the open request, the file is
// scanned on a thread of its own, and a close meanwhile ends them.
// Opening, playing and seeking are in mpeg_video_device.cpp; the settings ("set", "setaudio",
// "put") and the queries ("status", "info") in mpeg_video_settings.cpp.
#pragma once

#include "mci/mci_device.h"
#include "mpeg/stream_timeline.h"
#include "playback/mpv_session.h"
#include "playback/timeline_player.h"

#include <QByteArray>
#include <QObject>
#include <QRect>
#include <QWindow>

#include <memory>
#include <optional>

namespace pf {

struct Mpeg_Driver_Options {
    QByteArray audioOutput;    // mpv's "ao"; empty lets mpv choose (tests pass "null")
    bool sampleFirst = false;  // open every file as a large one: sampled, refined in the background
};

// Registers the device type "MPEGVideo" (and the MPEG file extensions) with Mci_Service.
void Register_Mpeg_Driver(const Mpeg_Driver_Options& options = {});

class Mpeg_Video_Device : public QObject, public Mci_Device {
    Q_OBJECT
public:
    static std::unique_ptr<Mci_Device> Open(const Mci_Open_Request& request, const Mpeg_Driver_Options& options,
                                            std::uint32_t& error);
    ~Mpeg_Video_Device() override;

    std::uint32_t Execute(const Mci_Command& command, Mci_Reply& reply) override;
    // Whole-file seconds of the picture the player shows ("status position" holds the time a
    // seek asked for until playback moves on); nothing while it shows none.
    std::optional<double> Shown_Position();

private:
    enum class Mode { Stopped, Playing, Paused };

    Mpeg_Video_Device() = default;
    std::uint32_t Load(const Mci_Open_Request& request, const Mpeg_Driver_Options& options);
    void On_Event(const Mpv_Event& event);

    std::uint32_t Play(const Mci_Command& command);
    std::uint32_t Seek(const Mci_Command& command);
    std::uint32_t Set(const Mci_Command& command);
    std::uint32_t Set_Audio(const Mci_Command& command);
    std::uint32_t Status(const Mci_Command& command, Mci_Reply& reply);
    std::uint32_t Put(const Mci_Command& command);
    std::uint32_t Info(const Mci_Command& command, Mci_Reply& reply);

    std::uint32_t Seek_To(double seconds);
    std::uint32_t Apply_Audio();
    std::uint32_t Pause(bool paused, Mode mode);
    void Update_Position();
    double Position();
    void On_End_Reached();
    void Take_Refined();
    const Stream_Timeline& Timeline() const { return player_->Timeline(); }
    double Length() const { return Timeline().Total(); }
    qint64 To_Units(double seconds) const;
    double From_Units(qint64 units) const;
    bool Frames() const { return framesFormat_; }
    static std::uint32_t Mci_Code(int playerCode);
    static bool In_Range(qint64 v, qint64 lo, qint64 hi) { return v >= lo && v <= hi; }

    std::unique_ptr<Mpv_Session> session_;
    std::unique_ptr<Timeline_Player> player_;
    std::unique_ptr<QWindow> foreignParent_;  // wrapper of the caller's native window
    std::unique_ptr<QWindow> picture_;        // our child window inside it, mpv draws here
    QByteArray path_;
    qint64 reportedMs_ = 0;  // the length last reported in each time format
    qint64 reportedFrames_ = 0;
    QSize movieSize_;
    QRect windowRect_;  // where "put window" placed the picture; empty until then
    bool framesFormat_ = false;
    Mode mode_ = Mode::Stopped;
    bool atEnd_ = false;
    std::optional<double> held_;    // position reported while stopped after a seek or "to"
    std::optional<double> playTo_;  // seconds
    double position_ = 0;           // last whole-file position, seconds
    bool audioLeft_ = true, audioRight_ = true;
    qint64 volumeLeft_ = 1000, volumeRight_ = 1000;
    qint64 speed_ = 1000;
    bool video_ = true;
};

}  // namespace pf
