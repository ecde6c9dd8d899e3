// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/animate.h"

#include <QPainter>
#include <QRegion>
#include <QSet>
#include <QVariantAnimation>
#include <QWidget>

namespace pf {

namespace {

constexpr int Outline_Width = 2;

class Zoom_Outline;

// Every outline still zooming. An outline lives until its zoom ends, which may be after the
// program has ended; this never-freed list keeps such outlines owned rather than leaked.
QSet<Zoom_Outline*>& Live_Outlines()
{
    static auto* live = new QSet<Zoom_Outline*>;
    return *live;
}

// A frameless, input-transparent top-level window showing only a rectangular ring. The ring is
// cut out with a mask, so it needs no compositing window manager.
class Zoom_Outline : public QWidget {
public:
    Zoom_Outline()
        : QWidget(nullptr,
                  Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowTransparentForInput
                      | Qt::X11BypassWindowManagerHint | Qt::WindowDoesNotAcceptFocus)
    {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        Live_Outlines().insert(this);
    }
    ~Zoom_Outline() override { Live_Outlines().remove(this); }

    void Place(const QRect& r)
    {
        const QRect ring = r.normalized().adjusted(0, 0, 1, 1);
        setGeometry(ring);
        const QRect inner
            = QRect(QPoint(0, 0), ring.size()).adjusted(Outline_Width, Outline_Width, -Outline_Width, -Outline_Width);
        setMask(QRegion(QRect(QPoint(0, 0), ring.size())) - QRegion(inner.isValid() ? inner : QRect()));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(0x8d, 0xb0, 0xe6));
    }
};

void Zoom(QWidget* window, const QRect& from, const QRect& to)
{
    if (!window)
        return;
    auto* outline = new Zoom_Outline;
    auto* anim = new QVariantAnimation(outline);
    anim->setDuration(Animate_Ms);
    anim->setStartValue(0.0);
    anim->setEndValue(1.0);
    anim->setEasingCurve(QEasingCurve::OutCubic);
    QObject::connect(anim, &QVariantAnimation::valueChanged, outline,
                     [outline, from, to](const QVariant& v) { outline->Place(Zoom_Rect(from, to, v.toDouble())); });
    // Hidden outright: a close event can be refused while a modal window blocks the outline.
    QObject::connect(anim, &QVariantAnimation::finished, outline, [outline] {
        outline->hide();
        outline->deleteLater();
    });
    outline->Place(from);
    outline->show();
    anim->start();
}

int Lerp(int a, int b, double t)
{
    return a + qRound((b - a) * t);
}

}  // namespace

QRect Zoom_Rect(const QRect& from, const QRect& to, double progress)
{
    const double t = qBound(0.0, progress, 1.0);
    return QRect(QPoint(Lerp(from.left(), to.left(), t), Lerp(from.top(), to.top(), t)),
                 QPoint(Lerp(from.right(), to.right(), t), Lerp(from.bottom(), to.bottom(), t)));
}

void Animate_Open(QWidget* window, QPoint point)
{
    if (window)
        Zoom(window, QRect(point, point), window->frameGeometry());
}

void Animate_Close(QWidget* window, QPoint point)
{
    if (window)
        Zoom(window, window->frameGeometry(), QRect(point, point));
}

}  // namespace pf
