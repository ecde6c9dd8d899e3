// Parlo_film Viewer: finds the folder for its files, builds the main window over the
// program's state and runs until the main window closes.
#include "core/main_state.h"
#include "join/join_commands.h"
#include "join/progress_dialog.h"
#include "ui/main_window.h"
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

    pf::Main_State state(folder);
    pf::Parlo_film_S window(state);

    // The join page: labels 0 to 6, the rename labels 9 and 15 and the input list's events.
    pf::Progress_Dialog joinProgress(&window);
    pf::Join_Commands join(state, window.Prompts(), &joinProgress);
    for (int i : pf::Join_Commands::Indices())
        window.Set_Command(i, [&join, i] { join.run(i); });
    QObject::connect(&window, &pf::Parlo_film_S::listClicked, &join, [&join](pf::List_Id id, int row) {
        if (id == pf::List_Id::Input)
            join.filesClicked(row);
    });
    QObject::connect(&window, &pf::Parlo_film_S::listDoubleClicked, &join, [&join](pf::List_Id id, int row) {
        if (id == pf::List_Id::Input)
            join.filesDoubleClicked(row);
    });
    QObject::connect(&window, &pf::Parlo_film_S::filesDropped, &join,
                     [&join](pf::List_Id id, const QStringList& paths) {
                         if (id == pf::List_Id::Input)
                             join.filesDropped(paths);
                     });
    window.Load();
    window.show();
    return app.exec();
}
