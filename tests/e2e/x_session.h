// SPDX-License-Identifier: GPL-3.0-or-later
// The X display the end-to-end runs use (Xvfb), seen as a user sees it: the mapped top-level
// windows with their names, owning processes and places, the whole screen as a picture, and
// real pointer and key events made through the XTEST extension, which the server delivers as
// it would a user's. Nothing here calls into the program under test.
#pragma once

#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

#include <functional>
#include <optional>

struct _XDisplay;

namespace pf::e2e {

struct X_Window {
    unsigned long id = 0;
    QString name;    // _NET_WM_NAME, else WM_NAME
    qint64 pid = 0;  // _NET_WM_PID, 0 when not set
    QRect rect;      // on the screen
};

class X_Session {
public:
    // Opens $DISPLAY; Ok() is false without one.
    X_Session();
    ~X_Session();
    X_Session(const X_Session&) = delete;
    X_Session& operator=(const X_Session&) = delete;

    bool Ok() const { return display_ != nullptr; }

    // Mapped top-level windows, from the bottom of the stack to the top.
    QList<X_Window> Windows() const;
    // The topmost mapped window `match` accepts.
    std::optional<X_Window> Find(const std::function<bool(const X_Window&)>& match) const;
    // Waits until such a window is mapped (or `timeoutMs` passed).
    std::optional<X_Window> Wait_For(const std::function<bool(const X_Window&)>& match, int timeoutMs = 20000) const;
    // Waits until no mapped window is accepted by `match`.
    bool Wait_Gone(const std::function<bool(const X_Window&)>& match, int timeoutMs = 20000) const;

    // True while the keyboard focus lies in `window`.
    bool Has_Focus(unsigned long window) const;

    QImage Grab() const;
    // Maps a plain window of the test's own over `rect` (to see another window raised above it).
    unsigned long Cover(const QRect& rect);
    // The screen once nothing on it changes any more (a window just mapped has painted).
    QImage Grab_Settled() const;

    void Move(QPoint at);
    // Press and release of `button` (1 left) at `at`, `count` times in quick succession.
    void Click(QPoint at, int count = 1, int button = 1);
    // A key by its keysym name ("Return", "Escape", "Down"), pressed and released.
    void Key(const char* keysym);
    // Types printable ASCII text key by key, with Shift where the keyboard needs it.
    void Type(const QString& text);

private:
    void Key_Code(unsigned keycode, bool shift);
    void Sync() const;

    _XDisplay* display_ = nullptr;
};

}  // namespace pf::e2e
