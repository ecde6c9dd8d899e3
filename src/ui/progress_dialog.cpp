// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/progress_dialog.h"

#include "join/join_engine.h"

#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace pf {

namespace {
constexpr int Scale = 1000;  // per mille: smooth for any size, shown as a percentage
}

Progress_Dialog::Progress_Dialog(Join_Engine& engine, QWidget* parent, int showAfterMs)
    : engine_(engine), parent_(parent)
{
    showTimer_.setSingleShot(true);
    showTimer_.setInterval(showAfterMs);
    connect(&showTimer_, &QTimer::timeout, this, &Progress_Dialog::Show);
    connect(&engine, &Join_Engine::stepStarted, this, &Progress_Dialog::Step_Started);
    connect(&engine, &Join_Engine::progressed, this, &Progress_Dialog::Progressed);
    connect(&engine, &Join_Engine::stepEnded, this, &Progress_Dialog::Step_Ended);
}

QDialog* Progress_Dialog::Dialog() const
{
    return dialog_ && dialog_->isVisible() ? dialog_.data() : nullptr;
}

void Progress_Dialog::Step_Started(const QString& what)
{
    what_ = what;
    file_.clear();
    done_ = total_ = 0;
    showTimer_.start();
}

void Progress_Dialog::Progressed(const QString& file, qint64 done, qint64 total)
{
    file_ = file;
    done_ = done;
    total_ = total;
    if (Dialog())
        Update();
}

void Progress_Dialog::Step_Ended()
{
    showTimer_.stop();
    if (dialog_)
        dialog_->hide();
}

void Progress_Dialog::Show()
{
    if (!dialog_) {
        dialog_ = new QDialog(parent_, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint);
        dialog_->setWindowTitle(QStringLiteral("Parlo_film"));
        dialog_->setWindowModality(Qt::ApplicationModal);
        dialog_->setMinimumWidth(360);  // room for long file names
        auto* column = new QVBoxLayout(dialog_);
        label_ = new QLabel(dialog_);
        bar_ = new QProgressBar(dialog_);
        bar_->setRange(0, Scale);
        auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), dialog_);
        column->addWidget(label_);
        column->addWidget(bar_);
        column->addWidget(cancel, 0, Qt::AlignRight);
        // The join ends at once; its worker, perhaps waiting on a drive, follows when it can.
        connect(cancel, &QPushButton::clicked, &engine_, &Join_Engine::Cancel);
        connect(dialog_, &QDialog::rejected, &engine_, &Join_Engine::Cancel);  // Esc
    }
    Update();
    dialog_->show();
}

void Progress_Dialog::Update()
{
    bar_->setValue(total_ > 0 ? int(done_ * Scale / total_) : 0);
    label_->setText(file_.isEmpty() ? what_ : what_ + u'\n' + QFileInfo(file_).fileName());
}

}  // namespace pf
