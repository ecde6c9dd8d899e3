// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/command_labels.h"

namespace pf {

bool Command_Label_Exists(Cmd cmd)
{
    return cmd >= 0 && cmd < Command_Label_Count && cmd != 12 && cmd != 21;
}

QString Command_Caption(Cmd cmd)
{
    switch (cmd) {
    case Cmd_Add_Files: return QStringLiteral("ﾌｧｲﾙの追加");
    case Cmd_Add_Folder: return QStringLiteral("ﾌｫﾙﾀﾞで追加");
    case Cmd_Play_Input:
    case Cmd_Play_Joined:
    case Cmd_Play_Favorite: return QStringLiteral("再生");
    case Cmd_Remove_Input:
    case Cmd_Remove_Joined:
    case Cmd_Remove_Favorite: return QStringLiteral("ﾘｽﾄから削除");
    case Cmd_Rename_Input:
    case Cmd_Rename_Joined:
    case Cmd_Rename_Favorite: return QStringLiteral("名前の変更");
    case Cmd_Clear_Input:
    case Cmd_Clear_Joined:
    case Cmd_Clear_Favorite: return QStringLiteral("全部ｸﾘｱ");
    case Cmd_Join: return QStringLiteral("ﾌｧｲﾙの結合");
    case Cmd_Continuous_Joined:
    case Cmd_Continuous_Favorite: return QStringLiteral("連続再生");
    case Cmd_Join_Settings:
    case Cmd_Join_Settings_Body: return QStringLiteral("結合時の設定");
    case Cmd_Move_Right: return QStringLiteral(" >");
    case Cmd_Move_Left: return QStringLiteral("<");
    case Cmd_Play_Settings_Body:
    case Cmd_Play_Settings: return QStringLiteral("再生時の設定");
    case Cmd_Exit_Save_Body:
    case Cmd_Exit_Save: return QStringLiteral("終了(保存)");
    case Cmd_Cancel_Body:
    case Cmd_Cancel: return QStringLiteral("ｷｬﾝｾﾙ");
    default: return {};
    }
}

Command_Labels::Command_Labels(QObject* parent) : QObject(parent) {}

bool Command_Labels::Enabled(Cmd cmd) const
{
    return Command_Label_Exists(cmd) && enabled_[size_t(cmd)];
}

void Command_Labels::Set(Cmd cmd, bool on)
{
    if (!Command_Label_Exists(cmd) || enabled_[size_t(cmd)] == on)
        return;
    enabled_[size_t(cmd)] = on;
    emit changed(cmd, on);
}

void Command_Labels::Set_Range(Cmd from, Cmd to, bool on)
{
    for (int i = from; i <= to; ++i)
        Set(Cmd(i), on);
}

void Command_Labels::Apply_Start_Up(int joinCount, int favoriteCount)
{
    for (Cmd cmd : {Cmd_Add_Files, Cmd_Add_Folder, Cmd_Join_Settings, Cmd_Join_Settings_Body, Cmd_Play_Settings_Body,
                    Cmd_Exit_Save_Body, Cmd_Cancel_Body, Cmd_Play_Settings, Cmd_Exit_Save, Cmd_Cancel})
        Set(cmd, true);
    Set_Range(Cmd_Play_Input, Cmd_Continuous_Joined, false);
    Set_Range(Cmd_Play_Favorite, Cmd_Continuous_Favorite, false);
    Set_Range(Cmd_Move_Right, Cmd_Move_Left, false);
    Enable_List_Commands(List_Id::Joined, joinCount);
    Enable_List_Commands(List_Id::Favorite, favoriteCount);
}

void Command_Labels::Enable_List_Commands(List_Id list, int count)
{
    if (count <= 0)
        return;
    const Page_Cmds page = Page_Commands(list);
    Set(page.clear, true);
    Set(page.last, true);
}

}  // namespace pf
