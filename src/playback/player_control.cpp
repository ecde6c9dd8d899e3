// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/player_control.h"

namespace pf {

Player_Control::Player_Control(const QString& file, QObject* parent) : QObject(parent), file_(file)
{
    failTimer_.setSingleShot(true);
    failTimer_.setTimerType(Qt::PreciseTimer);  // a coarse one may end the failure's time early
    failTimer_.setInterval(Failure_Ms);
    connect(&failTimer_, &QTimer::timeout, this, &Player_Control::Natural_End);
}

void Player_Control::User_Stop(User_Way way)
{
    failTimer_.stop();
    stopped_ = true;
    Stopping(way);
    emit closeRequested();
}

void Player_Control::Failure_Shown()
{
    if (failTimer_.isActive())
        failTimer_.start();
}

void Player_Control::Natural_End()
{
    failTimer_.stop();
    emit closeRequested();
}

void Player_Control::Fail(const QString& text)
{
    if (stopped_)
        return;
    failed_ = true;
    emit failed(text);
    failTimer_.start();
}

}  // namespace pf
