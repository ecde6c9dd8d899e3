// SPDX-License-Identifier: GPL-3.0-or-later
#include "util/wait.h"

#include "util/worker.h"

#include <QEventLoop>
#include <QTimer>

#include <memory>

namespace pf {

void Wait_Token::End()
{
    if (ended_)
        return;
    ended_ = true;
    emit ended();
}

Wait_End Wait_Until(const Wait_Token& token, int timeoutMs,
                    const std::function<void(QObject& scope, const std::function<void()>& met)>& arm)
{
    if (token.Ended())
        return Wait_End::Ended;
    QEventLoop loop;
    Wait_End end = Wait_End::Timed_Out;
    bool over = false;
    const auto finish = [&](Wait_End how) {
        if (over)
            return;
        over = true;
        end = how;
        loop.quit();
    };
    QObject::connect(&token, &Wait_Token::ended, &loop, [&] { finish(Wait_End::Ended); });
    QTimer timer;
    if (timeoutMs >= 0) {
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, &loop, [&] { finish(Wait_End::Timed_Out); });
        timer.start(timeoutMs);
    }
    arm(loop, [&] { finish(Wait_End::Met); });
    if (!over)
        loop.exec();
    return end;
}

Wait_End Wait_For_Work(const Wait_Token& token, int timeoutMs, std::function<void()> work)
{
    // The work may outlive the wait: its report reaches `receiver` only while the wait is on.
    QObject receiver;
    const auto link = std::make_shared<Job_Link>(&receiver);
    const Wait_End end = Wait_Until(token, timeoutMs, [&](QObject&, const std::function<void()>& met) {
        Start_Detached([link, met, work = std::move(work)] {
            work();
            link->Post(met);
        });
    });
    link->Cut();
    return end;
}

}  // namespace pf
