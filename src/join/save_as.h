// SPDX-License-Identifier: GPL-3.0-or-later
// The save dialog shared by Save-As of a joined file and the rename of a listed file: its mpg
// or mpeg variant, the rule that the extension may not change, and the rename itself for any
// of the three lists. Files are moved by Move_File, so a target is replaced in one step.
#pragma once

#include "lists/command_labels.h"

#include <QString>

namespace pf {

class Main_State;
class Path_List;
class Prompter;

// The mpg variant for the extension "MPG", the mpeg variant for anything else.
QString Save_Filter(const QString& upperExt);
QString Save_Suffix(const QString& upperExt);

// Shows the save dialog for a file of extension `upperExt`. The chosen path, or the empty text
// when the user cancelled or chose another extension (then `mismatchText` was shown).
QString Ask_Save_Path(Prompter& prompter, const QString& title, const QString& upperExt, const QString& folder,
                      const QString& proposed, const QString& mismatchText);

// Japanese text for a move that failed with `error`.
QString Move_Failure_Text(const QString& to, int error);

// Renames the selected file of one list through the dialog and puts the new path at its sorted
// place in that list. True when the file was renamed; on any failure the file and lists stay.
bool Rename_Listed_File(Main_State& state, Prompter& prompter, List_Id source);

}  // namespace pf
