#include "ui/qt_prompter.h"

#include <QFileDialog>
#include <QMessageBox>

namespace pf {

int Qt_Prompter::message(const QString& text, int style)
{
    QMessageBox box(parent_);
    box.setWindowTitle(QStringLiteral("Parlo_film"));
    box.setText(text);
    box.setIcon((style & Msg_Exclamation) == Msg_Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon);
    if (!(style & Msg_Yes_No)) {
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return Answer_Ok;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? Answer_Yes : Answer_No;
}

QStringList Qt_Prompter::openFiles(const QString& title, const QString& filter, const QString& folder)
{
    QFileDialog dlg(parent_, title, folder, filter);
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setFileMode(QFileDialog::ExistingFiles);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    if (dlg.exec() != QDialog::Accepted)
        return {};
    return dlg.selectedFiles();
}

QString Qt_Prompter::saveFile(const QString& title, const QString& filter, const QString& defaultSuffix,
                              const QString& folder, const QString& proposed)
{
    QFileDialog dlg(parent_, title, folder, filter);
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setDefaultSuffix(defaultSuffix);
    if (!proposed.isEmpty())
        dlg.selectFile(proposed);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return dlg.selectedFiles().constFirst();
}

QString Qt_Prompter::chooseFolder(const QString& prompt, const QString& folder)
{
    QFileDialog dlg(parent_, prompt, folder);
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setOption(QFileDialog::ShowDirsOnly);
    dlg.setFileMode(QFileDialog::Directory);
    dlg.setLabelText(QFileDialog::LookIn, prompt);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return dlg.selectedFiles().constFirst();
}

}  // namespace pf
