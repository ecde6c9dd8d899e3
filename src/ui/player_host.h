// SPDX-License-Identifier: GPL-3.0-or-later
// The program's Player_Host: shows the video and RealMedia windows modally over the main window
// and hands files to the desktop's association. Each show makes a fresh window (and with it a
// fresh device or player), which is gone when the call returns.
#pragma once

#include "core/play_dispatch.h"

#include <QByteArray>

class QWidget;

namespace pf {

class Main_State;
class Prompter;

class Window_Player_Host : public Player_Host {
public:
    // `audioOutput` is the RealMedia player's mpv "ao" (empty lets mpv choose).
    Window_Player_Host(Main_State& state, Prompter& prompter, QWidget* owner, const QByteArray& audioOutput = {});

    Play_End Show_Video(const QString& file) override;
    Play_End Show_RealMedia(const QString& file) override;
    void Open_Associated(const QString& path) override;

private:
    Main_State& state_;
    Prompter& prompter_;
    QWidget* owner_;
    QByteArray audio_;
};

}  // namespace pf
