// SPDX-License-Identifier: GPL-3.0-or-later
// What the video and RealMedia windows share on top of Secondary_Window: the load-then-show-
// modally run, which says how the play ended, Esc and Space (no other key) and the exit image
// ending playback through the window's Player_Control, the control's text in the white head
// caption, a failure's whole text in a box under the head bar (the window grows to hold it) and
// as the bar's tool tip, and closing when the control asks.
// Each player builds its own controls and load steps; the control is owned by the subclass.
// Loading may wait for a slow disk with the event loop running. Meanwhile Esc or Space, pressed
// in any window of the program, ends playback at once (the rest of the close follows when the
// load has returned), other windows take no input, and a load still going after
// Loading_Show_Ms shows the window (with its exit image) before it is placed.
#pragma once

#include "core/play_end.h"
#include "ui/secondary_window.h"

class QKeyEvent;
class QShowEvent;
class QLabel;

namespace pf {

class Player_Control;

// A black background with light text, as the players' picture and status areas have.
void Paint_Black(QWidget* w);

// A player's picture box: black, placed by its window, and filled by a native child window
// that the player draws into. Only that child is native; a native box would turn the chrome
// beside it (its siblings) into native windows as well, which the window no longer draws.
class Picture_Box : public QWidget {
public:
    explicit Picture_Box(QWidget* parent);
    // The native window to draw into.
    quint64 Native_Window() const;

private:
    QWidget* native_;
};

class Player_Window : public Secondary_Window {
    Q_OBJECT
public:
    static constexpr int Loading_Show_Ms = 300;

    // Runs the load sequence and shows the window modally; returns once it has closed, with how
    // its play ended.
    Play_End Run();
    // The file the window plays.
    const QString& File() const;
    bool Loading() const { return loading_; }

protected:
    Player_Window(const QString& iniFile, Position_Keys keys, QSize size, QWidget* parent);

    virtual void Load() = 0;
    // Binds the window to its control; call once from the subclass's constructor.
    void Attach(Player_Control& control);
    // The head caption's text, the caption sized to it.
    void Show_Head_Text(const QString& text);

    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void Exit_Released() override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void Show_Failure(const QString& text);
    bool Ours(QObject* o) const;
    void Fit_Failure();

    Player_Control* control_ = nullptr;
    QLabel* failure_ = nullptr;  // the reason a file cannot be played, once there is one
    bool ended_ = false;
    bool loading_ = false;
};

}  // namespace pf
