// SPDX-License-Identifier: GPL-3.0-or-later
// The real Prompter: message boxes titled "Parlo_film" and Qt's own file and folder choosers
// (not the desktop's, so that tests can drive them offscreen), parented to the window that owns
// this object.
#pragma once

#include "util/prompter.h"

class QWidget;

namespace pf {

class Qt_Prompter : public Prompter {
public:
    explicit Qt_Prompter(QWidget* parent) : parent_(parent) {}

    int Message(const QString& text, int style) override;
    QStringList Open_Files(const QString& title, const QString& filter, const QString& folder) override;
    QString Save_File(const QString& title, const QString& filter, const QString& defaultSuffix, const QString& folder,
                      const QString& proposed) override;
    QString Pick_Folder(const QString& prompt, const QString& folder) override;

private:
    QWidget* parent_;
};

}  // namespace pf
