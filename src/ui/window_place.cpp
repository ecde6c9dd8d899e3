// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/window_place.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace pf {

namespace {

// A stored edge: any number (twips are not bound to 16 bits), blanks around it allowed.
std::optional<int> Edge_Pixels(const QString& text)
{
    bool ok = false;
    const double twips = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(twips))
        return std::nullopt;
    const double px = std::floor(twips / Twips_Per_Pixel);
    if (px < std::numeric_limits<int>::min() / 2 || px > std::numeric_limits<int>::max() / 2)
        return std::nullopt;
    return int(px);
}

// Half the room left on the screen, in twips with the remainder dropped, back in pixels.
int Centred(int screen, int window)
{
    const qint64 twips = (qint64(screen) - window) * Twips_Per_Pixel / 2;
    return int(std::floor(double(twips) / Twips_Per_Pixel));
}

bool In_Reach(const QRect& strip, const QRect& area)
{
    const QRect seen = strip & area;
    return seen.height() == strip.height() && seen.width() >= std::min(strip.width(), Min_Grab_Width);
}

// Squared distance between two rectangles, 0 when they meet.
qint64 Distance(const QRect& a, const QRect& b)
{
    const qint64 dx = std::max({0, b.left() - a.right(), a.left() - b.right()});
    const qint64 dy = std::max({0, b.top() - a.bottom(), a.top() - b.bottom()});
    return dx * dx + dy * dy;
}

// One axis: inside [from, from + room) when it fits, else `wider` (where the larger window's
// start goes).
int Pull_Inside(int at, int size, int from, int room, int wider)
{
    if (size > room)
        return wider;
    return std::clamp(at, from, from + room - size);
}

}  // namespace

QPoint In_Sight(QRect window, const QList<QRect>& screens)
{
    const QRect strip(window.topLeft(), QSize(window.width(), std::min(window.height(), Head_Strip_Height)));
    if (screens.isEmpty()
        || std::any_of(screens.begin(), screens.end(), [&](const QRect& s) { return In_Reach(strip, s); }))
        return window.topLeft();
    const QRect nearest = *std::min_element(screens.begin(), screens.end(), [&](const QRect& a, const QRect& b) {
        return Distance(window, a) < Distance(window, b);
    });
    return {Pull_Inside(window.x(), window.width(), nearest.x(), nearest.width(),
                        nearest.x() + (nearest.width() - window.width()) / 2),
            Pull_Inside(window.y(), window.height(), nearest.y(), nearest.height(), nearest.y())};
}

QPoint Opening_Position(const QString& top, const QString& left, QSize window, QSize screen, QPoint current,
                        bool leftWhenCentred)
{
    QPoint at = current;
    if (top.isEmpty()) {
        at = QPoint(Centred(screen.width(), window.width()), Centred(screen.height(), window.height()));
    } else if (const auto y = Edge_Pixels(top)) {
        at.setY(*y);
    }
    if (!left.isEmpty() && (leftWhenCentred || !top.isEmpty())) {
        if (const auto x = Edge_Pixels(left))
            at.setX(*x);
    }
    return at;
}

qint64 Edge_Twips(int pixels)
{
    return qint64(pixels) * Twips_Per_Pixel;
}

}  // namespace pf
