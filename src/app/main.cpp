// Parlo_film Viewer: finds the folder for its files, starts the main window over the
// program's state and runs until the main window closes.
#include "ui/main_application.h"
#include "ui/skin.h"
#include "util/prompter.h"
#include "util/shell.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Parlo_film"));
    // One font for the text of every window, message boxes and dialogs included.
    QApplication::setFont(pf::Skin_Font());

    const QString folder = pf::Resolve_App_Folder(QCoreApplication::applicationDirPath(), pf::Fallback_App_Folder());
    if (folder.isEmpty()) {
        pf::Qt_Prompter(nullptr).message(
            QStringLiteral("設定とグループを保存するフォルダを作成できません。\n%1").arg(pf::Fallback_App_Folder()),
            pf::Msg_Exclamation);
        return 1;
    }

    pf::Main_Application program(folder);
    program.Start();
    return app.exec();
}
