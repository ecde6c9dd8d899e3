// SPDX-License-Identifier: GPL-3.0-or-later
#include "join/input_list.h"

#include "join_support.h"

#include <QFile>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace pf;
using pf::test::Join_Fixture;

namespace {

QList<int> Enabled(const Command_Labels& labels, int from, int to)
{
    QList<int> on;
    for (int i = from; i <= to; ++i) {
        if (labels.Enabled(Cmd(i)))
            on.append(i);
    }
    return on;
}

}  // namespace

TEST(InputList, LabelRuleFollowsTheCount)
{
    struct Row {
        int entries;
        QList<int> enabled;
    };
    const Row rows[] = {{0, {}}, {1, {5}}, {2, {5, 6}}, {5, {5, 6}}};
    for (const Row& row : rows) {
        Join_Fixture f;
        Input_List list(f.state, f.prompter);
        f.state.labels.Set_Range(Cmd(2), Cmd(6), true);
        for (int i = 0; i < row.entries; ++i)
            f.state.lstFiles.Add(QStringLiteral("/v/%1.mpg").arg(i));
        list.Apply_Label_Rule();
        EXPECT_EQ(Enabled(f.state.labels, 2, 6), row.enabled) << row.entries;
    }
}

TEST(InputList, ClickRemoveAndClear)
{
    Join_Fixture f;
    Input_List list(f.state, f.prompter);
    const QString a = f.Make("v/a.mpg", 1), b = f.Make("v/b.mpg", 1);
    list.Drop_Files({b, a});
    EXPECT_EQ(f.state.lstFiles.Entries(), (QStringList{a, b}));
    EXPECT_EQ(Enabled(f.state.labels, 2, 6), (QList<int>{5, 6}));

    list.Remove_Selected();  // nothing selected: nothing happens
    EXPECT_EQ(f.state.lstFiles.Count(), 2);
    list.Select(1);
    EXPECT_EQ(Enabled(f.state.labels, 2, 6), (QList<int>{2, 3, 4, 5, 6}));
    list.Remove_Selected();
    EXPECT_EQ(f.state.lstFiles.Entries(), QStringList{a});
    EXPECT_EQ(Enabled(f.state.labels, 2, 6), QList<int>{5});
    list.Select(-1);
    EXPECT_EQ(Enabled(f.state.labels, 2, 6), QList<int>{5});

    list.Clear();
    EXPECT_EQ(f.state.lstFiles.Count(), 0);
    EXPECT_EQ(Enabled(f.state.labels, 2, 6), QList<int>{});
}

TEST(InputList, DropTakesMpegFilesOfTheFirst250Only)
{
    Join_Fixture f;
    Input_List list(f.state, f.prompter);
    const QString folder = f.dir.Mkdir(QStringLiteral("folder.mpg"));
    list.Drop_Files({folder, f.Make(QStringLiteral("notes.txt"), 1), f.Make(QStringLiteral("B.MPEG"), 1),
                     f.Make(QStringLiteral("a.Mpg"), 1), f.Make(QStringLiteral("mpg"), 1)});
    EXPECT_EQ(f.state.lstFiles.Entries(), (QStringList{f.dir.File("a.Mpg"), f.dir.File("B.MPEG")}));

    QStringList many;
    for (int i = 0; i < 300; ++i)
        many.append(f.Make(QStringLiteral("v/%1.mpg").arg(i, 3, 10, QLatin1Char('0')), 1));
    list.Clear();
    list.Drop_Files(many);
    EXPECT_EQ(f.state.lstFiles.Count(), 250);
    EXPECT_EQ(f.state.lstFiles.Entries().value(249), f.dir.File("v/249.mpg"));
}

TEST(InputList, AddDialogSetsTheAddPath)
{
    Join_Fixture f;
    Input_List list(f.state, f.prompter);
    f.prompter.files = {f.Make("v/c/b.mpg", 1), f.Make("v/c/a.mpg", 1), f.Make("v/c/c.mpeg", 1)};
    list.Add_Files_Dialog();
    EXPECT_EQ(f.state.lstFiles.Entries(),
              (QStringList{f.dir.File("v/c/a.mpg"), f.dir.File("v/c/b.mpg"), f.dir.File("v/c/c.mpeg")}));
    EXPECT_EQ(f.state.settings.Add_Path, f.dir.File("v/c/"));
    EXPECT_EQ(Enabled(f.state.labels, 2, 6), (QList<int>{5, 6}));

    f.prompter.files = {f.Make("w/one.mpg", 1)};
    list.Add_Files_Dialog();
    EXPECT_EQ(f.state.settings.Add_Path, f.dir.File("w"));
    EXPECT_EQ(f.state.lstFiles.Count(), 4);

    f.prompter.files = {};  // cancelled
    list.Add_Files_Dialog();
    EXPECT_EQ(f.state.settings.Add_Path, f.dir.File("w"));
    EXPECT_EQ(f.state.lstFiles.Count(), 4);
}

TEST(InputList, FolderAddsVisibleMpegFilesOnce)
{
    Join_Fixture f;
    Input_List list(f.state, f.prompter);
    const QString v = f.dir.Mkdir(QStringLiteral("v"));
    f.Make(QStringLiteral("v/movie.mpg"), 1);
    f.Make(QStringLiteral("v/clip.MPEG"), 1);
    const QString old = f.Make(QStringLiteral("v/Old.Mpg"), 1);
    QFile::setPermissions(old, QFile::ReadOwner);  // read-only counts as well
    f.Make(QStringLiteral("v/.hidden.mpg"), 1);
    f.Make(QStringLiteral("v/notes.txt"), 1);
    f.Make(QStringLiteral("v/sub/deep.mpg"), 1);
    f.dir.Mkdir(QStringLiteral("v/dir.mpg"));
    ::symlink("/nowhere.mpg", qPrintable(f.dir.File(QStringLiteral("v/broken.mpg"))));

    f.prompter.folder = v + QStringLiteral("/");
    list.Add_Folder_Files();
    EXPECT_EQ(f.state.lstFiles.Entries(), (QStringList{v + "/clip.MPEG", v + "/movie.mpg", v + "/Old.Mpg"}));
    EXPECT_EQ(f.state.settings.Add_Path, v);
    EXPECT_EQ(Enabled(f.state.labels, 2, 6), (QList<int>{5, 6}));
    EXPECT_TRUE(f.prompter.messages.isEmpty());
}

TEST(InputList, FolderRefusesTheRoot)
{
    Join_Fixture f;
    Input_List list(f.state, f.prompter);
    f.prompter.folder = QStringLiteral("/");
    list.Add_Folder_Files();
    EXPECT_EQ(f.state.lstFiles.Count(), 0);
    EXPECT_EQ(f.state.settings.Add_Path, QStringLiteral("/"));
    EXPECT_EQ(f.prompter.messages, QStringList{"ﾙｰﾄﾃﾞｨﾚｸﾄﾘは指定できません！"});
}
