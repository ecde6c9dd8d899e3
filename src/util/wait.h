// SPDX-License-Identifier: GPL-3.0-or-later
// The one place where the GUI thread waits: only where a contract must answer at once (the
// media-control commands, whose player loads a file or moves). Wait_Until runs the event loop
// until what it waits for has come, its time is up, or its token has ended; windows repaint and
// the player's events arrive meanwhile. Everything above reacts to the result, not to what ran
// meanwhile: a close during a wait ends the token, and every wait on it, now and later, ends
// at once. Work for the disk runs on a thread of its own (Wait_For_Work) and, when the wait
// ends first, finishes unobserved, owning what it uses.
// A Wait_Token is owned by what the waits are for (a device); whoever closes it ends it.
#pragma once

#include <QObject>

#include <functional>

namespace pf {

class Wait_Token : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    void End();
    bool Ended() const { return ended_; }

signals:
    void ended();

private:
    bool ended_ = false;
};

enum class Wait_End { Met, Timed_Out, Ended };

// `arm` is given the function that ends the wait as met, to be called on this thread (from a
// connected signal, say); connections it makes to `scope` go with the wait. No time limit when
// `timeoutMs` is negative.
Wait_End Wait_Until(const Wait_Token& token, int timeoutMs,
                    const std::function<void(QObject& scope, const std::function<void()>& met)>& arm);

// Runs `work` on a thread of its own and waits for it as Wait_Until does.
Wait_End Wait_For_Work(const Wait_Token& token, int timeoutMs, std::function<void()> work);

}  // namespace pf
