// SPDX-License-Identifier: GPL-3.0-or-later
// Which player a listed file goes to: the program's video window (MPEG), the RealMedia window
// (RM, RAM) or the desktop's association, by the file's extension and the Way setting. Three
// rules: the input list's, a single file of the finished lists, and one file of continuous play.
// The windows themselves are reached through a Player_Host, which shows them modally over the
// file it is given and says how the play ended.
#pragma once

#include "core/play_end.h"
#include "core/settings.h"

#include <QString>

namespace pf {

// What the dispatch needs of the program's windows.
class Player_Host {
public:
    virtual ~Player_Host() = default;
    // Shows the video window over `file` modally; returns when it has closed.
    virtual Play_End Show_Video(const QString& file) = 0;
    // The same with the RealMedia window.
    virtual Play_End Show_RealMedia(const QString& file) = 0;
    // Hands the file to the desktop's association and returns at once.
    virtual void Open_Associated(const QString& path) = 0;
};

// The upper-cased extension of `path` in exactly four characters: blank-padded or cut.
QString Ext_Key(const QString& path);
bool Is_Mpeg_Key(const QString& key);
bool Is_RealMedia_Key(const QString& key);

class Play_Dispatch {
public:
    Play_Dispatch(const Settings& settings, Player_Host& host);

    // `selected` is the list's selected entry; the empty text means none is selected.
    void Input_List_Play(const QString& selected);
    void Single_File_Play(const QString& selected);
    // One entry of continuous play: MPEG always in the video window; other kinds are skipped,
    // which is a natural end.
    Play_End Per_File_Play(const QString& entry);

private:
    const Settings& settings_;
    Player_Host& host_;
};

}  // namespace pf
