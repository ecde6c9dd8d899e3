// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/real_control.h"

#include <cmath>

namespace pf {

Real_Layout Layout_For_Clip(QSize clip)
{
    const int width = clip.width() > 0 ? clip.width() : Real_Loading_Size.width();
    const int height = std::max(clip.height(), 0);
    const int head = Real_Loading_Size.height();
    Real_Layout l;
    l.window = QSize(width, height + head + Real_Status_Height);
    l.picture = QRect(0, head, width, height);
    l.status = QRect(0, head + height, width, Real_Status_Height);
    l.headWidth = width;
    l.exitLeft = width - 20;
    return l;
}

std::optional<QString> Real_State_Text(int state)
{
    static const char* const texts[] = {"Stop", "Connecting...", "Buffering...", "Playing", "Pause", "Seeking"};
    if (state < 0 || state >= int(std::size(texts)))
        return std::nullopt;
    return QString::fromLatin1(texts[state]);
}

QString Clock_Text(double seconds)
{
    const qint64 total = std::isfinite(seconds) && seconds > 0 ? qint64(seconds) : 0;
    const auto two = [](qint64 n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
    if (total < 3600)
        return QStringLiteral("%1:%2").arg(total / 60).arg(two(total % 60));
    return QStringLiteral("%1:%2:%3").arg(total / 3600).arg(two(total / 60 % 60), two(total % 60));
}

Real_Control::Real_Control(const QString& file, const QByteArray& audioOutput, QObject* parent)
    : Player_Control(file, parent), player_(audioOutput)
{
    connect(&player_, &Real_Player::clipOpened, this, &Real_Control::Clip_Opened);
    connect(&player_, &Real_Player::playStateChanged, this, &Real_Control::State_Changed);
    connect(&player_, &Real_Player::playFailed, this, &Real_Control::Fail);
    connect(&player_, &Real_Player::entryFailed, this, [this](const QString& text) {
        note_ = text;
        noteUntil_ = opened_ + 1;
        Show_Status();
    });
    connect(&player_, &Real_Player::timeChanged, this, [this](double elapsed, double total) {
        times_ = Clock_Text(elapsed) + QStringLiteral(" / ") + (total > 0 ? Clock_Text(total) : QStringLiteral("-:--"));
        Show_Status();
    });
}

void Real_Control::Start(quint64 pictureWindow)
{
    player_.Set_Picture_Window(pictureWindow);
    player_.Set_Source(QStringLiteral("file://") + File());
    player_.Play();
}

void Real_Control::Clip_Opened()
{
    if (++opened_ > noteUntil_)
        note_.clear();
    emit layoutChanged(Layout_For_Clip(QSize(player_.Clip_Width(), player_.Clip_Height())));
    Show_Status();
}

void Real_Control::State_Changed(int state)
{
    const std::optional<QString> text = Real_State_Text(state);
    if (!text)
        return;
    stateText_ = *text;
    emit headTextChanged(stateText_);
    Show_Status();
    if (state == Real_Player::Stopped)
        Natural_End();
}

void Real_Control::Stopping(User_Way way)
{
    if (way == User_Way::Key)
        emit headTextChanged(QStringLiteral("Unloading"));
}

void Real_Control::Show_Status()
{
    emit statusChanged(note_.isEmpty() ? stateText_ : stateText_ + QStringLiteral("   ") + note_, times_);
}

}  // namespace pf
