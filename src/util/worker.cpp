// SPDX-License-Identifier: GPL-3.0-or-later
#include "util/worker.h"

#include <QMetaObject>

#include <thread>

namespace pf {

void Job_Link::Post(std::function<void()> call)
{
    // Under the lock, so the receiver cannot go between the test and the post; a call posted
    // before it went is removed with its pending events.
    const std::lock_guard lock(mutex_);
    if (receiver_)
        QMetaObject::invokeMethod(receiver_, std::move(call), Qt::QueuedConnection);
}

void Job_Link::Cut()
{
    const std::lock_guard lock(mutex_);
    receiver_ = nullptr;
}

void Start_Detached(std::function<void()> work)
{
    std::thread(std::move(work)).detach();
}

}  // namespace pf
