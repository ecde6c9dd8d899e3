// Where a secondary window opens and how it keeps its place: each window has a pair of keys in
// the settings file holding its top and left edge in twips (15 per pixel). An empty top key
// centres the window on the screen; a key that is not a number leaves that edge where it was.
// Plain functions, so the arithmetic is tested without a window.
#pragma once

#include <QPoint>
#include <QSize>
#include <QString>

namespace pf {

struct Position_Keys {
    const char* top;
    const char* left;
};

inline constexpr Position_Keys Video_Window_Keys{"FormTop", "FormLeft"};
inline constexpr Position_Keys Real_Window_Keys{"rFormTop", "rFormLeft"};
inline constexpr Position_Keys Join_Dialog_Keys{"FormJ_Top", "FormJ_Left"};
inline constexpr Position_Keys Play_Dialog_Keys{"FormP_Top", "FormP_Left"};

constexpr int Twips_Per_Pixel = 15;

// The window's top-left corner in pixels: centred when `top` is empty, else from the keys;
// `current` is where the window was created.
QPoint Opening_Position(const QString& top, const QString& left, QSize window, QSize screen, QPoint current);

// An edge as the settings file keeps it: twips, with a blank before a non-negative value.
QString Edge_Text(int pixels);

}  // namespace pf
