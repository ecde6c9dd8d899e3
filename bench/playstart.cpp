// SPDX-License-Identifier: GPL-3.0-or-later
// Measures the time from a play request (the single-file rule of the play dispatch) to the first
// video frame shown in the video window, next to `mpv` starting the same clip in its own window
// on the same display, and their ratio (target at most 1.2). Both pictures appear at the same
// place over a black backdrop; a frame counts as shown when that area holds the clip's colours.
// Needs an X display: run under `xvfb-run -a`.
#include "core/main_state.h"
#include "core/play_dispatch.h"
#include "core/profile.h"
#include "playback/mpeg_video_device.h"
#include "ui/player_host.h"
#include "ui/qt_prompter.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QProcess>
#include <QScreen>
#include <QSet>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace pf;

namespace {

constexpr int Round_Count = 5;
constexpr int Timeout_Ms = 20000;
const QRect Picture_Rect(0, 20, 320, 240);  // where both players show the clip

int Colours_On_Screen()
{
    const QImage image
        = QGuiApplication::primaryScreen()
              ->grabWindow(0, Picture_Rect.x(), Picture_Rect.y(), Picture_Rect.width(), Picture_Rect.height())
              .toImage();
    QSet<QRgb> seen;
    for (int y = 0; y < image.height(); y += 8)
        for (int x = 0; x < image.width(); x += 8)
            seen.insert(image.pixel(x, y));
    return int(seen.size());
}

// Runs the event loop until `done` holds; false on timeout.
bool Wait_Until(const std::function<bool()>& done)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > Timeout_Ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
    }
    return true;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

// Seconds from the play request until the clip shows in the video window.
double Ours(Play_Dispatch& dispatch, const QString& clip)
{
    QElapsedTimer t;
    double seconds = -1;
    QTimer poll;
    poll.setInterval(2);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!window)
            return;
        if (Colours_On_Screen() > 8 || t.elapsed() > Timeout_Ms) {
            seconds = t.elapsed() > Timeout_Ms ? -1 : double(t.nsecsElapsed()) / 1e9;
            window->reject();
        }
    });
    poll.start();
    t.start();
    dispatch.Single_File_Play(clip);
    return seconds;
}

// Seconds from starting mpv until the clip shows in mpv's own window at the same place.
double Peer(const QString& clip)
{
    QProcess mpv;
    QElapsedTimer t;
    t.start();
    // The same video output as the players use.
    mpv.start(QStringLiteral("mpv"),
              {"--no-config", "--really-quiet", "--ao=null", "--gpu-api=opengl", "--no-border", "--loop",
               "--geometry=320x240+0+20", clip});
    const bool shown = Wait_Until([] { return Colours_On_Screen() > 8; });
    const double seconds = shown ? double(t.nsecsElapsed()) / 1e9 : -1;
    mpv.kill();
    mpv.waitForFinished();
    return seconds;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        std::printf("needs an X display (run under xvfb-run -a)\n");
        return 1;
    }
    QTemporaryDir dir(QDir::tempPath() + "/pf-bench-playstart-XXXXXX");
    const QString clip = dir.filePath("clip 5s.mpg");
    if (QProcess::execute("ffmpeg",
                          {"-nostdin", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                           "testsrc=size=320x240:rate=25:duration=5", "-c:v", "mpeg1video", "-b:v", "800k", "-g", "12",
                           "-an", "-f", "mpeg", clip})
        != 0) {
        std::printf("could not make the clip (is ffmpeg installed?)\n");
        return 1;
    }

    // A black backdrop under both pictures, so that only a shown frame has colours there.
    QWidget backdrop(nullptr, Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint);
    backdrop.setStyleSheet("background: black");
    backdrop.setGeometry(0, 0, 480, 360);
    backdrop.show();

    Register_Mpeg_Driver({"null"});
    Main_State state(dir.path());
    state.settings.Way = 1;
    state.settings.Size = 1;
    state.settings.Rep = 1;
    // The window at the top-left corner: its picture at 0, 20.
    SetIniValue(Ini_Section, QStringLiteral("FormTop"), QStringLiteral(" 0"), state.Ini_File());
    SetIniValue(Ini_Section, QStringLiteral("FormLeft"), QStringLiteral(" 0"), state.Ini_File());
    Qt_Prompter prompter(nullptr);
    Window_Player_Host host(state, prompter, nullptr, "null");
    Play_Dispatch dispatch(state.settings, host);

    std::vector<double> ours, peer;
    for (int i = 0; i < Round_Count; ++i) {
        if (!Wait_Until([] { return Colours_On_Screen() == 1; })) {
            std::printf("the backdrop did not come back\n");
            return 1;
        }
        ours.push_back(Ours(dispatch, clip));
        Wait_Until([] { return Colours_On_Screen() == 1; });
        peer.push_back(Peer(clip));
    }
    const double a = Median(ours), b = Median(peer);
    std::printf("play request to first frame, video window: %7.3f s (median of %d)\n", a, Round_Count);
    std::printf("mpv start to first frame, its own window:  %7.3f s (median of %d)\n", b, Round_Count);
    std::printf("ratio:                                     %7.3f   (target <= 1.2)\n", a > 0 && b > 0 ? a / b : 0.0);
    return a > 0 && b > 0 ? 0 : 1;
}
