// SPDX-License-Identifier: GPL-3.0-or-later
// Which window-system plugin the program asks Qt for. The video is drawn into native child
// windows and the borderless windows move themselves, which a Wayland compositor does not allow
// a client; on a Wayland desktop the program therefore runs through XWayland ("xcb"), falling
// back to Wayland where no XWayland is there, unless the user chose a platform. And a round trip
// to the X server, for code that hands our windows to another X client.
#pragma once

#include <QByteArray>

namespace pf {

// The QT_QPA_PLATFORM value to set before QApplication exists; empty to leave Qt's choice.
// `waylandDisplay` and `qpaPlatform` are the environment's values; `args` the command line.
QByteArray Preferred_Platform(const QByteArray& waylandDisplay, const QByteArray& qpaPlatform, int argc,
                              const char* const* argv);

// Applies the above to this process's environment.
void Prefer_X11_Platform(int argc, const char* const* argv);

// Returns once the X server has carried out every request made so far (windows shown are
// mapped); nothing on other platforms.
void Sync_Window_System();

}  // namespace pf
