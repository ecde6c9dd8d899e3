// SPDX-License-Identifier: GPL-3.0-or-later
// The questions a logic class may put to the user: message boxes and file choosers, and the
// program's one folder chooser with its refusal of the root (Choose_Folder).
// Logic classes hold a Prompter reference, never a widget; the real one, Qt_Prompter, lives
// with the windows (ui/qt_prompter.h), and tests answer from a script.
#pragma once

#include <QString>
#include <QStringList>

namespace pf {

// Message-box styles and answers in the values the program stores (`Msg_Style`, `Msg_Answer`).
// Msg_Yes_No adds the buttons "Yes" and "No" to a style.
enum Msg_Style : int { Msg_Ok = 0, Msg_Yes_No = 4, Msg_Exclamation = 48 };
enum Msg_Answer : int { Answer_Ok = 1, Answer_Yes = 6, Answer_No = 7 };

class Prompter {
public:
    virtual ~Prompter() = default;

    // Shows `text` in a box titled "Parlo_film"; returns the button chosen (Answer_No when a
    // question is closed without an answer).
    virtual int Message(const QString& text, int style) = 0;

    // Multi-selection open dialog; the empty list when cancelled.
    virtual QStringList Open_Files(const QString& title, const QString& filter, const QString& folder) = 0;

    // Save dialog that asks before replacing an existing file; its name box opens holding
    // `proposed`, or the pattern of `defaultSuffix` ("*.mpg") when that is empty. The empty text
    // when cancelled.
    virtual QString Save_File(const QString& title, const QString& filter, const QString& defaultSuffix,
                              const QString& folder, const QString& proposed)
        = 0;

    // Folder chooser preselecting `folder`; the empty text when cancelled.
    virtual QString Pick_Folder(const QString& prompt, const QString& folder) = 0;
};

// The folder a user chose as chosen (empty when cancelled); `root` when it was the root, which no
// caller takes: the user has then been told so.
struct Chosen_Folder {
    QString path;
    bool root = false;
};

// The folder chooser of adding a folder and of the folder for automatic saving, preselecting
// `folder`, with its refusal of the root.
Chosen_Folder Choose_Folder(Prompter& prompter, const QString& folder);

}  // namespace pf
