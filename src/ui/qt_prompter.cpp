// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt_prompter.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QMessageBox>

namespace pf {

namespace {

// Qt's file model writes sizes and dates in the system's locale, which a Japanese user on an
// English desktop does not read; the chooser shows them in the program's (Japanese) one.
class Japanese_File_Columns : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override
    {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        const QModelIndex source = mapToSource(index);
        if (role != Qt::DisplayRole || !files || !source.isValid())
            return QIdentityProxyModel::data(index, role);
        if (index.column() == Size_Column && !files->isDir(source))
            return QLocale().formattedDataSize(files->size(source));
        if (index.column() == Date_Column)
            return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
        return QIdentityProxyModel::data(index, role);
    }

private:
    static constexpr int Size_Column = 1;
    static constexpr int Date_Column = 3;
};

// Qt's own chooser (not the desktop's), its columns in Japanese, its filters by their
// descriptions alone ("動画ﾌｧｲﾙ (mpg mpeg)", not the patterns Qt adds after them).
void Prepare(QFileDialog& dlg)
{
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setOption(QFileDialog::HideNameFilterDetails);
    dlg.setProxyModel(new Japanese_File_Columns(&dlg));
}

// Qt would take the pattern the name box opens with ("*.mpg") for a file name; like the classic
// save dialog, this one stays open until a name without "*" or "?" is given.
class Save_Dialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

protected:
    void accept() override
    {
        const QStringList chosen = selectedFiles();
        const QString name = chosen.isEmpty() ? QString() : QFileInfo(chosen.constFirst()).fileName();
        if (!name.contains(u'*') && !name.contains(u'?'))
            QFileDialog::accept();
    }
};

}  // namespace

int Qt_Prompter::Message(const QString& text, int style)
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

QStringList Qt_Prompter::Open_Files(const QString& title, const QString& filter, const QString& folder)
{
    QFileDialog dlg(parent_, title, folder, filter);
    Prepare(dlg);
    dlg.setFileMode(QFileDialog::ExistingFiles);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    if (dlg.exec() != QDialog::Accepted)
        return {};
    return dlg.selectedFiles();
}

QString Qt_Prompter::Save_File(const QString& title, const QString& filter, const QString& defaultSuffix,
                               const QString& folder, const QString& proposed)
{
    Save_Dialog dlg(parent_, title, folder, filter);
    Prepare(dlg);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setDefaultSuffix(defaultSuffix);
    dlg.selectFile(proposed.isEmpty() ? QStringLiteral("*.") + defaultSuffix : proposed);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return dlg.selectedFiles().constFirst();
}

QString Qt_Prompter::Pick_Folder(const QString& prompt, const QString& folder)
{
    QFileDialog dlg(parent_, prompt, folder);
    Prepare(dlg);
    dlg.setOption(QFileDialog::ShowDirsOnly);
    dlg.setFileMode(QFileDialog::Directory);
    dlg.setLabelText(QFileDialog::LookIn, prompt);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return dlg.selectedFiles().constFirst();
}

}  // namespace pf
