// SPDX-License-Identifier: GPL-3.0-or-later
// The real Qt dialogs, driven offscreen: Save-As, rename, the add dialog and the folder chooser.
#include "join/input_list.h"
#include "join/join_commands.h"
#include "join/save_as.h"
#include "ui/qt_prompter.h"

#include "join/join_support.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QTest>

#include <gtest/gtest.h>

using namespace pf;
using pf::test::Join_Fixture;
using pf::test::Read_All;
using pf::test::Type_Name_And_Accept;
using pf::test::When_Modal;

namespace {

struct Seen {
    QString title;
    QStringList filters;
    QString suffix;
    QString folder;
    QStringList shown;  // file names the dialog lists
    QString shownFilter, nameBox;
};

// Types `name` into the next file dialog and accepts it, noting what the dialog offered (an open
// dialog's listing once it has read its folder).
void Type_And_Accept(const QString& name, Seen* seen = nullptr)
{
    When_Modal<QFileDialog>([name, seen](QFileDialog* d) {
        const auto* nameBox = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (seen) {
            seen->title = d->windowTitle();
            seen->filters = d->nameFilters();
            seen->suffix = d->defaultSuffix();
            seen->folder = d->directory().absolutePath();
            seen->shownFilter = d->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))->currentText();
            seen->nameBox = nameBox->text();
        }
        auto* view = d->findChild<QListView*>(QStringLiteral("listView"));
        if (seen && d->acceptMode() == QFileDialog::AcceptOpen) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return view->model()->rowCount(view->rootIndex()) > 0; }, 5000));
            for (int r = 0; r < view->model()->rowCount(view->rootIndex()); ++r)
                seen->shown.append(view->model()->index(r, 0, view->rootIndex()).data().toString());
        }
        if (nameBox->text().startsWith(u'*')) {
            QMetaObject::invokeMethod(d, "accept", Qt::DirectConnection);
            EXPECT_TRUE(d->isVisible()) << "a pattern taken for a name";
        }
        Type_Name_And_Accept(d, name);
    });
}

void Reject_Next_Dialog()
{
    When_Modal<QFileDialog>([](QFileDialog* d) { QMetaObject::invokeMethod(d, "reject", Qt::QueuedConnection); });
}

void Answer_Next_Box(QMessageBox::StandardButton button, QString* text = nullptr)
{
    When_Modal<QMessageBox>([button, text](QMessageBox* box) {
        if (text)
            *text = box->text();
        QMetaObject::invokeMethod(box->button(button), "click", Qt::QueuedConnection);
    });
}

struct Real_Dialogs : Join_Fixture {
    Qt_Prompter real{nullptr};
    Join_Commands commands{state, real};
    QString folder = dir.Mkdir("v");
};

}  // namespace

TEST(Dialogs, SaveAsGivesTheDefaultSuffixAndAsksBeforeReplacing)
{
    Real_Dialogs d;
    d.state.settings.List_Path = d.folder;
    d.state.lstFiles.Add_All({d.Make("a.MPEG", 3, 'a'), d.Make("b.mpeg", 2, 'b')});
    Seen seen;
    Type_And_Accept("joined", &seen);
    pf::test::Run_And_Wait(d.commands);
    EXPECT_EQ(seen.title, QStringLiteral("ﾌｧｲﾙ名を付けて保存"));
    EXPECT_EQ(seen.filters, QStringList{"動画ﾌｧｲﾙ (mpeg) (*.mpeg)"});
    EXPECT_EQ(seen.shownFilter, QStringLiteral("動画ﾌｧｲﾙ (mpeg)"));
    EXPECT_EQ(seen.nameBox, QStringLiteral("*.mpeg"));
    EXPECT_EQ(seen.suffix, QStringLiteral("mpeg"));
    EXPECT_EQ(seen.folder, d.folder);
    const QString out = d.folder + "/joined.mpeg";
    EXPECT_EQ(d.state.List_Join.Entries(), QStringList{out});
    EXPECT_EQ(Read_All(out), "aaabb");

    // The same name again: the dialog asks, and yes replaces the file in one step.
    d.dir.Write("b.mpeg", "BBBB");
    QString question;
    Type_And_Accept("joined.mpeg");
    Answer_Next_Box(QMessageBox::Yes, &question);
    pf::test::Run_And_Wait(d.commands);
    EXPECT_TRUE(question.contains("joined.mpeg"));
    EXPECT_EQ(Read_All(out), "aaaBBBB");
    EXPECT_EQ(d.state.List_Join.Entries(), (QStringList{out, out}));
    EXPECT_EQ(QDir(d.folder).entryList(QDir::Files | QDir::Hidden), QStringList{"joined.mpeg"});
}

TEST(Dialogs, RenameMovesTheEntryToItsSortedPlace)
{
    Real_Dialogs d;
    const QString a = d.Make("v/a.mpg", 1, 'a'), m = d.Make("v/m.mpg", 1, 'm');
    d.state.List_Favorite.Add_All({a, m});
    d.state.List_Join.Add(a);
    d.state.List_Favorite.setSelected(0);
    d.state.labels.Set_Range(Cmd(13), Cmd(15), true);
    Seen seen;
    Type_And_Accept("z.Mpg", &seen);
    pf::test::Run_And_Wait(d.commands, Cmd(15));
    EXPECT_EQ(seen.title, QStringLiteral("ﾌｧｲﾙ名を変更"));
    EXPECT_EQ(seen.filters, QStringList{"動画ﾌｧｲﾙ (mpg) (*.mpg)"});
    EXPECT_EQ(seen.folder, d.folder);
    EXPECT_EQ(d.state.List_Favorite.Entries(), (QStringList{m, d.folder + "/z.Mpg"}));
    EXPECT_EQ(d.state.List_Join.Entries(), QStringList{a});  // other lists untouched
    EXPECT_FALSE(QFile::exists(a));
    EXPECT_EQ(Read_All(d.folder + "/z.Mpg"), "a");
    EXPECT_FALSE(d.state.labels.Enabled(Cmd(13)) || d.state.labels.Enabled(Cmd(14)) || d.state.labels.Enabled(Cmd(15)));
}

TEST(Dialogs, RenameRefusalsChangeNothing)
{
    Real_Dialogs d;
    const QString a = d.Make("v/a.mpg", 1, 'a');
    d.state.List_Join.Add(a);
    d.state.List_Join.setSelected(0);

    QString message;
    Type_And_Accept("a.mpeg");
    Answer_Next_Box(QMessageBox::Ok, &message);
    pf::test::Run_And_Wait(d.commands, Cmd(9));
    EXPECT_EQ(message, QStringLiteral("変更ﾌｧｲﾙの拡張子が違います！"));

    d.state.List_Join.setSelected(0);
    Reject_Next_Dialog();
    pf::test::Run_And_Wait(d.commands, Cmd(9));

    d.state.List_Join.setSelected(0);
    Type_And_Accept("a.mpg");  // its own name: the dialog asks, then nothing is done
    Answer_Next_Box(QMessageBox::Yes);
    pf::test::Run_And_Wait(d.commands, Cmd(9));
    EXPECT_EQ(d.state.List_Join.Entries(), QStringList{a});
    EXPECT_EQ(Read_All(a), "a");
    EXPECT_EQ(QDir(d.folder).entryList(QDir::Files | QDir::Hidden), QStringList{"a.mpg"});
}

TEST(Dialogs, CaseOnlyRenameIsARealRename)
{
    Real_Dialogs d;
    const QString a = d.Make("v/a.mpg", 1, 'a');
    d.state.lstFiles.Add(a);
    d.state.lstFiles.setSelected(0);
    Type_And_Accept("A.MPG");
    pf::test::Run_And_Wait(d.commands, Cmd(4));
    EXPECT_EQ(d.state.lstFiles.Entries(), QStringList{d.folder + "/A.MPG"});
    EXPECT_EQ(QDir(d.folder).entryList(QDir::Files), QStringList{"A.MPG"});
    EXPECT_FALSE(d.state.labels.Enabled(Cmd(2)) || d.state.labels.Enabled(Cmd(3)) || d.state.labels.Enabled(Cmd(4)));
}

TEST(Dialogs, AddDialogListsAnyCaseAndAddsEverySelection)
{
    Real_Dialogs d;
    d.Make("v/a.mpg", 1);
    d.Make("v/B.MPG", 1);
    d.Make("v/c.Mpeg", 1);
    d.Make("v/notes.txt", 1);
    d.state.settings.Add_Path = d.folder;
    Seen seen;
    Type_And_Accept("\"a.mpg\" \"B.MPG\" \"c.Mpeg\"", &seen);
    d.commands.Run(Cmd(0));
    EXPECT_EQ(seen.title, QStringLiteral("ﾌｧｲﾙの追加"));
    EXPECT_EQ(seen.filters, QStringList{"動画ﾌｧｲﾙ (mpg mpeg) (*.mpg *.mpeg)"});
    EXPECT_EQ(seen.shownFilter, QStringLiteral("動画ﾌｧｲﾙ (mpg mpeg)"));
    seen.shown.sort(Qt::CaseInsensitive);
    EXPECT_EQ(seen.shown, (QStringList{"a.mpg", "B.MPG", "c.Mpeg"}));
    EXPECT_EQ(d.state.lstFiles.Entries(),
              (QStringList{d.folder + "/a.mpg", d.folder + "/B.MPG", d.folder + "/c.Mpeg"}));
    EXPECT_EQ(d.state.settings.Add_Path, d.folder + "/");
}

TEST(Dialogs, FolderChooserStartsAtTheAddPath)
{
    Real_Dialogs d;
    d.Make("v/x.mpg", 1);
    d.state.settings.Add_Path = d.folder;
    Seen seen;
    When_Modal<QFileDialog>([&seen](QFileDialog* dlg) {
        seen.folder = dlg->directory().absolutePath();
        QMetaObject::invokeMethod(dlg, "accept", Qt::QueuedConnection);
    });
    d.commands.Run(Cmd(1));
    EXPECT_EQ(seen.folder, d.folder);
    EXPECT_EQ(d.state.lstFiles.Entries(), QStringList{d.folder + "/x.mpg"});
}
