// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's command labels, named by the Cmd enumeration (0 to 28; 12 and 21 do not
// exist): their captions and whether each is enabled. The rules that change the states live with the
// lists they concern; this class only holds them and tells observers (the window) of changes.
#pragma once

#include <QObject>
#include <QString>

#include <array>

namespace pf {

constexpr int Command_Label_Count = 29;

// Every command label by its fixed index; callers name labels only through these.
// The window-level commands exist twice: on the body (wide layout) and on the joined page.
enum Cmd : int {
    Cmd_Add_Files = 0,
    Cmd_Add_Folder = 1,
    Cmd_Play_Input = 2,
    Cmd_Remove_Input = 3,
    Cmd_Rename_Input = 4,
    Cmd_Clear_Input = 5,
    Cmd_Join = 6,
    Cmd_Play_Joined = 7,
    Cmd_Remove_Joined = 8,
    Cmd_Rename_Joined = 9,
    Cmd_Clear_Joined = 10,
    Cmd_Continuous_Joined = 11,
    Cmd_Play_Favorite = 13,
    Cmd_Remove_Favorite = 14,
    Cmd_Rename_Favorite = 15,
    Cmd_Clear_Favorite = 16,
    Cmd_Continuous_Favorite = 17,
    Cmd_Join_Settings = 18,
    Cmd_Move_Right = 19,
    Cmd_Move_Left = 20,
    Cmd_Join_Settings_Body = 22,
    Cmd_Play_Settings_Body = 23,
    Cmd_Exit_Save_Body = 24,
    Cmd_Cancel_Body = 25,
    Cmd_Play_Settings = 26,
    Cmd_Exit_Save = 27,
    Cmd_Cancel = 28,
};

// The three lists of the main window, numbered as the rename and the play dispatch number them.
enum class List_Id { Input = 0, Joined = 1, Favorite = 2 };

// The labels of one list's page, from play to clear all; the two lists of finished files also
// have continuous play (the input page has the join in that place).
struct Page_Cmds {
    Cmd play, remove, rename, clear, last;
};

constexpr Page_Cmds Page_Commands(List_Id list)
{
    switch (list) {
    case List_Id::Input: return {Cmd_Play_Input, Cmd_Remove_Input, Cmd_Rename_Input, Cmd_Clear_Input, Cmd_Join};
    case List_Id::Joined:
        return {Cmd_Play_Joined, Cmd_Remove_Joined, Cmd_Rename_Joined, Cmd_Clear_Joined, Cmd_Continuous_Joined};
    case List_Id::Favorite:
        return {Cmd_Play_Favorite, Cmd_Remove_Favorite, Cmd_Rename_Favorite, Cmd_Clear_Favorite,
                Cmd_Continuous_Favorite};
    }
    return {};
}

// The arrow that moves a finished list's selected entry to the other list.
constexpr Cmd Arrow_Command(List_Id list)
{
    return list == List_Id::Joined ? Cmd_Move_Right : Cmd_Move_Left;
}

// True for the values that name a label (12 and 21 were never made).
bool Command_Label_Exists(Cmd cmd);

// The caption of label `cmd` (empty for a value that names no label).
QString Command_Caption(Cmd cmd);

class Command_Labels : public QObject {
    Q_OBJECT
public:
    explicit Command_Labels(QObject* parent = nullptr);

    bool Enabled(Cmd cmd) const;
    void Set(Cmd cmd, bool on);
    // Inclusive range; values that name no label are skipped.
    void Set_Range(Cmd from, Cmd to, bool on);

    // The start-up row: add, settings, exit and cancel enabled, the rest disabled, then
    // Enable_List_Commands for both lists of finished files.
    void Apply_Start_Up(int joinCount, int favoriteCount);

    // The rule of a finished list's page: with entries, clear all and continuous play are enabled.
    void Enable_List_Commands(List_Id list, int count);

signals:
    void changed(pf::Cmd cmd, bool enabled);

private:
    std::array<bool, Command_Label_Count> enabled_{};
};

}  // namespace pf
