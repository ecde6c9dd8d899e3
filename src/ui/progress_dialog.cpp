// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/progress_dialog.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProgressDialog>

namespace pf {

namespace {
constexpr int Scale = 1000;  // per mille: smooth for any size, shown as a percentage
}

Progress_Dialog::Progress_Dialog(QWidget* parent, int showAfterMs) : parent_(parent), showAfterMs_(showAfterMs) {}

Progress_Dialog::~Progress_Dialog()
{
    end();
}

void Progress_Dialog::begin(qint64 totalBytes)
{
    end();
    total_ = totalBytes;
    clock_.start();
}

bool Progress_Dialog::step(const QString& file, qint64 doneBytes)
{
    if (!dialog_ && clock_.isValid() && clock_.elapsed() >= showAfterMs_) {
        dialog_ = new QProgressDialog(parent_);
        dialog_->setWindowTitle(QStringLiteral("Parlo_film"));
        dialog_->setCancelButtonText(QStringLiteral("ｷｬﾝｾﾙ"));
        dialog_->setWindowModality(Qt::ApplicationModal);
        dialog_->setRange(0, Scale);
        dialog_->setMinimumDuration(0);
        dialog_->setMinimumWidth(360);  // room for long file names
        dialog_->setAutoClose(false);
        dialog_->setAutoReset(false);
        dialog_->show();
    }
    if (!dialog_) {
        // Windows repaint meanwhile; clicks wait for the dialog, which takes them as it is modal.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return true;
    }
    dialog_->setValue(total_ > 0 ? int(doneBytes * Scale / total_) : Scale);
    dialog_->setLabelText(QStringLiteral("ﾌｧｲﾙを結合しています…\n%1").arg(QFileInfo(file).fileName()));
    QCoreApplication::processEvents();
    return !dialog_->wasCanceled();
}

void Progress_Dialog::end()
{
    delete dialog_;
    clock_.invalidate();
}

}  // namespace pf
