// SPDX-License-Identifier: GPL-3.0-or-later
#include "util/screen_pointer.h"

#include <QCursor>
#include <QGuiApplication>

namespace pf {

namespace {

// Qt keeps a stack of override cursors; we push at most one.
bool hourglass = false;

}  // namespace

void Set_Screen_Pointer(Screen_Pointer pointer)
{
    const bool want = pointer == Screen_Pointer::Hourglass;
    if (want == hourglass)
        return;
    hourglass = want;
    if (want)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QGuiApplication::restoreOverrideCursor();
}

Screen_Pointer Current_Screen_Pointer()
{
    return hourglass ? Screen_Pointer::Hourglass : Screen_Pointer::Default;
}

}  // namespace pf
