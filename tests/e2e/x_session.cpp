// SPDX-License-Identifier: GPL-3.0-or-later
#include "x_session.h"

#include <QTest>

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace pf::e2e {

namespace {

// One property of a window as bytes; empty when missing.
QByteArray Property(Display* d, Window w, const char* name, Atom type, unsigned long* items = nullptr)
{
    Atom actual = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const Atom atom = XInternAtom(d, name, False);
    QByteArray bytes;
    if (XGetWindowProperty(d, w, atom, 0, 1 << 16, False, type, &actual, &format, &count, &after, &data) == Success
        && data) {
        // Xlib hands 32-bit items over as longs.
        const size_t item = format == 32 ? sizeof(long) : size_t(format / 8);
        bytes = QByteArray(reinterpret_cast<const char*>(data), qsizetype(count * item));
        if (items)
            *items = count;
        XFree(data);
    }
    return bytes;
}

}  // namespace

X_Session::X_Session() : display_(XOpenDisplay(nullptr)) {}

X_Session::~X_Session()
{
    if (display_)
        XCloseDisplay(display_);
}

void X_Session::Sync() const
{
    XSync(display_, False);
}

QList<X_Window> X_Session::Windows() const
{
    QList<X_Window> found;
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count))
        return found;
    const Atom utf8 = XInternAtom(display_, "UTF8_STRING", False);
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes a{};
        if (!XGetWindowAttributes(display_, children[i], &a) || a.map_state != IsViewable)
            continue;
        X_Window w;
        w.id = children[i];
        w.rect = QRect(a.x, a.y, a.width, a.height);
        QByteArray name = Property(display_, children[i], "_NET_WM_NAME", utf8);
        if (name.isEmpty())
            name = Property(display_, children[i], "WM_NAME", AnyPropertyType);
        w.name = QString::fromUtf8(name);
        unsigned long n = 0;
        const QByteArray pid = Property(display_, children[i], "_NET_WM_PID", XA_CARDINAL, &n);
        if (n == 1)
            w.pid = qint64(*reinterpret_cast<const unsigned long*>(pid.constData()));
        found.append(w);
    }
    if (children)
        XFree(children);
    return found;
}

std::optional<X_Window> X_Session::Find(const std::function<bool(const X_Window&)>& match) const
{
    const QList<X_Window> all = Windows();
    for (auto it = all.crbegin(); it != all.crend(); ++it)
        if (match(*it))
            return *it;
    return std::nullopt;
}

std::optional<X_Window> X_Session::Wait_For(const std::function<bool(const X_Window&)>& match, int timeoutMs) const
{
    std::optional<X_Window> found;
    (void)QTest::qWaitFor([&] { return (found = Find(match)).has_value(); }, timeoutMs);
    return found;
}

bool X_Session::Wait_Gone(const std::function<bool(const X_Window&)>& match, int timeoutMs) const
{
    return QTest::qWaitFor([&] { return !Find(match).has_value(); }, timeoutMs);
}

bool X_Session::Has_Focus(unsigned long window) const
{
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display_, &focus, &revert);
    // Up from the focus to the top-level window that holds it.
    const Window root = DefaultRootWindow(display_);
    while (focus > PointerRoot && focus != root) {
        if (focus == window)
            return true;
        Window r = 0, parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display_, focus, &r, &parent, &children, &count))
            return false;
        if (children)
            XFree(children);
        focus = parent;
    }
    return false;
}

QImage X_Session::Grab_Settled() const
{
    // A window shows what lay under it until its program has painted it; once two grabs a
    // moment apart agree, it has.
    QImage last = Grab();
    int same = 0;
    (void)QTest::qWaitFor(
        [&] {
            QImage now = Grab();
            same = now == last ? same + 1 : 0;
            last = std::move(now);
            return same == 3;
        },
        5000);
    return last;
}

QImage X_Session::Grab() const
{
    const Window root = DefaultRootWindow(display_);
    XWindowAttributes a{};
    XGetWindowAttributes(display_, root, &a);
    XImage* x = XGetImage(display_, root, 0, 0, unsigned(a.width), unsigned(a.height), AllPlanes, ZPixmap);
    if (!x)
        return {};
    QImage image;
    if (x->bits_per_pixel == 32)
        image = QImage(reinterpret_cast<const uchar*>(x->data), a.width, a.height, x->bytes_per_line,
                       QImage::Format_RGB32)
                    .copy();
    XDestroyImage(x);
    return image;
}

unsigned long X_Session::Cover(const QRect& rect)
{
    const Window w = XCreateSimpleWindow(display_, DefaultRootWindow(display_), rect.x(), rect.y(),
                                         unsigned(rect.width()), unsigned(rect.height()), 0, 0, 0);
    XMapRaised(display_, w);
    Sync();
    return w;
}

void X_Session::Move(QPoint at)
{
    XTestFakeMotionEvent(display_, -1, at.x(), at.y(), CurrentTime);
    Sync();
}

void X_Session::Click(QPoint at, int count, int button)
{
    Move(at);
    for (int i = 0; i < count; ++i) {
        XTestFakeButtonEvent(display_, unsigned(button), True, CurrentTime);
        XTestFakeButtonEvent(display_, unsigned(button), False, CurrentTime);
        Sync();
    }
}

void X_Session::Key_Code(unsigned keycode, bool shift)
{
    const unsigned shiftCode = XKeysymToKeycode(display_, XK_Shift_L);
    if (shift)
        XTestFakeKeyEvent(display_, shiftCode, True, CurrentTime);
    XTestFakeKeyEvent(display_, keycode, True, CurrentTime);
    XTestFakeKeyEvent(display_, keycode, False, CurrentTime);
    if (shift)
        XTestFakeKeyEvent(display_, shiftCode, False, CurrentTime);
    Sync();
}

void X_Session::Key(const char* keysym)
{
    Key_Code(XKeysymToKeycode(display_, XStringToKeysym(keysym)), false);
}

void X_Session::Type(const QString& text)
{
    for (const QChar c : text) {
        // Printable Latin-1 characters are their own keysyms.
        const KeySym sym = KeySym(c.unicode());
        const KeyCode code = XKeysymToKeycode(display_, sym);
        Key_Code(code, XkbKeycodeToKeysym(display_, code, 0, 0) != sym);
    }
}

}  // namespace pf::e2e
