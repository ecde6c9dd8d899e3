// SPDX-License-Identifier: GPL-3.0-or-later
// Shared by the player window tests: the media clips, the null audio output, and running a
// check inside a modal player window (the check must close it, as a user would).
#pragma once

#include "playback/mpeg_video_device.h"
#include "support/colours.h"

#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace pf::test {

inline QString Clip(const char* name)
{
    return QStringLiteral(PF_TEST_MEDIA_DIR "/") + QString::fromUtf8(name);
}

inline const Mpeg_Driver_Options Silent{"null"};

// Runs `check` once `window`'s modal loop is running.
inline void While_Open(QWidget* window, std::function<void()> check)
{
    QTimer::singleShot(0, window, std::move(check));
}

}  // namespace pf::test
