// SPDX-License-Identifier: GPL-3.0-or-later
// The options the session's players start with: names only, so no libmpv header is needed here.
#include "playback/mpv_names.h"
#include "playback/mpv_session.h"

#include <QGuiApplication>

namespace pf {

Mpv_Session::Options Mpv_Session::Video_Options(quint64 window)
{
    const bool x11 = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
        && QGuiApplication::platformName() == QLatin1String("xcb");
    if (!x11)
        return {{mpv::Vo, "null"}, {mpv::Force_Window, "no"}};
    if (window == 0)
        return {};
    // Only these outputs draw into a foreign window; mpv's later fallbacks open their own.
    // OpenGL only: where Vulkan is tried and fails, its clean-up closes descriptor 0, which by
    // then may be another player's X connection, and the whole program loses its display.
    return {{mpv::Wid, QByteArray::number(window)}, {mpv::Vo, "gpu,xv,x11"}, {mpv::Gpu_Api, "opengl"}};
}

Mpv_Session::Options Mpv_Session::Player_Options(const Options& video, const QByteArray& audioOutput,
                                                 const Options& own)
{
    Options all = video;
    all += {{mpv::Idle, "yes"}, {mpv::Osd_Level, "0"}, {mpv::Audio_Display, "no"}};
    if (!audioOutput.isEmpty())
        all += {{mpv::Ao, audioOutput}};
    return all + own;
}

}  // namespace pf
