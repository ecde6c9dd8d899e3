#include "playback/player_control.h"

namespace pf {

Player_Control::Player_Control(Play_State& play, QObject* parent) : QObject(parent), play_(play)
{
    failTimer_.setSingleShot(true);
    failTimer_.setInterval(Failure_Ms);
    connect(&failTimer_, &QTimer::timeout, this, &Player_Control::Natural_End);
}

void Player_Control::User_Stop()
{
    failTimer_.stop();
    Stopping();
    play_.Stop_Request = true;
    emit closeRequested();
}

void Player_Control::Natural_End()
{
    failTimer_.stop();
    emit closeRequested();
}

void Player_Control::Fail(const QString& text)
{
    failed_ = true;
    emit failure(text);
    failTimer_.start();
}

}  // namespace pf
