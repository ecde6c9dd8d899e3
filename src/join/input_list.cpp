// SPDX-License-Identifier: GPL-3.0-or-later
#include "join/input_list.h"

#include "core/main_state.h"
#include "util/paths.h"
#include "util/prompter.h"
#include "util/safe_file.h"
#include "util/system_error.h"

#include <QDir>

namespace pf {

QString Add_Files_Filter()
{
    // Qt reads the last parenthesised group as the patterns; the description keeps its own.
    return QStringLiteral("動画ﾌｧｲﾙ (mpg mpeg) (*.mpg *.mpeg)");
}

QStringList Dropped_Mpeg_Files(const QStringList& dropped)
{
    return Dropped_Files(dropped, {File_Kind::Mpeg});
}

void Input_List::Add(const QStringList& paths)
{
    state_.lstFiles.Add_All(paths);
    Apply_Label_Rule();
}

QStringList Input_List::Regular_Files_Of(const QStringList& chosen)
{
    QStringList taken, odd, unreadable;
    for (const QString& p : chosen) {
        const Open_Result file = Open_Regular(p);
        if (file.status == File_Status::Ok)
            taken.append(p);
        else if (file.status == File_Status::Failed)  // the system refused: say why
            unreadable.append(QStringLiteral("%1\n(%2)").arg(p, Japanese_System_Error(file.error)));
        else
            odd.append(p);
    }
    QStringList parts;
    if (!odd.isEmpty())
        parts << QStringLiteral("通常のﾌｧｲﾙではないため追加しませんでした！\n%1").arg(odd.join(u'\n'));
    if (!unreadable.isEmpty())
        parts << QStringLiteral("読み込めないため追加しませんでした！\n%1").arg(unreadable.join(u'\n'));
    if (!parts.isEmpty())
        prompter_.Message(parts.join(QStringLiteral("\n\n")), Msg_Exclamation);
    return taken;
}

void Input_List::Add_Files_Dialog()
{
    const QStringList chosen
        = prompter_.Open_Files(QStringLiteral("ﾌｧｲﾙの追加"), Add_Files_Filter(), state_.settings.Add_Path);
    if (chosen.isEmpty())
        return;
    // One file: its folder without a trailing "/"; several: the folder with it.
    const QString folder = Parent_Folder(chosen.constFirst());
    state_.settings.Add_Path = chosen.size() == 1 ? folder : Add_Backslash(folder);
    Add(Regular_Files_Of(chosen));
}

void Input_List::Add_Folder_Files()
{
    const Chosen_Folder chosen = Choose_Folder(prompter_, state_.settings.Add_Path);
    if (chosen.path.isEmpty())
        return;
    // The root is remembered as the place to start from next time, but never scanned.
    const QString folder = QDir::cleanPath(chosen.path);
    state_.settings.Add_Path = folder;
    if (!chosen.root)
        Add(Files_Of_Kind_In(folder, File_Kind::Mpeg));
}

void Input_List::Drop_Files(const QStringList& paths)
{
    state_.lstFiles.Add_All(Dropped_Mpeg_Files(paths));
    Apply_Label_Rule();
}

void Input_List::Select(int row)
{
    state_.lstFiles.setSelected(row);
    if (state_.lstFiles.Selected() >= 0)
        state_.labels.Set_Range(Cmd_Play_Input, Cmd_Clear_Input, true);
}

void Input_List::Remove_Selected()
{
    const int row = state_.lstFiles.Selected();
    if (row < 0)
        return;
    state_.lstFiles.Remove_At(row);
    Apply_Label_Rule();
}

void Input_List::Clear()
{
    state_.lstFiles.Clear();
    state_.labels.Set_Range(Cmd_Play_Input, Cmd_Join, false);
}

void Input_List::Apply_Label_Rule()
{
    const int n = state_.lstFiles.Count();
    state_.labels.Set_Range(Cmd_Play_Input, Cmd_Join, false);
    state_.labels.Set(Cmd_Clear_Input, n >= 1);
    state_.labels.Set(Cmd_Join, n >= 2);
}

}  // namespace pf
