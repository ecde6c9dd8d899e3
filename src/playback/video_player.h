// SPDX-License-Identifier: GPL-3.0-or-later
// What the video window does, without the window: it opens its file on the media-control alias
// "device1" through its own clsMCIApi (created at load, kept until the window goes), sizes the
// picture by the Size setting, plays, writes the progress every 500 ms, and at the exact end
// closes or, with Rep 1, plays again. The window hands in its picture's native window and
// sizes, shows headTextChanged/failed and closes on closeRequested. An open or a rewind may wait (a
// slow disk); a close meanwhile ends the wait, and what follows fails as on a closed device.
#pragma once

#include "core/settings.h"
#include "mci/mci_api.h"
#include "playback/player_control.h"

#include <QSize>
#include <QTimer>

#include <memory>
#include <optional>

namespace pf {

class Prompter;

// The head bar's progress for `position` of `length` (ms): the rounded percentage and "%",
// no digits while it rounds to 0 (as a failed query, -1, gives). Nothing without a length.
std::optional<QString> Progress_Text(qint32 position, qint32 length);

class Video_Player : public Player_Control {
    Q_OBJECT
public:
    static constexpr int Tick_Ms = 500;
    // A device that keeps "device1" busy is closed and the open tried again, this often at most.
    static constexpr int Open_Attempts = 4;
    static inline const QString Alias = QStringLiteral("device1");
    static inline const QString Device_Type = QStringLiteral("MPEGVideo");
    static inline const QString Child_Style = QStringLiteral("1073741824");

    Video_Player(const Settings& settings, const QString& file, Prompter& prompter, Mci_Port& port = Service_Port(),
                 QObject* parent = nullptr);
    ~Video_Player() override;

    // Opens the file drawing into the native window `parent` and sizes the picture: `picture`
    // holds its size on entry and the size to give it on return; `screen` is in pixels.
    // False (and failed reported) when the file could not be opened.
    bool Open_Movie(qint32 parent, QSize screen, QSize& picture);
    // Plays what opened; nothing when the open failed.
    void Play_Movie();
    void Stop_Movie();
    void Fit_Movie(QSize picture);
    void Rewind_Movie();
    // One beat of the progress timer.
    void Tick();
    // Closes "device1" (a failure other than 263 is shown in a message box).
    void Close_Movie();

    bool Ticking() const { return timer_.isActive(); }

protected:
    void Stopping(User_Way) override { Stop_Movie(); }

private:
    const Settings& settings_;
    Prompter& prompter_;
    Mci_Port& port_;
    std::unique_ptr<clsMCIApi> mci_;
    bool opened_ = false;
    QTimer timer_;
};

}  // namespace pf
