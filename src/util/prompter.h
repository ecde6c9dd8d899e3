// The questions a logic class may put to the user: message boxes and file choosers.
// Logic classes hold a Prompter reference, never a widget; the real one, Qt_Prompter, lives
// with the windows (ui/qt_prompter.h), and tests answer from a script.
#pragma once

#include <QString>
#include <QStringList>

namespace pf {

// Message-box styles and answers in the values the program stores (`Msg_Style`, `Msg_Answer`).
enum Msg_Style : int { Msg_Ok = 0, Msg_Exclamation = 48 };
enum Msg_Answer : int { Answer_Ok = 1 };

class Prompter {
public:
    virtual ~Prompter() = default;

    // Shows `text` in a box titled "Parlo_film"; returns the button chosen.
    virtual int message(const QString& text, int style) = 0;

    // Multi-selection open dialog; the empty list when cancelled.
    virtual QStringList openFiles(const QString& title, const QString& filter, const QString& folder) = 0;

    // Save dialog that asks before replacing an existing file; the empty text when cancelled.
    virtual QString saveFile(const QString& title, const QString& filter, const QString& defaultSuffix,
                             const QString& folder, const QString& proposed)
        = 0;

    // Folder chooser preselecting `folder`; the empty text when cancelled.
    virtual QString chooseFolder(const QString& prompt, const QString& folder) = 0;
};

}  // namespace pf
