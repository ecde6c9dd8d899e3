// SPDX-License-Identifier: GPL-3.0-or-later
// The join's progress window: a modal dialog with what the join is doing, the file at hand,
// the percentage and a cancel button. It watches the join engine: it appears once a worker
// step has run for about half a second (with or without progress: a drive that does not answer
// gives none), and goes the moment the step ends or the user cancels, which ends the join at
// once. The dialog is created on first use and owned by its parent window. (Qt's own progress
// dialog runs the event loop from inside setValue when it is modal; this one never does.)
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

class QDialog;
class QLabel;
class QProgressBar;
class QWidget;

namespace pf {

class Join_Engine;

class Progress_Dialog : public QObject {
    Q_OBJECT
public:
    Progress_Dialog(Join_Engine& engine, QWidget* parent, int showAfterMs = 500);

    // The dialog while it is shown, else null; its label and bar.
    QDialog* Dialog() const;
    QLabel* Label() const { return label_; }
    QProgressBar* Bar() const { return bar_; }

private:
    void Step_Started(const QString& what);
    void Progressed(const QString& file, qint64 done, qint64 total);
    void Step_Ended();
    void Show();
    void Update();

    Join_Engine& engine_;
    QWidget* parent_;
    QTimer showTimer_;
    QPointer<QDialog> dialog_;
    QLabel* label_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QString what_, file_;
    qint64 done_ = 0, total_ = 0;
};

}  // namespace pf
