// SPDX-License-Identifier: GPL-3.0-or-later
// How one play in a player window ended, as the window's run returns it to whoever showed it:
// by itself (the file's end, a failure shown for its time, a state 0 of the RealMedia player)
// or by the user (Esc, Space or the exit image). Continuous play goes on after the one and
// stops after the other.
#pragma once

namespace pf {

enum class Play_End { Natural, Stopped_By_User };

}  // namespace pf
