// SPDX-License-Identifier: GPL-3.0-or-later
#include "util/aside.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <atomic>
#include <memory>
#include <thread>

namespace pf {

bool Run_Aside(std::function<void()> work, const std::function<void(QEventLoop&)>& stop,
               QEventLoop::ProcessEventsFlags events)
{
    // Without an application there is no loop to keep going.
    if (!QCoreApplication::instance()) {
        work();
        return true;
    }
    struct Shared {
        std::atomic<bool> finished{false};
        QEventLoop* loop = nullptr;  // touched on the waiting thread only
    };
    auto shared = std::make_shared<Shared>();
    QEventLoop loop;
    shared->loop = &loop;
    if (stop)
        stop(loop);
    std::thread([shared, work = std::move(work)] {
        work();
        shared->finished = true;
        if (QCoreApplication* app = QCoreApplication::instance())
            QMetaObject::invokeMethod(
                app,
                [shared] {
                    if (shared->loop)
                        shared->loop->quit();
                },
                Qt::QueuedConnection);
    }).detach();
    if (!shared->finished)
        loop.exec(events);
    shared->loop = nullptr;
    return shared->finished;
}

}  // namespace pf
