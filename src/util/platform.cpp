#include "util/platform.h"

#include <QtGlobal>

#include <cstring>

namespace pf {

QByteArray Preferred_Platform(const QByteArray& wayland_display, const QByteArray& qpa_platform, int argc,
                              const char* const* argv)
{
    if (wayland_display.isEmpty() || !qpa_platform.isEmpty())
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
    const QByteArray platform =
        Preferred_Platform(qgetenv("WAYLAND_DISPLAY"), qgetenv("QT_QPA_PLATFORM"), argc, argv);
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}

}  // namespace pf
