// SPDX-License-Identifier: GPL-3.0-or-later
// Shared by the player window tests: the media clips, the null audio output, and running a
// check inside a modal player window (the check must close it, as a user would).
#pragma once

#include "playback/mpeg_video_device.h"
#include "support/colours.h"
#include "ui/player_window.h"

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

// Runs `check` once `window` is shown and, for a player, loaded (loading runs the event loop).
inline void While_Open(QWidget* window, std::function<void()> check)
{
    auto* poll = new QTimer(window);
    QObject::connect(poll, &QTimer::timeout, window, [=] {
        const auto* player = qobject_cast<const Player_Window*>(window);
        if (!window->isVisible() || (player && player->Loading()))
            return;
        poll->stop();
        poll->deleteLater();
        check();
    });
    poll->start(1);
}

}  // namespace pf::test
