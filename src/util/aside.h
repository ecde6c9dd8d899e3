// SPDX-License-Identifier: GPL-3.0-or-later
// Work that may block on the disk or a player, done on a thread of its own while the calling
// thread's event loop goes on, so that windows repaint and answer keys meanwhile. The caller
// owns the work; the thread is detached and keeps what the work captured until it ends.
#pragma once

#include <QEventLoop>

#include <functional>

namespace pf {

// Runs `work` beside the event loop of the application's thread, from which it is called, and
// returns when it has finished (true). `stop`, when
// given, may connect signals to the wait's loop: quitting it returns at once (false), and the
// work then finishes unobserved, so it must own everything it uses. Ending the application
// ends the wait the same way. `events` says which events go on: all (the windows answer the user),
// or all but the user's input, for a caller that cannot take a click in the middle of its work.
bool Run_Aside(std::function<void()> work, const std::function<void(QEventLoop&)>& stop = {},
               QEventLoop::ProcessEventsFlags events = QEventLoop::AllEvents);

}  // namespace pf
