// SPDX-License-Identifier: GPL-3.0-or-later
// What the two settings dialogs decide, without any window: each edits a private copy of the
// settings; OK copies the dialog's own fields back into the live record (the join settings
// only with a folder for automatic saving), every other way of closing drops the copy.
// The windows (Parlo_film_J, Parlo_film_P) show these objects and forward presses to them.
#pragma once

#include "core/settings.h"

#include <QString>
#include <QStringList>

#include <initializer_list>
#include <optional>
#include <vector>

namespace pf {

class Prompter;

class Settings_Edit {
public:
    // `choices` are the fields the dialog's markers choose.
    Settings_Edit(const Settings& live, std::initializer_list<qint16 Settings::*> choices);

    qint16 Selected(qint16 Settings::*field) const { return copy_.*field; }
    void Choose(qint16 Settings::*field, int index) { copy_.*field = qint16(index); }

protected:
    // Copies the chosen fields into `live`.
    void Commit_Choices(Settings& live) const;

    Settings copy_;

private:
    std::vector<qint16 Settings::*> choices_;
};

// Inlist, Auto, Stamps and the folder for automatic saving.
class Join_Settings_Edit : public Settings_Edit {
public:
    // The folder shows only while it still exists.
    Join_Settings_Edit(const Settings& live, Prompter& prompts);

    // The check box of Stamps: ticked for one continuous clock.
    bool Stamped() const { return copy_.Stamping() == Join_Stamps::Continuous; }
    void Set_Stamped(bool on) { copy_.Stamps = qint16(on ? Join_Stamps::Continuous : Join_Stamps::Bytes); }

    // The folder chosen so far (the text of lbl_AutoFolder); may be empty.
    const QString& Folder() const { return copy_.AutoFolder; }

    // "...": the folder chooser, preselecting List_Path. A cancelled chooser keeps the folder;
    // the root is refused with a message and leaves the folder empty.
    void Browse();

    // "OK": refused with a message (false) when saving automatically without a folder;
    // otherwise stores Inlist, Auto, Stamps and the folder.
    bool Ok(Settings& live) const;

private:
    Prompter& prompts_;
};

// Way, Size, Rep and the custom size, whose texts the user types.
class Play_Settings_Edit : public Settings_Edit {
public:
    explicit Play_Settings_Edit(const Settings& live);

    QString widthText;   // Combo_x
    QString heightText;  // Combo_y

    // "OK": stores the choices and each size that converts; a text that does not leaves its size.
    void Ok(Settings& live) const;
};

// A typed number in the 16-bit range, fractions rounded to the nearest whole number with halves
// to the even one; full-width digits count. Nothing for any other text.
std::optional<qint16> Text_To_Int16(const QString& text);

// The items of a size list: `from` to `to` in steps of 10.
QStringList Size_Items(int from, int to);

}  // namespace pf
