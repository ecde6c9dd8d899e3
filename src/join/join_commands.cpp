#include "join/join_commands.h"

#include "core/main_state.h"
#include "join/progress_dialog.h"
#include "join/save_as.h"

namespace pf {

namespace {

Copy_Progress* Progress_Or(Copy_Progress* given, std::unique_ptr<Progress_Dialog>& own)
{
    if (given)
        return given;
    own = std::make_unique<Progress_Dialog>();
    return own.get();
}

}  // namespace

Join_Commands::Join_Commands(Main_State& state, Prompter& prompter, Copy_Progress* progress, QObject* parent)
    : QObject(parent),
      state_(state),
      prompter_(prompter),
      inputs_(state, prompter),
      engine_(state, prompter, Progress_Or(progress, ownProgress_))
{
}

Join_Commands::~Join_Commands() = default;

QList<int> Join_Commands::Indices()
{
    return {0, 1, 2, 3, 4, 5, 6, 9, 15};
}

bool Join_Commands::run(int index)
{
    switch (index) {
    case 0: inputs_.Add_Files_Dialog(); return true;
    case 1: inputs_.Add_Folder_Files(); return true;
    case 2: filesDoubleClicked(state_.lstFiles.selected()); return true;
    case 3: inputs_.Remove_Selected(); return true;
    case 4: case 9: case 15: Rename(index); return true;
    case 5: inputs_.Clear(); return true;
    case 6: Join(); return true;
    default: return false;
    }
}

void Join_Commands::Join()
{
    // The label is enabled only from two entries on; the check keeps a direct call honest too.
    if (state_.lstFiles.count() >= 2 && engine_.Check_Input_Extensions())
        engine_.Join_Files();
    if (state_.List_Join.count() > 0) {
        state_.labels.set(10, true);
        state_.labels.set(11, true);
    }
}

void Join_Commands::Rename(int index)
{
    // Each rename label acts on its own list and then disables that list's play, remove and rename.
    const Rename_Source source =
        index == 4 ? Rename_Source::Input : index == 9 ? Rename_Source::Joined : Rename_Source::Favorite;
    if (List_Of(state_, source).selected() < 0)
        return;
    Rename_Listed_File(state_, prompter_, source);
    const int first = index == 4 ? 2 : index == 9 ? 7 : 13;
    state_.labels.setRange(first, first + 2, false);
}

void Join_Commands::filesClicked(int row)
{
    inputs_.Select(row);
}

void Join_Commands::filesDoubleClicked(int row)
{
    if (row < 0 || row >= state_.lstFiles.count() || !play_)
        return;
    play_(state_.lstFiles.at(row));
}

void Join_Commands::filesDropped(const QStringList& paths)
{
    inputs_.Drop_Files(paths);
}

}  // namespace pf
