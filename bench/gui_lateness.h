// SPDX-License-Identifier: GPL-3.0-or-later
// How long the GUI thread stops answering, for bench/stall: the worst lateness of a 10 ms timer
// beside an action, synchronous or asynchronous, on an event loop of its own; what an
// asynchronous action needs to go on from that loop (waiting for a condition without blocking
// it, a click posted as the window system gives one); and the tally of the figures printed.
// Everything runs on the GUI thread.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace pf::bench {

constexpr int Beat_Ms = 10;

// The figures printed so far, and those of them that missed their target.
inline int figures = 0;
inline int missed = 0;

// Prints a figure in milliseconds with `note` (its peer, its target) and counts it.
inline void Check(const QString& what, double ms, bool ok, const QString& note)
{
    ++figures;
    missed += ok ? 0 : 1;
    std::printf("  %-64s %8.1f ms  (%s)%s\n", qPrintable(what), ms, qPrintable(note), ok ? "" : "  MISSED");
    std::fflush(stdout);
}

inline double Since_Ms(const QElapsedTimer& clock)
{
    return double(clock.nsecsElapsed()) / 1e6;
}

// Runs `action` from the event loop with a 10 ms timer beside it until the action calls the
// `done` it is given; the timer's worst lateness. `done` lives only during the call: keep a copy.
inline double Worst_Lateness_Ms(const std::function<void(const std::function<void()>& done)>& action)
{
    QEventLoop loop;
    QElapsedTimer since;
    double worst = 0;
    QTimer beat;
    beat.setTimerType(Qt::PreciseTimer);
    QObject::connect(&beat, &QTimer::timeout, [&] {
        worst = std::max(worst, double(since.nsecsElapsed()) / 1e6 - Beat_Ms);
        since.restart();
    });
    QTimer::singleShot(5 * Beat_Ms, &loop, [&] {
        // A few beats more, so that a stall at the very end is counted too.
        action([&] { QTimer::singleShot(5 * Beat_Ms, &loop, &QEventLoop::quit); });
    });
    since.start();
    beat.start(Beat_Ms);
    loop.exec();
    return worst;
}

// The same for an action that is over when it returns.
inline double Worst_Lateness_Ms(const std::function<void()>& action)
{
    return Worst_Lateness_Ms([&](const std::function<void()>& done) {
        action();
        done();
    });
}

// Calls `then(true)` from the event loop once `ready` holds (asked every 5 ms), or `then(false)`
// when it has not after `timeoutMs`. Call it only while the loop runs until `then` has run.
inline void When(std::function<bool()> ready, int timeoutMs, std::function<void(bool met)> then)
{
    auto* poll = new QTimer;
    QElapsedTimer waited;
    waited.start();
    QObject::connect(poll, &QTimer::timeout,
                     [poll, waited, timeoutMs, ready = std::move(ready), then = std::move(then)] {
                         const bool met = ready();
                         if (!met && waited.elapsed() < timeoutMs)
                             return;
                         poll->stop();
                         poll->deleteLater();
                         then(met);
                     });
    poll->start(5);
}

// A left click in the middle of `widget`, posted: it is taken when the event loop is free.
inline void Click(QWidget* widget)
{
    const QPointF at = QRectF(widget->rect()).center();
    const QPointF global = widget->mapToGlobal(at);
    QApplication::postEvent(
        widget, new QMouseEvent(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QApplication::postEvent(
        widget, new QMouseEvent(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
}

}  // namespace pf::bench
