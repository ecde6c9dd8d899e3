// Parlo_film Viewer: finds the folder for its files, builds the main window over the
// program's state and runs until the main window closes.
#include "core/main_state.h"
#include "ui/main_window.h"
#include "util/prompter.h"
#include "util/shell.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Parlo_film"));

    const QString folder = pf::Resolve_App_Folder(QCoreApplication::applicationDirPath(), pf::Fallback_App_Folder());
    if (folder.isEmpty()) {
        pf::Qt_Prompter(nullptr).message(
            QStringLiteral("設定とグループを保存するフォルダを作成できません。\n%1").arg(pf::Fallback_App_Folder()),
            pf::Msg_Exclamation);
        return 1;
    }

    pf::Main_State state(folder);
    pf::Parlo_film_S window(state);
    window.Load();
    window.show();
    return app.exec();
}
