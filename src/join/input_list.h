// SPDX-License-Identifier: GPL-3.0-or-later
// The input list (`lstFiles`): adding files by dialog, by folder and by drop, removing and
// clearing, and the rule that keeps its command labels (2 to 6) in step. Operates on the
// main window's state and asks the user through a Prompter; it holds no widget.
#pragma once

#include "lists/path_list.h"

#include <QString>
#include <QStringList>

namespace pf {

class Main_State;
class Prompter;

// The add dialog's filter: the description, then the patterns Qt matches by.
QString Add_Files_Filter();

// The paths of one drop that the list takes: Dropped_Files of the MPEG kind.
QStringList Dropped_Mpeg_Files(const QStringList& dropped);

class Input_List {
public:
    Input_List(Main_State& state, Prompter& prompter) : state_(state), prompter_(prompter) {}

    void Add_Files_Dialog();
    void Add_Folder_Files();
    void Drop_Files(const QStringList& paths);
    // A click on the list: selects `row` and, with an entry selected, enables labels 2 to 5.
    void Select(int row);
    void Remove_Selected();
    void Clear();

    // After adding or removing: labels 2 to 6 off, then 5 with one entry and 6 with two.
    void Apply_Label_Rule();

private:
    void Add(const QStringList& paths);
    // The readable regular files of a dialog's choice; one message names the others.
    QStringList Regular_Files_Of(const QStringList& chosen);

    Main_State& state_;
    Prompter& prompter_;
};

}  // namespace pf
