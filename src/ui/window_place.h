// Where a secondary window opens and how it keeps its place: each window has a pair of keys in
// the settings file (Position_Keys, declared with every key in core/settings.h) holding its top
// and left edge in twips (15 per pixel). An empty top key
// centres the window on the screen; a key that is not a number leaves that edge where it was.
// Plain functions, so the arithmetic is tested without a window.
#pragma once

#include "core/settings.h"

#include <QPoint>
#include <QSize>
#include <QString>

namespace pf {

constexpr int Twips_Per_Pixel = 15;

// The window's top-left corner in pixels: centred when `top` is empty, else from the keys;
// `current` is where the window was created.
QPoint Opening_Position(const QString& top, const QString& left, QSize window, QSize screen, QPoint current);

// An edge as the settings file keeps it, in twips.
qint64 Edge_Twips(int pixels);

}  // namespace pf
