// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/finished_list.h"

#include "core/main_state.h"
#include "lists/path_list.h"
#include "util/log.h"
#include "util/paths.h"
#include "util/prompter.h"

#include <utility>

namespace pf {

Finished_List::Finished_List(Main_State& state, Prompter& prompter, List_Id id, QObject* parent)
    : QObject(parent), state_(state), prompter_(prompter), id_(id)
{
    connect(&state_, &Main_State::groupLoaded, this, &Finished_List::Group_Loaded);
}

Group_Kind Finished_List::Kind() const
{
    return Kind_Of_List(id_);
}

Path_List& Finished_List::List() const
{
    return state_.List(id_);
}

qint16& Finished_List::Group_Setting() const
{
    return id_ == List_Id::Joined ? state_.settings.Group_File : state_.settings.Favorite_File;
}

int Finished_List::Group() const
{
    return Group_Setting();
}

Play_Order Finished_List::Order() const
{
    return state_.settings.Order(id_);
}

Cmd Finished_List::Arrow() const
{
    return Arrow_Command(id_);
}

void Finished_List::Refresh_Labels()
{
    const Page_Cmds page = Page_Commands(id_);
    state_.labels.Set_Range(page.play, page.last, false);
    state_.labels.Enable_List_Commands(id_, List().Count());
    // Nothing to move without a selection (a drop or a group switch clears it).
    if (List().Selected() < 0)
        state_.labels.Set(Arrow(), false);
}

void Finished_List::Select(int row)
{
    List().setSelected(row);
    if (List().Selected() < 0)
        return;
    const Page_Cmds page = Page_Commands(id_);
    state_.labels.Set_Range(page.play, page.clear, true);
    state_.labels.Set(Arrow(), true);
    state_.labels.Set(Arrow() == Cmd_Move_Right ? Cmd_Move_Left : Cmd_Move_Right, false);
}

void Finished_List::Drop_Files(const QStringList& paths)
{
    // Finished files are MPEG or RealMedia.
    List().Add_All(Dropped_Files(paths, {File_Kind::Mpeg, File_Kind::Real_Media}));
    Refresh_Labels();
}

void Finished_List::Remove_Selected()
{
    const int row = List().Selected();
    if (row < 0)
        return;
    List().Remove_At(row);
    Refresh_Labels();
}

void Finished_List::Clear()
{
    List().Clear();
    Refresh_Labels();
}

void Finished_List::Move_Selected_To(Finished_List& other)
{
    const int row = List().Selected();
    if (row < 0)
        return;
    other.List().Add(List().At(row));
    List().Remove_At(row);
    Refresh_Labels();
    other.Refresh_Labels();
    state_.labels.Set_Range(Cmd_Move_Right, Cmd_Move_Left, false);
}

bool Finished_List::Switch_Group(int group)
{
    const qint16 current = Group_Setting();
    if (group == current || Switching())
        return false;
    const QString leaving = state_.Group_Path(Kind(), current);
    const QStringList entries = state_.Group_Entries(id_);
    const Group_Write written = Write_Group(leaving, entries);
    // A group with nothing to keep is left whatever its file is; otherwise the user decides
    // whether what could not be stored is left out or the group stays.
    if (!written.Ok() && !entries.isEmpty() && !Leave_Anyway(leaving, written, entries, group))
        return false;
    // What the file of the group left really holds: entries it could not keep are left out.
    const qsizetype kept = written.status == File_Status::Ok ? entries.size() - written.unfit.size() : 0;
    switchLog_
        = QStringLiteral("%1 group %2 -> %3 - wrote %4 entries to %5%6")
              .arg(Kind() == Group_Kind::Joined ? QStringLiteral("joined") : QStringLiteral("favorite"))
              .arg(current)
              .arg(group)
              .arg(kept)
              .arg(leaving,
                   kept < entries.size() ? QStringLiteral(" - left %1 out").arg(entries.size() - kept) : QString());
    switchingTo_ = group;
    emit switchStarted();
    state_.Load_Group_Into(id_, group);
    return true;
}

void Finished_List::Group_Loaded(List_Id id)
{
    if (id != id_ || !Switching())
        return;
    const int group = *std::exchange(switchingTo_, std::nullopt);
    qCInfo(Log_Groups).noquote() << switchLog_ << "- read" << List().Count() << "from"
                                 << state_.Group_Path(Kind(), group);
    Group_Setting() = qint16(group);
    Refresh_Labels();
    emit groupSwitched(id_);
    emit switchEnded();
}

bool Finished_List::Leave_Anyway(const QString& file, const Group_Write& written, const QStringList& entries, int group)
{
    const QString question = Group_Write_Message(file, written, entries)
        + QStringLiteral("\n\nこれらのﾌｧｲﾙをｸﾞﾙｰﾌﾟに残さずに %1 へ切り替えますか？\n(ﾌｧｲﾙそのものは消えません。"
                         "「いいえ」で %2 のままにします)")
              .arg(Group_Caption(group), Group_Caption(Group()));
    return prompter_.Message(question, Msg_Yes_No | Msg_Exclamation) == Answer_Yes;
}

}  // namespace pf
