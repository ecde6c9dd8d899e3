// SPDX-License-Identifier: GPL-3.0-or-later
// The join's progress window: a modal dialog with the percentage of bytes written, the name of
// the file being copied and a cancel button. It appears only when a copy runs longer than
// about half a second, and while it is up the copy lets pending events run between chunks,
// so the main window keeps repainting while its input is blocked by the modal dialog.
#pragma once

#include "join/file_copy.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>

class QWidget;

namespace pf {

class Progress_Dialog : public Copy_Progress {
public:
    explicit Progress_Dialog(QWidget* parent = nullptr, int showAfterMs = 500);
    ~Progress_Dialog() override;

    void begin(qint64 totalBytes) override;
    bool step(const QString& file, qint64 doneBytes) override;
    void end() override;

    // The dialog while it is shown (for tests), else null.
    QProgressDialog* dialog() const { return dialog_; }

private:
    QWidget* parent_;
    int showAfterMs_;
    QElapsedTimer clock_;
    qint64 total_ = 0;
    QPointer<QProgressDialog> dialog_;
};

}  // namespace pf
