// SPDX-License-Identifier: GPL-3.0-or-later
// The running program apart from QApplication: the main window's state, the window itself
// and the subsystems whose commands it routes (the join page, the players, the lists of
// finished files, the settings dialogs); problems with the settings file are told through the
// window's prompter while it exists. It registers the media device type and owns the play
// dispatch with its window host. main.cpp makes one of these; tests make one too, so the
// wiring they exercise is the wiring that ships.
#pragma once

#include "core/continuous_play.h"
#include "core/finished_list.h"
#include "core/main_state.h"
#include "core/play_dispatch.h"
#include "join/join_commands.h"
#include "playback/mpeg_video_device.h"
#include "ui/main_window.h"
#include "ui/player_host.h"
#include "ui/progress_dialog.h"

namespace pf {

class Main_Application {
public:
    // `media` is how both players play (tests choose the null audio output).
    explicit Main_Application(const QString& appFolder, const Mpeg_Driver_Options& media = {});
    ~Main_Application();

    // Runs the window's load sequence and shows it; `files` (from the command line) go into
    // the input list as a drop of them would, once the groups are in.
    void Start(const QStringList& files = {});

    // Brings the program to the front, as a second start asks: the window the user works in,
    // which is the dialog or player open over the main window when there is one.
    void Raise();

    Main_State& State() { return state_; }
    Parlo_film_S& Window() { return window_; }
    Join_Commands& Join() { return join_; }
    // The joined list or the favourites.
    Finished_List& Finished(List_Id id) { return id == List_Id::Favorite ? favorites_ : joined_; }

private:
    void Wire_Join_Page();
    void Wire_Dialogs();
    void Wire_Players(const Mpeg_Driver_Options& media);
    void Wire_Lists();

    Main_State state_;
    Parlo_film_S window_;
    Join_Commands join_;
    Progress_Dialog joinProgress_;
    Window_Player_Host players_;
    Play_Dispatch dispatch_;
    Finished_List joined_;
    Finished_List favorites_;
    Continuous_Play continuous_;
};

}  // namespace pf
