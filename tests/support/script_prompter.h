// SPDX-License-Identifier: GPL-3.0-or-later
// A Prompter that answers from a script instead of asking, and records what it was asked.
#pragma once

#include "util/prompter.h"

#include <QList>
#include <QStringList>

namespace pf::test {

class Script_Prompter : public Prompter {
public:
    QStringList files;        // answer of the next open dialog
    QString folder;           // answer of the next folder chooser
    QString savePath;         // answer of the next save dialog
    QStringList messages;     // every message shown
    QList<int> styles;        // and its style
    QStringList saveFilters;  // filter of every save dialog shown
    QStringList saveSuffixes;
    QList<int> answers;  // answers of the next questions (Yes/No boxes), in turn; then No

    int Message(const QString& text, int style) override
    {
        messages.append(text);
        styles.append(style);
        if (!(style & Msg_Yes_No))
            return Answer_Ok;
        return answers.isEmpty() ? Answer_No : answers.takeFirst();
    }
    QStringList Open_Files(const QString&, const QString&, const QString&) override { return files; }
    QString Save_File(const QString&, const QString& filter, const QString& suffix, const QString&,
                      const QString&) override
    {
        saveFilters.append(filter);
        saveSuffixes.append(suffix);
        return savePath;
    }
    QString Pick_Folder(const QString&, const QString&) override { return folder; }
};

}  // namespace pf::test
