// SPDX-License-Identifier: GPL-3.0-or-later
#include "join/save_as.h"

#include "core/main_state.h"
#include "join/file_move.h"
#include "util/paths.h"
#include "util/prompter.h"
#include "util/system_error.h"

namespace pf {

QString Save_Filter(const QString& upperExt)
{
    return upperExt == QLatin1String("MPG") ? QStringLiteral("動画ﾌｧｲﾙ (mpg) (*.mpg)")
                                            : QStringLiteral("動画ﾌｧｲﾙ (mpeg) (*.mpeg)");
}

QString Save_Suffix(const QString& upperExt)
{
    return upperExt == QLatin1String("MPG") ? QStringLiteral("mpg") : QStringLiteral("mpeg");
}

QString Ask_Save_Path(Prompter& prompter, const QString& title, const QString& upperExt, const QString& folder,
                      const QString& proposed, const QString& mismatchText)
{
    const QString chosen = prompter.Save_File(title, Save_Filter(upperExt), Save_Suffix(upperExt), folder, proposed);
    if (chosen.isEmpty())
        return {};
    if (Extension_Of(chosen).toUpper() != upperExt) {
        prompter.Message(mismatchText, Msg_Exclamation);
        return {};
    }
    return chosen;
}

QString Move_Failure_Text(const QString& to, int error)
{
    return QStringLiteral("ﾌｧｲﾙに名前を付けられませんでした！\n%1\n(%2)").arg(to, Japanese_System_Error(error));
}

bool Rename_Listed_File(Main_State& state, Prompter& prompter, List_Id source)
{
    Path_List& list = state.List(source);
    if (list.Selected() < 0)
        return false;
    const QString playFile = list.Selected_Path();
    const QString ext = Extension_Of(playFile).toUpper();
    const QString chosen = Ask_Save_Path(prompter, QStringLiteral("ﾌｧｲﾙ名を変更"), ext, Parent_Folder(playFile),
                                         playFile, QStringLiteral("変更ﾌｧｲﾙの拡張子が違います！"));
    if (chosen.isEmpty())
        return false;
    const Move_Outcome moved = Move_File(playFile, chosen, Move_Mode::Replace);
    if (moved.result == Move_Result::Same_File)
        return false;  // the proposed name accepted as it was: the file stays as it is
    if (!moved.Ok()) {
        prompter.Message(Move_Failure_Text(chosen, moved.error), Msg_Exclamation);
        return false;
    }
    // The entry the rename started from; the dialog was modal, but look it up again all the same.
    const int row = list.Selected_Path() == playFile ? list.Selected() : int(list.Entries().indexOf(playFile));
    list.Remove_At(row);
    list.Add(chosen);
    return true;
}

}  // namespace pf
