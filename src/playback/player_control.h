// SPDX-License-Identifier: GPL-3.0-or-later
// What the two player windows share apart from their widgets: the file they play and how
// playback ends (End). The user's ways (Esc, Space, the exit image) stop the player and close,
// an end by the user; a natural end closes; a file that cannot be played is reported (the
// window shows the text in its head bar) and, after Failure_Ms, closes as a natural end, so
// continuous play goes on; a failure after the user ended playback (an open the close cut
// short) is not shown.
// Each window owns one control (a subclass per player) and obeys its signals.
#pragma once

#include "core/play_end.h"

#include <QObject>
#include <QString>
#include <QTimer>

namespace pf {

class Player_Control : public QObject {
    Q_OBJECT
public:
    // How long a failure stays on screen before the window closes by itself.
    static constexpr int Failure_Ms = 2000;

    explicit Player_Control(const QString& file, QObject* parent = nullptr);

    // How the user ended playback.
    enum class User_Way { Key, Exit_Image };

    // Esc or Space (Key), or the exit image: works at any time, also while a failure is shown.
    void User_Stop(User_Way way);

    const QString& File() const { return file_; }
    Play_End End() const { return stopped_ ? Play_End::Stopped_By_User : Play_End::Natural; }
    bool Failed() const { return failed_; }
    // The window has just come into sight: a failure shown while loading stays Failure_Ms from now.
    void Failure_Shown();

signals:
    // The short text of the head bar: progress or state.
    void headTextChanged(const QString& text);
    // The whole description of a failure, for the head bar and its tool tip.
    void failed(const QString& text);
    // The window is to close now.
    void closeRequested();

protected:
    // The player's own stop before a user's close.
    virtual void Stopping(User_Way) {}
    void Natural_End();
    void Fail(const QString& text);

private:
    QString file_;
    QTimer failTimer_;
    bool failed_ = false;
    bool stopped_ = false;  // by the user
};

}  // namespace pf
