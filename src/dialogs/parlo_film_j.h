// SPDX-License-Identifier: GPL-3.0-or-later
// The join settings dialog Parlo_film_J ("結合時の設定"): what happens to the input list after a
// join (Inlist), how the joined file is named (Auto), the folder for automatic saving, and
// whether the join makes the timestamps continuous (Stamps, a check box beside OK).
// The window shows a Join_Settings_Edit and forwards presses to it; OK stores into the live
// settings, every other close stores nothing but the window's position.
#pragma once

#include "dialogs/settings_dialog.h"
#include "dialogs/settings_edit.h"

#include <memory>

class QCheckBox;
class QLabel;

namespace pf {

class Prompter;

class Parlo_film_J : public Settings_Dialog {
    Q_OBJECT
public:
    // Without a prompter the dialog asks through message boxes and a chooser of its own.
    Parlo_film_J(Settings& live, const QString& iniFile, Prompter* prompts = nullptr, QWidget* parent = nullptr);
    ~Parlo_film_J() override;

private:
    void Command(int index) override;
    void Show_Folder();

    Settings& live_;
    std::unique_ptr<Prompter> ownPrompter_;
    Join_Settings_Edit edit_;
    QLabel* lbl_AutoFolder_;
    QCheckBox* stamps_;
};

}  // namespace pf
