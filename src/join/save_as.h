// SPDX-License-Identifier: GPL-3.0-or-later
// The save dialog shared by Save-As of a joined file and the rename of a listed file (both run
// by the join engine): its mpg or mpeg variant and the rule that the extension may not change.
#pragma once

#include <QString>

namespace pf {

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

}  // namespace pf
