// SPDX-License-Identifier: GPL-3.0-or-later
// Parlo_film Viewer: finds the folder for its files, starts the main window over the
// program's state and runs until the main window closes.
#include "app/main_application.h"
#include "ui/qt_prompter.h"
#include "ui/skin.h"
#include "util/command_line.h"
#include "util/platform.h"
#include "util/qt_japanese.h"
#include "util/shell.h"
#include "util/single_instance.h"
#include "util/version.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char** argv)
{
    QStringList raw;
    for (int i = 0; i < argc; ++i)
        raw << QString::fromLocal8Bit(argv[i]);
    // Before the window system: --version and --help need no display. Qt's options still
    // stand in the raw list, so nothing else is judged yet.
    const pf::Command_Line early = pf::Parse_Command_Line(raw, QDir::currentPath());
    if (early.action == pf::Command_Line::Action::Print_Version) {
        std::fputs(qPrintable(pf::Version_Text()), stdout);
        return 0;
    }
    if (early.action == pf::Command_Line::Action::Print_Help) {
        std::fputs(qPrintable(pf::Help_Text()), stdout);
        return 0;
    }

    // Before the application picks its window system.
    pf::Prefer_X11_Platform(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(PF_VERSION));
    const pf::Command_Line cl = pf::Parse_Command_Line(QCoreApplication::arguments(), QDir::currentPath());
    if (cl.action == pf::Command_Line::Action::Error) {
        std::fprintf(stderr, "parlo_film: %s\n%s", qPrintable(cl.error), qPrintable(pf::Help_Text()));
        return 2;
    }
    QApplication::setApplicationName(QStringLiteral("Parlo_film"));
    // One font for the text of every window, message boxes and dialogs included.
    QApplication::setFont(pf::Skin_Font());
    // Qt's own dialogs speak the interface's language; without the set-up's package, English.
    if (!pf::Load_Qt_Japanese())
        qWarning("Qt's Japanese translations (qt6-translations-l10n) are not installed");

    const QString folder = pf::Resolve_App_Folder(QCoreApplication::applicationDirPath(), pf::Fallback_App_Folder());
    if (folder.isEmpty()) {
        pf::Qt_Prompter(nullptr).Message(
            QStringLiteral("設定とｸﾞﾙｰﾌﾟを保存するﾌｫﾙﾀﾞを作成できません。\n%1").arg(pf::Fallback_App_Folder()),
            pf::Msg_Exclamation);
        return 1;
    }

    // Before anything reads or writes the folder's files: they belong to one running program.
    pf::Single_Instance instance(folder);
    if (!instance.Acquire()) {
        pf::Qt_Prompter(nullptr).Message(QStringLiteral("Parlo_film は既に起動しています！"), pf::Msg_Exclamation);
        instance.Ask_Owner_To_Raise();
        return 0;
    }

    pf::Main_Application program(folder);
    QObject::connect(&instance, &pf::Single_Instance::raiseRequested, &program.Window(),
                     [&program] { program.Raise(); });
    program.Start(cl.files);
    return app.exec();
}
