// SPDX-License-Identifier: GPL-3.0-or-later
#include "util/platform.h"

#include <QGuiApplication>
#include <QtGlobal>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace pf {

QByteArray Preferred_Platform(const QByteArray& waylandDisplay, const QByteArray& qpaPlatform, int argc,
                              const char* const* argv)
{
    if (waylandDisplay.isEmpty() || !qpaPlatform.isEmpty())
        return {};
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (std::strcmp(a, "-platform") == 0 || std::strncmp(a, "-platform=", 10) == 0
            || std::strcmp(a, "--platform") == 0 || std::strncmp(a, "--platform=", 11) == 0)
            return {};
    }
    return QByteArrayLiteral("xcb;wayland");
}

void Prefer_X11_Platform(int argc, const char* const* argv)
{
    const QByteArray platform = Preferred_Platform(qgetenv("WAYLAND_DISPLAY"), qgetenv("QT_QPA_PLATFORM"), argc, argv);
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}

void Sync_Window_System()
{
    // The offscreen platform offers the interface too, without a connection.
    const auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app || QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    const auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c)
        return;
    // A request with a reply: the server answers it after all that came before.
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

}  // namespace pf
