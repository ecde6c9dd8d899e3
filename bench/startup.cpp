// SPDX-License-Identifier: GPL-3.0-or-later
// Time from process start to the main window's first paint, with both current groups holding
// 1,000 and then 10,000 existing files each, against the same for a bare Qt window of the same size.
// The program spawns itself: `startup` measures, `startup --bare`, `startup --bare-text` and
// `startup --app <folder>` are the windows, each printing one line when its first paint has
// finished. The bare window with one caption in the skin's font shows how much of the
// difference is the font set-up that any window with Japanese text pays.
// Without a display the offscreen platform is used (it paints all the same).
#include "core/main_state.h"
#include "lists/group_file.h"
#include "ui/first_paint.h"
#include "ui/main_window.h"
#include "ui/skin.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <utility>

namespace {

constexpr int Rounds = 7;

enum class Mode { Bare, Bare_Text, App };

int Run_Window(int argc, char** argv, Mode mode, const QString& appFolder)
{
    QApplication app(argc, argv);
    std::unique_ptr<pf::Main_State> state;
    std::unique_ptr<QWidget> window;
    if (mode != Mode::App) {
        window = std::make_unique<QWidget>(nullptr, Qt::Window | Qt::FramelessWindowHint);
        window->resize(805, 569);
        if (mode == Mode::Bare_Text) {
            auto* caption = new QLabel(QStringLiteral("ｸﾞﾙｰﾌﾟ 00"), window.get());
            caption->setFont(pf::Skin_Font());
            caption->move(12, 12);
        }
    } else {
        state = std::make_unique<pf::Main_State>(appFolder);
        auto main = std::make_unique<pf::Parlo_film_S>(*state);
        main->Load();
        window = std::move(main);
    }
    // The end of the window's first paint ends the process.
    pf::After_First_Paint(window.get(), [] {
        std::fputs("painted\n", stdout);
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
    window->show();
    return app.exec();
}

bool Make_Folder(const QString& folder, int perGroup)
{
    QStringList joined, favorites;
    QDir().mkpath(folder + QStringLiteral("/media"));
    for (int i = 0; i < 2 * perGroup; ++i) {
        const QString path = folder + QStringLiteral("/media/clip_%1.mpg").arg(i, 5, 10, QLatin1Char('0'));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return false;
        (i % 2 ? joined : favorites).append(path);
    }
    return pf::Write_Group(pf::Group_File_Path(folder, pf::Group_Kind::Joined, 0), joined)
        && pf::Write_Group(pf::Group_File_Path(folder, pf::Group_Kind::Favorite, 0), favorites);
}

// Milliseconds from starting the child to its first-paint line; negative on failure.
double Time_Child(const QString& exe, const QStringList& args)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer t;
    t.start();
    child.start(exe, args);
    while (child.waitForReadyRead(30000))
        if (child.readAll().contains("painted"))
            break;
    const double ms = t.nsecsElapsed() / 1e6;
    child.waitForFinished(30000);
    return child.exitCode() == 0 && child.exitStatus() == QProcess::NormalExit ? ms : -1;
}

double Median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.at(v.size() / 2);
}

// One row: the bare windows and the main window over two groups of `perGroup` files each.
bool Row(int perGroup, double target)
{
    QTemporaryDir dir;
    if (!dir.isValid() || !Make_Folder(dir.path(), perGroup)) {
        std::fprintf(stderr, "cannot prepare the application folder\n");
        return false;
    }
    const QString exe = QCoreApplication::applicationFilePath();
    QList<double> bare, text, main;
    for (int r = 0; r < Rounds; ++r) {
        // Interleaved, so that all see the same warm caches.
        const double b = Time_Child(exe, {QStringLiteral("--bare")});
        const double t = Time_Child(exe, {QStringLiteral("--bare-text")});
        const double m = Time_Child(exe, {QStringLiteral("--app"), dir.path()});
        if (b < 0 || t < 0 || m < 0) {
            std::fprintf(stderr, "a child window failed\n");
            return false;
        }
        bare.append(b);
        text.append(t);
        main.append(m);
    }
    const double mb = Median(bare), mt = Median(text), mm = Median(main);
    std::printf("  bare Qt window 805x569               %8.1f ms\n", mb);
    std::printf("  the same with one caption in the font %7.1f ms\n", mt);
    std::printf("  Parlo_film_S, 2 x %d group files  %8.1f ms\n", perGroup, mm);
    std::printf("  ratio to the bare window    %.2f (target <= %.2f)\n", mm / mb, target);
    std::printf("  ratio to the captioned one  %.2f\n", mm / mt);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc >= 2 && QByteArray(argv[1]) == "--bare")
        return Run_Window(argc, argv, Mode::Bare, {});
    if (argc >= 2 && QByteArray(argv[1]) == "--bare-text")
        return Run_Window(argc, argv, Mode::Bare_Text, {});
    if (argc >= 3 && QByteArray(argv[1]) == "--app")
        return Run_Window(argc, argv, Mode::App, QString::fromLocal8Bit(argv[2]));

    QCoreApplication app(argc, argv);
    std::printf("start to first paint, median of %d (platform %s)\n", Rounds,
                qgetenv("QT_QPA_PLATFORM").isEmpty() ? "default" : qgetenv("QT_QPA_PLATFORM").constData());
    for (const auto& [perGroup, target] : {std::pair{1000, 1.20}, std::pair{10'000, 1.50}})
        if (!Row(perGroup, target))
            return 1;
    return 0;
}
