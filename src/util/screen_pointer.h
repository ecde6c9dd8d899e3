// SPDX-License-Identifier: GPL-3.0-or-later
// The screen's mouse pointer as one program-wide value, the way the players' callers set it:
// the hourglass while a player window loads, the default again when it has loaded. Setting
// the hourglass twice needs one reset only.
#pragma once

namespace pf {

enum class Screen_Pointer { Default = 0, Hourglass = 11 };

void Set_Screen_Pointer(Screen_Pointer pointer);
Screen_Pointer Current_Screen_Pointer();

}  // namespace pf
