// The main window's command labels by index (0 to 28; 12 and 21 do not exist): their
// captions and whether each is enabled. The rules that change the states live with the
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

// True for the indices that exist.
bool Command_Label_Exists(int index);

// The caption of label `index` (empty for an index that does not exist).
QString Command_Caption(int index);

class Command_Labels : public QObject {
    Q_OBJECT
public:
    explicit Command_Labels(QObject* parent = nullptr);

    bool enabled(int index) const;
    void set(int index, bool on);
    // Inclusive range; indices that do not exist are skipped.
    void setRange(int from, int to, bool on);

    // The start-up row: add, settings, exit and cancel enabled, the rest disabled, then
    // clear-all and continuous play of each list that has entries.
    void applyStartUp(int joinCount, int favoriteCount);

signals:
    void changed(int index, bool enabled);

private:
    std::array<bool, Command_Label_Count> enabled_{};
};

}  // namespace pf
