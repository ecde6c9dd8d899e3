// SPDX-License-Identifier: GPL-3.0-or-later
// The opening and closing zoom of the secondary windows: an outline rectangle that grows
// from a screen point (where the cursor was when the window loaded) to the window's
// rectangle, or shrinks back. Each call starts its own short animation and returns at once,
// so it never holds up a modal loop; the outline deletes itself when it has finished.
#pragma once

#include <QPoint>
#include <QRect>

class QWidget;

namespace pf {

// How long one zoom lasts.
constexpr int Animate_Ms = 150;

// From the point (a rectangle of zero size) to the window's frame rectangle.
void Animate_Open(QWidget* window, QPoint point);

// From the window's frame rectangle back to the point.
void Animate_Close(QWidget* window, QPoint point);

// The outline's rectangle at `progress` (0 to 1) of a zoom between two rectangles.
QRect Zoom_Rect(const QRect& from, const QRect& to, double progress);

}  // namespace pf
