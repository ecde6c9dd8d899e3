// SPDX-License-Identifier: GPL-3.0-or-later
// Work that touches a disk runs on a thread of its own and tells an object on the GUI thread
// about itself by queued calls. The GUI thread never waits for it: a job stuck in a read that
// never returns (a dead network share) is simply left behind. Its thread is detached and owns
// what it uses; once the receiver has gone, what the job still posts is dropped.
// A Job_Link is shared by the receiver and its jobs: the receiver cuts it when it goes.
#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <mutex>

namespace pf {

class Job_Link {
public:
    explicit Job_Link(QObject* receiver) : receiver_(receiver) {}

    // From a job: runs `call` on the receiver's thread, after what was posted before, unless
    // the receiver has gone by then.
    void Post(std::function<void()> call);
    // From the receiver: nothing reaches it any more.
    void Cut();

private:
    std::mutex mutex_;
    QObject* receiver_;
};

// Runs `work` on a detached thread of its own; it keeps what it captured until it ends.
void Start_Detached(std::function<void()> work);

}  // namespace pf
