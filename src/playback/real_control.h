// SPDX-License-Identifier: GPL-3.0-or-later
// What the RealMedia window does, without the window: it hands "file://" + its file to its
// Real_Player and starts it, lays the window out for each clip that opens (picture at top 20,
// our 25-pixel status bar below it, 45 pixels more than the clip in all), writes the play state
// in the head bar and closes on state 0. Esc and Space write "Unloading", the exit image does not.
// The status bar line carries the state, a skipped entry of a list, and the times.
#pragma once

#include "playback/player_control.h"
#include "playback/real_player.h"

#include <QRect>
#include <QSize>

#include <optional>

namespace pf {

struct Real_Layout {
    QSize window;
    QRect picture;
    QRect status;
    int headWidth = 0;
    int exitLeft = 0;
};

constexpr QSize Real_Loading_Size{210, 20};
constexpr int Real_Status_Height = 25;

// The window around a clip of `clip` pixels; a clip without a picture keeps the loading width.
Real_Layout Layout_For_Clip(QSize clip);

// The head bar's text for a play state; nothing for a value outside 0 to 5.
std::optional<QString> Real_State_Text(int state);

// Seconds as m:ss, or h:mm:ss from an hour on.
QString Clock_Text(double seconds);

class Real_Control : public Player_Control {
    Q_OBJECT
public:
    Real_Control(const QString& file, const QByteArray& audioOutput, QObject* parent = nullptr);

    Real_Player& Player() { return player_; }

    // The source from the file and the play request; the picture goes into `pictureWindow`.
    void Start(quint64 pictureWindow);
    // Closing the window ends the player and its playback.
    void Close() { player_.Close(); }

signals:
    void layoutChanged(const pf::Real_Layout& layout);
    void statusChanged(const QString& message, const QString& times);

protected:
    void Stopping(User_Way way) override;

private:
    void Clip_Opened();
    void State_Changed(int state);
    void Show_Status();

    Real_Player player_;
    QString stateText_;
    QString note_;
    QString times_;
    int opened_ = 0;
    int noteUntil_ = 0;  // the note stays until this many clips have opened
};

}  // namespace pf
