// SPDX-License-Identifier: GPL-3.0-or-later
#include "join/join_commands.h"

#include "core/main_state.h"
#include "join/save_as.h"

#include <utility>

namespace pf {

Join_Commands::Join_Commands(Main_State& state, Prompter& prompter, QObject* parent)
    : QObject(parent), state_(state), prompter_(prompter), inputs_(state, prompter), engine_(state, prompter)
{
    connect(&engine_, &Join_Engine::ended, this, &Join_Commands::Ended);
}

Join_Commands::~Join_Commands() = default;

QList<Cmd> Join_Commands::Indices()
{
    return {Cmd_Add_Files,   Cmd_Add_Folder, Cmd_Play_Input,    Cmd_Remove_Input,   Cmd_Rename_Input,
            Cmd_Clear_Input, Cmd_Join,       Cmd_Rename_Joined, Cmd_Rename_Favorite};
}

bool Join_Commands::Run(Cmd cmd)
{
    switch (cmd) {
    case Cmd_Add_Files: inputs_.Add_Files_Dialog(); return true;
    case Cmd_Add_Folder: inputs_.Add_Folder_Files(); return true;
    case Cmd_Play_Input: filesDoubleClicked(state_.lstFiles.Selected()); return true;
    case Cmd_Remove_Input: inputs_.Remove_Selected(); return true;
    case Cmd_Rename_Input: Rename(List_Id::Input); return true;
    case Cmd_Rename_Joined: Rename(List_Id::Joined); return true;
    case Cmd_Rename_Favorite: Rename(List_Id::Favorite); return true;
    case Cmd_Clear_Input: inputs_.Clear(); return true;
    case Cmd_Join: Join(); return true;
    default: return false;
    }
}

void Join_Commands::Join()
{
    // The label is enabled only from two entries on; the check keeps a direct call honest too.
    // A join that starts updates the labels when it ends.
    if (state_.lstFiles.Count() < 2 || !engine_.Check_Input_Extensions() || !engine_.Join_Files())
        state_.labels.Enable_List_Commands(List_Id::Joined, state_.List_Join.Count());
}

void Join_Commands::Rename(List_Id list)
{
    // Each rename label acts on its own list and then disables that list's play, remove and rename.
    if (state_.List(list).Selected() < 0)
        return;
    renaming_ = list;  // before: the run may end before the call returns
    if (!engine_.Rename_Listed_File(list))
        renaming_.reset();
}

void Join_Commands::Ended()
{
    state_.labels.Enable_List_Commands(List_Id::Joined, state_.List_Join.Count());
    const std::optional<List_Id> list = std::exchange(renaming_, std::nullopt);
    if (!list)
        return;
    const Page_Cmds page = Page_Commands(*list);
    state_.labels.Set_Range(page.play, page.rename, false);
    // A renamed entry is taken out and put back unselected: nothing is left to move.
    if (*list != List_Id::Input && state_.List(*list).Selected() < 0)
        state_.labels.Set(Arrow_Command(*list), false);
}

void Join_Commands::filesClicked(int row)
{
    inputs_.Select(row);
}

void Join_Commands::filesDoubleClicked(int row)
{
    if (row < 0 || row >= state_.lstFiles.Count() || !play_)
        return;
    play_(state_.lstFiles.At(row));
}

void Join_Commands::filesDropped(const QStringList& paths)
{
    inputs_.Drop_Files(paths);
}

}  // namespace pf
