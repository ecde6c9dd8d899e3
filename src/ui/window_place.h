// SPDX-License-Identifier: GPL-3.0-or-later
// Where a secondary window opens and how it keeps its place: each window has a pair of keys in
// the settings file (Position_Keys, declared with every key in core/settings.h) holding its top
// and left edge in twips (15 per pixel). An empty top key
// centres the window on the screen; a key that is not a number leaves that edge where it was.
// A place that would leave the head strip out of reach (a monitor gone, a hand-edited file) is
// moved onto the nearest screen. Plain functions, so the arithmetic is tested without a window.
#pragma once

#include "core/settings.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

namespace pf {

constexpr int Twips_Per_Pixel = 15;

// The window's top-left corner in pixels: centred when `top` is empty (and then the left key
// applies only with `leftWhenCentred`), else from the keys; `current` is where the window was
// created.
QPoint Opening_Position(const QString& top, const QString& left, QSize window, QSize screen, QPoint current,
                        bool leftWhenCentred);

// The head strip is in reach when one screen's available area holds this much of its width (all
// of it when narrower) over the strip's full height.
constexpr int Min_Grab_Width = 32;
constexpr int Head_Strip_Height = 20;

// Where `window` goes so that the user can reach its head strip, given the screens' available
// areas (the first is taken on a tie): where it is when the strip is in reach; else on the
// screen nearest to it, pulled inside that screen's area, centred across where it is wider and
// at the top where it is taller (the strip stays in sight). No screens: where it is.
QPoint In_Sight(QRect window, const QList<QRect>& screens);

// An edge as the settings file keeps it, in twips.
qint64 Edge_Twips(int pixels);

}  // namespace pf
