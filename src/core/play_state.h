// SPDX-License-Identifier: GPL-3.0-or-later
// The two values every player shares with its callers: the file a player window is to play
// (also the file a rename acts on), and whether the user stopped playback. Main_State owns the
// one instance; the play dispatch writes Play_File, the player windows read it and set
// Stop_Request, and continuous play clears and reads Stop_Request.
#pragma once

#include <QString>

namespace pf {

struct Play_State {
    QString Play_File;
    // Set by Esc, Space or a player's exit image; never by a natural end.
    bool Stop_Request = false;
};

}  // namespace pf
