// SPDX-License-Identifier: GPL-3.0-or-later
// What the main window owns for the whole run, apart from its widgets: the settings, the
// three lists, the entries of the current groups kept away from their lists while their folder
// is missing, the command-label states, the group numbers and the join's temporary file; and
// the start-up and shutdown procedures over them. The window shows this state and
// forwards user events to it; tests drive it without any window. A group's entries are checked
// on a worker thread (a drive may not answer), so a group fills its list some time after it was
// asked for: groupLoaded tells when.
#pragma once

#include "core/settings.h"
#include "lists/command_labels.h"
#include "lists/group_file.h"
#include "lists/path_list.h"

#include <QObject>

#include <array>
#include <memory>

namespace pf {

class Job_Link;

// The group files a finished list keeps its groups in.
constexpr Group_Kind Kind_Of_List(List_Id id)
{
    return id == List_Id::Joined ? Group_Kind::Joined : Group_Kind::Favorite;
}

class Main_State : public QObject {
    Q_OBJECT
public:
    // How long the folder of a group's entries may take to answer before they count as away.
    static constexpr int Presence_Bound_Ms = 1000;

    explicit Main_State(const QString& appFolder, QObject* parent = nullptr);
    ~Main_State() override;

    const QString& App_Folder() const { return appFolder_; }
    QString Ini_File() const;
    QString Group_Path(Group_Kind kind, int group) const;
    // Application folder + "/File.tmp", where a join writes first when it can write nowhere
    // nearer its output.
    QString Temp_Path() const;
    // A new hidden, unique name in `folder` for a join's output before it is named, and the
    // pattern of all such names of this application folder (a killed join's are removed at the
    // next start).
    QString New_Temp_In(const QString& folder) const;
    QString Temp_Pattern() const;

    // Removes what a killed join left behind (File.tmp, and on a worker thread the hidden
    // temporary files in AutoFolder and List_Path), loads the settings and starts restoring both
    // current groups; once they are in, sets the start-up row of the labels and says
    // groupsRestored. Runs only while this program owns the folder.
    void Start_Up();

    // Exit with save, without ending the program: the settings, then both current groups.
    // Every step runs even when an earlier one failed; false when any of them failed. What was
    // not saved (the settings file, a group file and its entries, entries too long for a
    // record) goes to `problems`.
    bool Save_All(QStringList* problems = nullptr);

    // The closing step of every exit: removes a left-over temporary join file (one outside the
    // application folder on a worker thread: its drive may not answer).
    void Unload();

    // lstFiles, List_Join or List_Favorite.
    Path_List& List(List_Id id);

    // Fills the list of finished files `id` from its group `group` once the group's entries have
    // been checked (groupLoaded then); those whose folder is missing or does not answer within
    // Presence_Bound_Ms are kept aside instead (Away). Until then the list shows what it had; a
    // later load of the same list replaces an earlier one still under way.
    void Load_Group_Into(List_Id id, int group);
    // The entries of list `id`'s current group that are not shown: their folder is missing or
    // did not answer.
    const QStringList& Away(List_Id id) const;
    // What the group file of list `id` is to hold: the shown entries with those away, each
    // at its sorted place.
    QStringList Group_Entries(List_Id id) const;

    // What the main window's layout buttons and order markers choose.
    void Set_Layout(Layout layout) { settings.Skin = qint16(layout); }
    void Set_Order(List_Id list, Play_Order order);

    Settings settings;
    Path_List lstFiles;
    Path_List List_Join;
    Path_List List_Favorite;
    Command_Labels labels;

    // Where the last join wrote first; empty before one.
    QString Temp_Join_File;

signals:
    void groupLoaded(pf::List_Id list);
    // Both groups of the start are in their lists, and the labels are set.
    void groupsRestored();

private:
    void Remove_Left_Temps() const;
    void Group_Loaded(List_Id id, int ticket, const QStringList& shown, const QStringList& away);

    QString appFolder_;
    QStringList awayJoined_;
    QStringList awayFavorite_;
    std::shared_ptr<Job_Link> link_;
    std::array<int, 2> tickets_{};  // the last load asked for, per finished list
    int startingUp_ = 0;            // groups of the start still to come
};

}  // namespace pf
