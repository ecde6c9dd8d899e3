// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/first_paint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace pf {

namespace {

class First_Paint_Hook : public QObject {
public:
    First_Paint_Hook(QObject* parent, std::function<void()> then) : QObject(parent), then_(std::move(then)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // Queued, so that the children painted in the same pass are done too.
            QTimer::singleShot(0, this, [this] {
                then_();
                deleteLater();
            });
        }
        return false;
    }

private:
    std::function<void()> then_;
};

}  // namespace

void After_First_Paint(QWidget* window, std::function<void()> then)
{
    window->installEventFilter(new First_Paint_Hook(window, std::move(then)));
}

}  // namespace pf
