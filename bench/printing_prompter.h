// SPDX-License-Identifier: GPL-3.0-or-later
// The prompter of the measuring programs: it prints any message to stderr, answers OK, picks no
// files and chooses the one folder it was given (none by default), so a run never waits on a user.
#pragma once

#include "util/prompter.h"

#include <cstdio>

namespace pf::bench {

class Printing_Prompter : public Prompter {
public:
    explicit Printing_Prompter(QString folder = {}) : folder_(std::move(folder)) {}
    int Message(const QString& text, int) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return Answer_Ok;
    }
    QStringList Open_Files(const QString&, const QString&, const QString&) override { return {}; }
    QString Save_File(const QString&, const QString&, const QString&, const QString&, const QString&) override
    {
        return {};
    }
    QString Pick_Folder(const QString&, const QString&) override { return folder_; }

private:
    QString folder_;
};

}  // namespace pf::bench
