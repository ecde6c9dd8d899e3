// SPDX-License-Identifier: GPL-3.0-or-later
// The real program offscreen, for the crash test that kills it at random moments: it starts in
// the given folder through the composition root as the shipped program does (and says what it
// loaded), then runs one command through the window's own command labels and group buttons.
//   pf_crash_driver <folder> save <A|B> <entry>        lists and settings of version A or B,
//                                                      then exit with save
//   pf_crash_driver <folder> switch <A|B> <entry>      the joined list of version A or B, then
//                                                      a press on the button of group 01
//   pf_crash_driver <folder> join <inlist> <out> <input>...   automatic names in <out>
// Prints "started <joined entries> <favourite entries>", "op" as the command begins and "done"
// once it has ended. A message box, at any time, is printed as "message <text>" and ends the
// driver with status 3: a normal start and a sound command show none.
#include "app/main_application.h"
#include "ui/chrome.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QTest>

#include <cstdio>
#include <unistd.h>

namespace {

// Version A and B of the lists and the settings: the group files a few MiB, the settings file
// hundreds of KiB, so that the kills land inside their writes.
constexpr int Entries_A = 8000;
constexpr int Entries_B = 7000;

void Say(const QString& line)
{
    std::fputs(qPrintable(line + u'\n'), stdout);
    std::fflush(stdout);
}

struct Message_Watch : QObject {
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Show)
            if (auto* box = qobject_cast<QMessageBox*>(o)) {
                Say(QStringLiteral("message ") + box->text().replace(u'\n', u' '));
                ::_exit(3);
            }
        return false;
    }
};

void Set_Version(pf::Main_State& state, bool a, const QString& entry, bool lists)
{
    state.List_Join.Clear();
    state.List_Join.Add_All(QStringList(a ? Entries_A : Entries_B, entry));
    if (!lists)
        return;
    state.List_Favorite.Clear();
    state.List_Favorite.Add_All(QStringList(a ? Entries_B : Entries_A, entry));
    pf::Settings& s = state.settings;
    s.Add_Path = QString(100000, a ? u'a' : u'b');
    s.Play = a ? 0 : 1;
    s.PlayF = a ? 1 : 0;
    s.Skin = a ? 0 : 1;
    s.Inlist = a ? 2 : 3;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 5)
        return 2;
    Message_Watch watch;
    app.installEventFilter(&watch);

    pf::Main_Application program(args.at(1), {"null"});
    pf::Main_State& state = program.State();
    // The groups come in beside the event loop (and the application's quit would close windows).
    QEventLoop wait;
    QObject::connect(&state, &pf::Main_State::groupsRestored, &wait, &QEventLoop::quit);
    program.Start();
    wait.exec();
    Say(QStringLiteral("started %1 %2").arg(state.List_Join.Count()).arg(state.List_Favorite.Count()));

    pf::Parlo_film_S& window = program.Window();
    const QString op = args.at(2);
    if (op == QLatin1String("save")) {
        Set_Version(state, args.at(3) == QLatin1String("A"), args.at(4), true);
        Say(QStringLiteral("op"));
        window.Commands().Run(pf::Cmd_Exit_Save_Body);
    } else if (op == QLatin1String("switch")) {
        Set_Version(state, args.at(3) == QLatin1String("A"), args.at(4), false);
        Say(QStringLiteral("op"));
        pf::Finished_List& list = program.Finished(pf::List_Id::Joined);
        QObject::connect(&list, &pf::Finished_List::switchEnded, &wait, &QEventLoop::quit);
        QTest::mousePress(window.Group_Button(pf::Group_Kind::Joined, 1), Qt::LeftButton);
        if (list.Switching())
            wait.exec();
    } else if (op == QLatin1String("join")) {
        state.settings.Inlist = qint16(args.at(3).toInt());
        state.settings.Auto = 1;
        state.settings.AutoFolder = args.at(4);
        emit window.filesDropped(pf::List_Id::Input, args.mid(5));
        Say(QStringLiteral("op"));
        window.Commands().Run(pf::Cmd_Join);
        // The join goes on beside the event loop.
        QObject::connect(&program.Join().Engine(), &pf::Join_Engine::ended, &wait, &QEventLoop::quit);
        if (program.Join().Engine().Running())
            wait.exec();
    } else {
        return 2;
    }
    Say(QStringLiteral("done"));
    return 0;
}
