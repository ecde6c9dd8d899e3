// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's own dialogs speak Japanese: a file chooser's buttons, sizes and dates and the overwrite
// question of a save dialog, through the real dialogs the program uses.
#include "util/qt_japanese.h"

#include "support/temp_dir.h"
#include "ui/qt_prompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

using namespace pf;

namespace {

QStringList Button_Texts(QWidget* dialog)
{
    QStringList texts;
    for (const QAbstractButton* b : dialog->findChildren<QAbstractButton*>())
        if (b->isVisible() && !b->text().isEmpty())
            texts << b->text();
    return texts;
}

}  // namespace

TEST(Qt_Japanese, Save_As_Buttons_And_Overwrite_Question)
{
    ASSERT_TRUE(Load_Qt_Japanese());
    test::Temp_Dir dir;
    const QString existing = dir.Write(QStringLiteral("a.mpg"), "x");
    QStringList chooserButtons, question, questionButtons, columns;
    // Answers whichever of Qt's dialogs is open: the chooser names the existing file and
    // accepts, the question is answered "no", and the chooser is then cancelled.
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            question << box->text();
            questionButtons = Button_Texts(box);
            box->button(QMessageBox::No)->click();
        } else if (auto* chooser = qobject_cast<QFileDialog*>(modal); chooser && chooser->isVisible()) {
            if (!chooserButtons.isEmpty()) {
                chooser->reject();
                return;
            }
            // The file's size and date once the chooser lists it.
            const auto* view = chooser->findChild<QTreeView*>(QStringLiteral("treeView"));
            const QModelIndexList row = view->model()->match(view->model()->index(0, 0, view->rootIndex()),
                                                             Qt::DisplayRole, QStringLiteral("a.mpg"));
            if (row.isEmpty())
                return;
            columns = {row[0].siblingAtColumn(1).data().toString(), row[0].siblingAtColumn(3).data().toString()};
            chooserButtons = Button_Texts(chooser->findChild<QDialogButtonBox*>());
            // Typed, as a user would: selectFile is not taken while the name box has the focus.
            chooser->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(existing);
            QMetaObject::invokeMethod(chooser, &QDialog::accept, Qt::QueuedConnection);
        }
    });
    driver.start(10);
    EXPECT_EQ(Qt_Prompter(nullptr).Save_File(QStringLiteral("名前を付けて保存"), QStringLiteral("MPEG (*.mpg)"),
                                             QStringLiteral("mpg"), dir.Path(), QString()),
              QString());
    const QString all = chooserButtons.join(u' ') + u'|' + question.join(u' ') + u'|' + questionButtons.join(u' ');
    for (const char* word : {"保存", "キャンセル", "a.mpg", "既に存在", "はい", "いいえ"})
        EXPECT_TRUE(all.contains(QString::fromUtf8(word))) << word << " in " << all.toStdString();
    EXPECT_EQ(question.size(), 1);
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    EXPECT_EQ(columns,
              QStringList({japanese.formattedDataSize(1),
                           japanese.toString(QFileInfo(existing).lastModified(), QLocale::ShortFormat)}));
}
