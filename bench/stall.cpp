// SPDX-License-Identifier: GPL-3.0-or-later
// Measures how long the GUI thread stops answering: the worst lateness of a 10 ms timer while
// the program opens, plays and closes a clip in its video window, opens a 4 GiB joined file,
// fails to open a file of random bytes, switches between two groups of 10,000 entries, adds a
// folder of 10,000 files and joins 1 GiB with its progress dialog; each against the same timer
// on a bare event loop (target: at most 100 ms each). Inputs are made under /var/tmp.
// Needs a display for the video window (`xvfb-run -a`); offscreen it plays without a picture.
#include "core/finished_list.h"
#include "core/main_state.h"
#include "join/input_list.h"
#include "join/join_commands.h"
#include "mci/mci_service.h"
#include "playback/mpeg_video_device.h"
#include "playback/mpv_session.h"
#include "ui/parlo_film_g.h"
#include "ui/progress_dialog.h"
#include "ui/skin.h"

#include "bench_inputs.h"
#include "printing_prompter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

#include <unistd.h>

using namespace pf;
using namespace pf::bench;

namespace {

constexpr int Beat_Ms = 10;
constexpr double Target_Ms = 100;
constexpr int Group_Size = 10'000;
constexpr qint64 Joined_Size = qint64(4) << 30;
constexpr qint64 Join_Size = qint64(1) << 30;

// Runs `action` from the event loop with a 10 ms timer beside it until the action calls the
// `done` it is given; the timer's worst lateness.
double Worst_Lateness_Ms(const std::function<void(const std::function<void()>& done)>& action)
{
    QEventLoop loop;
    QElapsedTimer since;
    double worst = 0;
    QTimer beat;
    beat.setTimerType(Qt::PreciseTimer);
    QObject::connect(&beat, &QTimer::timeout, [&] {
        worst = std::max(worst, double(since.nsecsElapsed()) / 1e6 - Beat_Ms);
        since.restart();
    });
    QTimer::singleShot(5 * Beat_Ms, &loop, [&] {
        // A few beats more, so that a stall at the very end is counted too.
        action([&] { QTimer::singleShot(5 * Beat_Ms, &loop, &QEventLoop::quit); });
    });
    since.start();
    beat.start(Beat_Ms);
    loop.exec();
    return worst;
}

// The same for an action that is over when it returns.
double Worst_Lateness_Ms(const std::function<void()>& action)
{
    return Worst_Lateness_Ms([&](const std::function<void()>& done) {
        action();
        done();
    });
}

int missed = 0;

void Row(const char* what, double ms, double bare)
{
    const bool ok = ms <= Target_Ms;
    missed += ok ? 0 : 1;
    std::printf("  %-44s %8.1f ms  (bare loop %.1f ms; target <= %.0f ms)%s\n", what, ms, bare, Target_Ms,
                ok ? "" : "  MISSED");
    std::fflush(stdout);
}

bool Mci(const QString& command)
{
    return Mci_Service::Instance().Send_String(command) == 0;
}

// As in the program: one font everywhere, first drawn by the main window before any click, and
// the player's libraries loaded beside the window after its first paint.
void Start_As_The_Program()
{
    QApplication::setFont(Skin_Font());
    QLabel(QStringLiteral("ｸﾞﾙｰﾌﾟ 00 ｷｬﾝｾﾙ")).grab();
    Mpv_Session::Preload();
    Register_Mpeg_Driver({"null"});
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Start_As_The_Program();
    QTemporaryDir dir(QStringLiteral("/var/tmp/pf_bench_stall_XXXXXX"));
    if (!dir.isValid())
        return 1;
    const QString clip = dir.filePath(QStringLiteral("clip.mpg")), joined = dir.filePath(QStringLiteral("joined.mpg"));
    const QString random = dir.filePath(QStringLiteral("random.mpg"));
    std::printf("making inputs in %s ...\n", qPrintable(dir.path()));
    std::fflush(stdout);
    Main_State state(dir.path());
    Printing_Prompter prompter(dir.filePath(QStringLiteral("folder")));
    Finished_List list(state, prompter, List_Id::Favorite);
    QStringList parts;
    for (int i = 0; i < 4; ++i)
        parts << dir.filePath(QStringLiteral("part%1.mpg").arg(i));
    bool made = Make_Clip(clip, 2, "8M") && Make_Joined(clip, joined, Joined_Size) && Write_Random(random, 1 << 20, 7)
        && Write_Group(state.Group_Path(Group_Kind::Favorite, 1), Make_Files(dir.filePath("one"), Group_Size)).Ok();
    for (const QString& part : parts)
        made = made && Write_Random(part, Join_Size / 4, 1);
    Make_Files(dir.filePath(QStringLiteral("folder")), Group_Size);
    list.List().Add_All(Make_Files(dir.filePath(QStringLiteral("zero")), Group_Size));
    if (!made) {
        std::fprintf(stderr, "could not make the inputs\n");
        return 1;
    }

    // The inputs' gigabytes go to the disk now, not into the first settings file synced below.
    ::sync();
    const double bare = Worst_Lateness_Ms([] {});
    std::printf("worst lateness of a %d ms timer on the GUI thread:\n", Beat_Ms);
    Row("bare event loop", bare, bare);
    Settings settings;
    settings.Size = 1;
    Row("open, play and close a 2 s clip (video window)", Worst_Lateness_Ms([&] {
            Parlo_film_G window(settings, clip, prompter, dir.filePath(QStringLiteral("Parlo_film.ini")));
            window.Run();
        }),
        bare);
    Row("open and close a 4 GiB joined file", Worst_Lateness_Ms([&] {
            Mci("open \"" + joined + "\" type MPEGVideo alias stall");
            Mci(QStringLiteral("close stall"));
        }),
        bare);
    Row("fail to open a file of random bytes",
        Worst_Lateness_Ms([&] { Mci("open \"" + random + "\" type MPEGVideo alias stall"); }), bare);
    // Each switch is one click of its own, so the worse of the two counts.
    Row("switch between groups of 10,000 entries",
        std::max(Worst_Lateness_Ms([&] { list.Switch_Group(1); }), Worst_Lateness_Ms([&] { list.Switch_Group(0); })),
        bare);
    Row("add a folder of 10,000 files", Worst_Lateness_Ms([&] { Input_List(state, prompter).Add_Folder_Files(); }),
        bare);
    state.settings.Auto = 1;
    state.settings.AutoFolder = dir.path();
    state.lstFiles.Add_All(parts);
    Join_Commands join(state, prompter);
    Progress_Dialog progress(join.Engine(), nullptr);
    Row("join 1 GiB (with the progress dialog)", Worst_Lateness_Ms([&](const std::function<void()>& done) {
            QObject::connect(&join.Engine(), &Join_Engine::ended, &join, done, Qt::SingleShotConnection);
            join.Run(Cmd_Join);
        }),
        bare);
    std::printf("%d of 6 over the target\n", missed);
    return 0;
}
