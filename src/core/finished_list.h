// SPDX-License-Identifier: GPL-3.0-or-later
// The two lists of finished files, List_Join and List_Favorite, as one class with the list as
// its parameter: selection, drops, remove, clear, moving an entry to the other list, and the
// switch between the list's 80 groups, each with the label rule that keeps the commands of the
// list's page in step. Operates on Main_State and asks the user through a Prompter; holds no
// widget. The window shows the new group when groupSwitched arrives.
#pragma once

#include "core/settings.h"
#include "lists/command_labels.h"
#include "lists/group_file.h"

#include <QObject>
#include <QStringList>

#include <optional>

namespace pf {

class Main_State;
class Path_List;
class Prompter;

class Finished_List : public QObject {
    Q_OBJECT
public:
    // `id` is List_Id::Joined or List_Id::Favorite.
    Finished_List(Main_State& state, Prompter& prompter, List_Id id, QObject* parent = nullptr);

    List_Id Id() const { return id_; }
    Group_Kind Kind() const;
    Path_List& List() const;
    // The current group (Group_File or Favorite_File) and the play order (Play or PlayF).
    int Group() const;
    Play_Order Order() const;

    // A click on the list: selects `row`; with an entry selected, enables play to clear and
    // this list's arrow, and disables the other list's arrow.
    void Select(int row);
    void Drop_Files(const QStringList& paths);
    void Remove_Selected();
    void Clear();
    // Adds the selected entry to `other` (at its sorted place) and removes it here; then both
    // lists' labels are refreshed and both arrows disabled.
    void Move_Selected_To(Finished_List& other);

    // Writes the group being left, then fills the list from group `group` once its entries have
    // been checked (groupSwitched then; switchStarted and switchEnded around it). Nothing happens
    // when `group` is the current one or a switch is under way. When entries of the group being
    // left could not be stored, the user is asked whether to switch all the same (they stay out
    // of its file) or to stay, with the list as it was. True when the switch began.
    bool Switch_Group(int group);
    bool Switching() const { return switchingTo_.has_value(); }

    // Play to continuous play off, then clear all and continuous play on when the list has
    // entries; the arrow goes off while nothing is selected.
    void Refresh_Labels();

signals:
    void switchStarted();
    void groupSwitched(pf::List_Id list);
    void switchEnded();

private:
    void Group_Loaded(List_Id id);
    Cmd Arrow() const;
    bool Leave_Anyway(const QString& file, const Group_Write& written, const QStringList& entries, int group);
    qint16& Group_Setting() const;

    Main_State& state_;
    Prompter& prompter_;
    List_Id id_;
    std::optional<int> switchingTo_;
    QString switchLog_;  // what the group left came to, for the log line
};

}  // namespace pf
