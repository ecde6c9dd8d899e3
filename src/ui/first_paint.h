// SPDX-License-Identifier: GPL-3.0-or-later
// Work that waits for a window's first paint: the program loads the player's libraries then, and
// bench/startup stops its clock then. The hook is a child of the window and goes once it has run.
#pragma once

#include <functional>

class QWidget;

namespace pf {

// Runs `then` from the event loop once `window` has been painted for the first time, after the
// children painted in the same pass.
void After_First_Paint(QWidget* window, std::function<void()> then);

}  // namespace pf
