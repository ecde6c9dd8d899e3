// SPDX-License-Identifier: GPL-3.0-or-later
// Measures how long the GUI thread stops answering: the worst lateness of a 10 ms timer while
// the program opens, plays and closes a clip in its video window, opens a 4 GiB joined file,
// fails to open a file of random bytes, switches between two groups of 10,000 entries, adds a
// folder of 10,000 files and joins 1 GiB with its progress dialog; then, on a slow drive
// (slow_drive.h), joins 16 MiB whose every read takes 50 ms, cancels joins whose read is held
// 10 s (while the inputs are looked into, and in the copy), and switches to a group of 5,000
// entries there, slow and held. Each against the same timer on a bare event loop (target: at
// most 100 ms each). Inputs are made under /var/tmp.
// Needs a display for the video window (`xvfb-run -a`); offscreen it plays without a picture.
// The slow drive needs root and python3-fusepy; without them its rows are skipped.
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
#include "gui_lateness.h"
#include "printing_prompter.h"
#include "slow_drive.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

#include <unistd.h>

using namespace pf;
using namespace pf::bench;

namespace {

constexpr double Target_Ms = 100;
constexpr int Group_Size = 10'000;
constexpr qint64 Joined_Size = qint64(4) << 30;
constexpr qint64 Join_Size = qint64(1) << 30;
// On the slow drive: FUSE reads 128 KiB at a time, so 50 ms a read makes 1 GiB take 7 minutes.
constexpr qint64 Slow_Part_Size = qint64(4) << 20;
constexpr int Slow_Parts = 4;
constexpr int Slow_Group_Size = 5'000;
constexpr int Slow_Group = 2;
constexpr int Hold_Ms = 10'000;
constexpr double Cancel_Target_Ms = 200;
constexpr double Quiet_Ms = 300;
// How long the kernel keeps a name looked up on the slow drive (slow_drive.py's entry_timeout).
constexpr int Entry_Timeout_Ms = 1000;

void Row(const QString& what, double ms, double bare)
{
    Check(what, ms, ms <= Target_Ms,
          QStringLiteral("bare loop %1 ms; target <= %2 ms").arg(bare, 0, 'f', 1).arg(Target_Ms));
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

// Switches `list` to `group` and waits for switchEnded; its time goes to `endMs` (-1 when the
// switch was refused). With `held`, the timer goes on until Hold_Ms, when `held` releases the
// drive, and a second more: what the switch left behind must not disturb the loop either.
double Switch_Lateness(Finished_List& list, int group, double* endMs = nullptr, const std::function<void()>& held = {})
{
    QElapsedTimer clock;
    double ended = -1;
    const double worst = Worst_Lateness_Ms([&](const std::function<void()>& done) {
        const auto finish = [&, done] {
            if (!held)
                return done();
            When([&] { return Since_Ms(clock) >= Hold_Ms; }, Hold_Ms,
                 [&, done](bool) {
                     held();
                     QTimer::singleShot(1000, done);
                 });
        };
        const auto switched = QObject::connect(
            &list, &Finished_List::switchEnded, &list,
            [&, finish] {
                ended = Since_Ms(clock);
                finish();
            },
            Qt::SingleShotConnection);
        clock.start();
        if (!list.Switch_Group(group)) {
            QObject::disconnect(switched);
            finish();
        }
    });
    if (endMs)
        *endMs = ended;
    return worst;
}

void Use_Inputs(Main_State& state, const QStringList& inputs)
{
    state.lstFiles.Clear();
    state.lstFiles.Add_All(inputs);
}

// The join of the existing row, of `inputs`; `seconds` gets how long it ran.
double Join_Lateness(Main_State& state, Join_Commands& join, const QStringList& inputs, double* seconds = nullptr)
{
    Use_Inputs(state, inputs);
    QElapsedTimer clock;
    double ran = 0;
    const double worst = Worst_Lateness_Ms([&](const std::function<void()>& done) {
        QObject::connect(
            &join.Engine(), &Join_Engine::ended, &join,
            [&, done] {
                ran = Since_Ms(clock) / 1000;
                done();
            },
            Qt::SingleShotConnection);
        clock.start();
        join.Run(Cmd_Join);
    });
    if (seconds)
        *seconds = ran;
    return worst;
}

struct Held_Join {
    double worst = 0;
    double shownMs = -1;    // from the join's start to the dialog
    double cancelMs = -1;   // from the click to the dialog hidden and the loop free again
    double removedMs = -1;  // from the release to the drive let go and the temporary file gone
    QString temp;           // the temporary file, when it was there at the click
};

// A join whose reads of `held` wait for Hold_Ms from its first step on, or from its second (the
// copy) with `inCopy`, cancelled by a click once the dialog shows. The timer runs until the late
// worker has let go of the drive and removed the temporary file.
Held_Join Cancel_Held_Join(Main_State& state, Join_Commands& join, const Progress_Dialog& progress, Slow_Drive& drive,
                           const QString& held, bool inCopy)
{
    drive.Set_Rules(QStringLiteral("hold read %1\n").arg(held));
    Held_Join f;
    QElapsedTimer clock;
    double clickAt = 0, heldAt = 1e12;
    int steps = 0;
    const auto holding = QObject::connect(&join.Engine(), &Join_Engine::stepStarted, [&] {
        if (++steps == (inCopy ? 2 : 1)) {
            drive.Hold(true);
            heldAt = Since_Ms(clock);
        }
    });
    f.worst = Worst_Lateness_Ms([&](const std::function<void()>& done) {
        QObject::connect(
            &join.Engine(), &Join_Engine::ended, &join,
            [&] {
                // On screen once the loop has gone round after the hide.
                QTimer::singleShot(0, &join, [&] { f.cancelMs = progress.Dialog() ? -1 : Since_Ms(clock) - clickAt; });
            },
            Qt::SingleShotConnection);
        clock.start();
        join.Run(Cmd_Join);
        When([&] { return progress.Dialog() != nullptr; }, Hold_Ms / 2,
             [&](bool shown) {
                 f.shownMs = shown ? Since_Ms(clock) : -1;
                 if (QFileInfo::exists(state.Temp_Join_File))
                     f.temp = state.Temp_Join_File;
                 clickAt = Since_Ms(clock);
                 if (shown)
                     Click(progress.Dialog()->findChild<QPushButton*>());
                 else
                     join.Engine().Cancel();
             });
        When([&] { return Since_Ms(clock) >= heldAt + Hold_Ms; }, 2 * Hold_Ms,
             [&, done](bool) {
                 drive.Hold(false);
                 const double released = Since_Ms(clock);
                 // Over once the file is gone and the drive has been left alone for a while: between
                 // two inputs the worker has no file open there either.
                 auto lastUse = std::make_shared<double>(released);
                 const auto over = [&, lastUse] {
                     if (drive.In_Use() || (!f.temp.isEmpty() && QFileInfo::exists(f.temp)))
                         *lastUse = Since_Ms(clock);
                     return Since_Ms(clock) - *lastUse >= Quiet_Ms;
                 };
                 When(over, 30'000, [&, done, released, lastUse](bool met) {
                     f.removedMs = met ? *lastUse - released : -1;
                     done();
                 });
             });
    });
    QObject::disconnect(holding);
    return f;
}

// The held join's figures: its row, the cancel's and, for a held copy, the temporary file's.
void Held_Join_Rows(Main_State& state, Join_Commands& join, const Progress_Dialog& progress, Slow_Drive& drive,
                    const QStringList& inputs, bool inCopy, double bare)
{
    Use_Inputs(state, inputs);
    // The first input's read holds the look into the inputs; the third's, the copy after two.
    const QString held = inputs.at(inCopy ? 2 : 0).mid(drive.Mount().size());
    const Held_Join f = Cancel_Held_Join(state, join, progress, drive, held, inCopy);
    Row(inCopy ? QStringLiteral("the same, the copy's read held 10 s, cancelled")
               : QStringLiteral("the same, a read held 10 s while looked into, cancelled"),
        f.worst, bare);
    Check(QStringLiteral("  click on cancel to the dialog hidden"), f.cancelMs,
          f.cancelMs >= 0 && f.cancelMs <= Cancel_Target_Ms,
          QStringLiteral("dialog shown after %1 ms; target <= %2 ms").arg(f.shownMs, 0, 'f', 0).arg(Cancel_Target_Ms));
    Check(inCopy ? "  temporary file removed by the late worker" : "  the late worker off the drive", f.removedMs,
          f.removedMs >= 0 && (!inCopy || !f.temp.isEmpty()), QStringLiteral("after the release"));
}

// 4 x 4 MiB of random bytes under `folder` of the backing, by their names on the drive.
QStringList Slow_Inputs(const Slow_Drive& drive, const QString& folder, unsigned seed)
{
    QStringList parts;
    QDir().mkpath(drive.Backing() + '/' + folder);
    for (int i = 0; i < Slow_Parts; ++i) {
        const QString part = drive.Backing() + QStringLiteral("/%1/part%2.mpg").arg(folder).arg(i);
        if (!Write_Random(part, Slow_Part_Size, seed + unsigned(i)))
            return {};
        parts << drive.Slow(part);
    }
    return parts;
}

void Slow_Join_Rows(Main_State& state, Join_Commands& join, const Progress_Dialog& progress, Slow_Drive& drive,
                    double bare)
{
    const QStringList slow = Slow_Inputs(drive, QStringLiteral("slow"), 11);
    const QStringList held = Slow_Inputs(drive, QStringLiteral("held"), 21);
    if (slow.isEmpty() || held.isEmpty()) {
        std::printf("could not make the slow drive's inputs\n");
        ++missed;
        return;
    }
    drive.Set_Rules(QStringLiteral("delay 0.05 /slow/\n"));
    const qsizetype listed = state.List_Join.Count();
    double seconds = 0;
    const double worst = Join_Lateness(state, join, slow, &seconds);
    Row(QStringLiteral("join 4 x 4 MiB, every read 50 ms (%1 s%2)")
            .arg(seconds, 0, 'f', 1)
            .arg(state.List_Join.Count() == listed + 1 ? "" : ", NOT JOINED"),
        worst, bare);
    Held_Join_Rows(state, join, progress, drive, held, false, bare);
    Held_Join_Rows(state, join, progress, drive, held, true, bare);
}

// A switch from the group at hand to the slow group while its folder does not answer for
// Hold_Ms. `visited`: the folder was looked up just before, so the kernel answers its open from
// its cache and only the listing waits; else the lookup waits too (the cached name has expired).
void Held_Switch_Row(Main_State& state, Finished_List& list, Slow_Drive& drive, bool visited, double bare)
{
    const int home = list.Group();
    // A check left behind that has not returned counts its folder away at once, without asking.
    if (!drive.Unused(30'000))
        std::printf("  (a check left behind is still on the drive)\n");
    const QString folder = drive.Mount() + QStringLiteral("/group");
    if (visited)
        QFileInfo::exists(folder);
    else
        QThread::msleep(Entry_Timeout_Ms + 500);
    drive.Set_Rules(QStringLiteral("hold getattr /group\nhold readdir /group\n"));
    drive.Hold(true);
    double endMs = -1;
    const double worst = Switch_Lateness(list, Slow_Group, &endMs, [&] { drive.Hold(false); });
    Row(QStringLiteral("the same, %1 held 10 s (%2 shown, %3 aside)")
            .arg(visited ? QStringLiteral("after a visit its listing") : QStringLiteral("its lookup"))
            .arg(list.List().Count())
            .arg(state.Away(list.Id()).size()),
        worst, bare);
    // Sooner than the bound, the folder was not asked: it still counted as not answering.
    const int bound = Main_State::Presence_Bound_Ms;
    Check("  click to switchEnded", endMs, endMs >= bound && endMs <= bound + 200,
          QStringLiteral("target: the presence bound, %1 ms, to %2 ms%3")
              .arg(bound)
              .arg(bound + 200)
              .arg(endMs < bound ? QStringLiteral("; the folder was not asked") : QString()));
    drive.Set_Rules({});
    Switch_Lateness(list, home);
}

void Slow_Switch_Rows(Main_State& state, Finished_List& list, Slow_Drive& drive, double bare)
{
    const QStringList made = Make_Files(drive.Backing() + QStringLiteral("/group"), Slow_Group_Size);
    QStringList entries;
    for (const QString& path : made)
        entries << drive.Slow(path);
    if (!Write_Group(state.Group_Path(list.Kind(), Slow_Group), entries).Ok()) {
        std::printf("could not write the slow drive's group\n");
        ++missed;
        return;
    }
    const int home = list.Group();
    // Reads only: the presence check lists the folder and asks for each name, reading nothing.
    drive.Set_Rules(QStringLiteral("delay 0.05 /group/\n"));
    double endMs = -1;
    const double worst = Switch_Lateness(list, Slow_Group, &endMs);
    Row(QStringLiteral("switch to 5,000 there, every read 50 ms (%1 ms, %2 shown)")
            .arg(endMs, 0, 'f', 0)
            .arg(list.List().Count()),
        worst, bare);
    Switch_Lateness(list, home);
    Held_Switch_Row(state, list, drive, false, bare);
    Held_Switch_Row(state, list, drive, true, bare);
}

// The rows on the slow drive, under `folder`; skipped, saying why, where it cannot run.
void Slow_Rows(Main_State& state, Finished_List& list, Join_Commands& join, const Progress_Dialog& progress,
               const QString& folder, double bare)
{
    if (const QString why = Slow_Drive::Unavailable(); !why.isEmpty()) {
        std::printf("slow-drive rows skipped: %s\n", qPrintable(why));
        return;
    }
    Slow_Drive drive(folder);
    if (!drive.Start()) {
        std::printf("slow-drive rows skipped: the drive was not mounted within 10 s\n");
        return;
    }
    std::printf("on a slow drive (bench/slow_drive.py, FUSE):\n");
    // Its rows last up to 12 s each: what the machine alone does to the timer over as long.
    Row(QStringLiteral("bare event loop for 10 s"),
        Worst_Lateness_Ms([](const std::function<void()>& done) { QTimer::singleShot(Hold_Ms, done); }), bare);
    Slow_Join_Rows(state, join, progress, drive, bare);
    Slow_Switch_Rows(state, list, drive, bare);
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
    // Each switch is one click of its own, so the worse of the two counts; each until its group is in.
    Row("switch between groups of 10,000 entries", std::max(Switch_Lateness(list, 1), Switch_Lateness(list, 0)), bare);
    Row("add a folder of 10,000 files", Worst_Lateness_Ms([&] { Input_List(state, prompter).Add_Folder_Files(); }),
        bare);
    state.settings.Auto = 1;
    state.settings.AutoFolder = dir.path();
    Join_Commands join(state, prompter);
    Progress_Dialog progress(join.Engine(), nullptr);
    Row("join 1 GiB (with the progress dialog)", Join_Lateness(state, join, parts), bare);
    Slow_Rows(state, list, join, progress, dir.filePath(QStringLiteral("slow")), bare);
    std::printf("%d of %d over the target\n", missed, figures - 1);
    return 0;
}
