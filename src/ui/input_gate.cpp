// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/input_gate.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace pf {

struct Input_Gate::Held {
    QPointer<QObject> target;
    std::unique_ptr<QEvent> event;
};

Input_Gate::Input_Gate(QWidget* window) : QObject(window), window_(window) {}

Input_Gate::~Input_Gate() = default;

void Input_Gate::Set_Busy(bool busy)
{
    const bool was = Busy();
    busy_ = std::max(0, busy_ + (busy ? 1 : -1));
    if (was == Busy())
        return;
    if (Busy()) {
        qApp->installEventFilter(this);  // once, however often
        window_->setCursor(Qt::BusyCursor);
        return;
    }
    window_->unsetCursor();
    // What was held goes first: until it has, new input joins it, so nothing overtakes it.
    if (held_.empty())
        qApp->removeEventFilter(this);
    else
        QMetaObject::invokeMethod(this, &Input_Gate::Replay_Next, Qt::QueuedConnection);
}

bool Input_Gate::Ours(QObject* o) const
{
    if (o == window_->windowHandle())
        return true;
    auto* w = qobject_cast<QWidget*>(o);
    return w && (w == window_ || window_->isAncestorOf(w));
}

bool Input_Gate::eventFilter(QObject* watched, QEvent* e)
{
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (!e->spontaneous() || !Ours(watched))
            return false;
        held_.push_back({watched, std::unique_ptr<QEvent>(e->clone())});
        return true;
    case QEvent::Wheel:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::Close:
        if (!e->spontaneous() || !Ours(watched))
            return false;
        e->ignore();  // refused: no drop lands and the window stays with its work
        return true;
    default: return false;
    }
}

void Input_Gate::Replay_Next()
{
    // One at a time: an event that makes the window busy again holds the rest once more.
    while (!Busy() && !held_.empty()) {
        Held next = std::move(held_.front());
        held_.erase(held_.begin());
        if (!next.target)
            continue;
        QCoreApplication::postEvent(next.target, next.event.release());
        QMetaObject::invokeMethod(this, &Input_Gate::Replay_Next, Qt::QueuedConnection);
        return;
    }
    if (!Busy())
        qApp->removeEventFilter(this);
}

}  // namespace pf
