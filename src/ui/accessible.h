// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader is told about the skinned controls, which Qt sees as plain widgets: a
// picture that reports presses is a button (an option button while it shows the option
// marker), a command label is a button, a caption is text; each offers the press action when
// pressing it does something, and that action delivers a left click as the mouse does, so a
// disabled control stays unpressable. A control's name is its accessible name, else a label's
// text, else its tool tip. The factory is installed once, when the first Picture is made.
#pragma once

namespace pf {

void Install_Accessible_Controls();

}  // namespace pf
