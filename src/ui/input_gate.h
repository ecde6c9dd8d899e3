// SPDX-License-Identifier: GPL-3.0-or-later
// Holds the user's input to one window while the work of an earlier click goes on beside the
// event loop (a join, a group switch), so that no second command runs inside the first. Clicks
// and keys are kept and given to the window, one after another, once it is no longer busy, as a
// window system queues the input of a program that is busy (until they have gone, new input
// queues behind them, so that a release never overtakes its press); the window system's close is
// refused and drags are turned away. Other windows (dialogs, the progress window) are not held.
// Owned by the window it guards.
#pragma once

#include <QObject>

#include <memory>
#include <vector>

class QEvent;
class QWidget;

namespace pf {

class Input_Gate : public QObject {
    Q_OBJECT
public:
    explicit Input_Gate(QWidget* window);
    ~Input_Gate() override;

    // Counted: busy until as many Busy(false) as Busy(true).
    void Set_Busy(bool busy);
    bool Busy() const { return busy_ > 0; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    bool Ours(QObject* o) const;
    void Replay_Next();

    QWidget* window_;
    int busy_ = 0;
    struct Held;
    std::vector<Held> held_;
};

}  // namespace pf
