// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's own dialogs and buttons (file and folder choosers, message boxes, the overwrite question
// of a save dialog) in Japanese whatever the user's locale, as the rest of the interface is.
#pragma once

namespace pf {

// Installs Qt's Japanese translations in the running application and makes Japanese the
// default locale; false when the translations are not installed (Qt then speaks English).
// Needs a QCoreApplication; the translator lives as long as it does.
bool Load_Qt_Japanese();

}  // namespace pf
