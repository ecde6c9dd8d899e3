// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/main_state.h"

#include "core/profile.h"
#include "support/temp_dir.h"
#include "support/waits.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <gtest/gtest.h>

using namespace pf;

namespace {

QByteArray Record(const QString& path)
{
    return *Fav_Record(path);
}

}  // namespace

TEST(MainState, FirstRun)
{
    test::Temp_Dir dir;
    Main_State state(dir.Path());
    test::Start_Up(state);
    EXPECT_EQ(state.List_Join.Count(), 0);
    EXPECT_EQ(state.List_Favorite.Count(), 0);
    EXPECT_FALSE(state.labels.Enabled(Cmd(10)));
    EXPECT_TRUE(state.labels.Enabled(Cmd(0)));
    EXPECT_EQ(state.settings.Group_File, 0);
    EXPECT_FALSE(QFile::exists(state.Ini_File()));  // start-up writes nothing
}

TEST(MainState, RestoresTheCurrentGroupsSorted)
{
    test::Temp_Dir dir;
    const QString b = dir.Write(QStringLiteral("clips/B.mpg"), "b");
    const QString a = dir.Write(QStringLiteral("clips/a.mpg"), "a");
    SetIniValue(Ini_Section, QStringLiteral("Group_File"), QStringLiteral(" 12"), dir.File(Ini_File_Name));
    dir.Write(QStringLiteral("Parlo_film12.rdm"), Record(b) + Record(dir.File(QStringLiteral("gone.mpg"))) + Record(a));
    dir.Write(QStringLiteral("Favorite00.rdm"), Record(dir.File(QStringLiteral("gone.mpg"))));

    Main_State state(dir.Path());
    test::Start_Up(state);
    EXPECT_EQ(state.List_Join.Entries(), (QStringList{a, b}));
    EXPECT_EQ(state.List_Favorite.Count(), 0);
    EXPECT_TRUE(state.labels.Enabled(Cmd(10)) && state.labels.Enabled(Cmd(11)));
    EXPECT_FALSE(state.labels.Enabled(Cmd(16)) || state.labels.Enabled(Cmd(17)));
}

TEST(MainState, SaveWritesSettingsAndBothGroups)
{
    test::Temp_Dir dir;
    const QString a = dir.Write(QStringLiteral("a.mpg"), "a");
    dir.Write(QStringLiteral("Favorite03.rdm"), Record(a));
    Main_State state(dir.Path());
    test::Start_Up(state);
    state.settings.Favorite_File = 3;
    state.List_Join.Add(a);
    ASSERT_TRUE(state.Save_All());

    EXPECT_EQ(test::Read_All(dir.File(QStringLiteral("Parlo_film00.rdm"))), Record(a));
    EXPECT_FALSE(QFile::exists(dir.File(QStringLiteral("Favorite03.rdm"))));  // empty list, no file
    EXPECT_EQ(GetIniValue(Ini_Section, QStringLiteral("Favorite_File"), state.Ini_File()), QStringLiteral("3"));
    EXPECT_EQ(GetIniValue(Ini_Section, QStringLiteral("Skin"), state.Ini_File()), QStringLiteral("1"));
}

TEST(MainState, SaveNamesTheGroupFilesAndEntriesItCouldNotKeep)
{
    test::Temp_Dir dir;
    const QString a = dir.Write(QStringLiteral("a.mpg"), "a"), longer = a + QString(90, u'動');
    dir.Mkdir(QStringLiteral("Favorite00.rdm"));  // not a file: left as it is
    Main_State state(dir.Path());
    state.List_Join.Add_All({a, longer});
    state.List_Favorite.Add(a);
    QStringList problems;
    EXPECT_FALSE(state.Save_All(&problems));
    EXPECT_EQ(test::Read_All(dir.File(QStringLiteral("Parlo_film00.rdm"))), Record(a));
    ASSERT_EQ(problems.size(), 2);
    EXPECT_TRUE(problems.at(0).contains(longer) && problems.at(1).contains(dir.File(QStringLiteral("Favorite00.rdm"))));
    EXPECT_TRUE(QFile::exists(state.Ini_File()));  // the rest is saved all the same
}

TEST(MainState, StartAndUnloadRemoveARegularTemporaryJoinFileOnly)
{
    for (const bool start : {true, false})
        for (const int kind : {0, 1, 2}) {  // a file, a link to one, a folder
            test::Temp_Dir dir;
            Main_State state(dir.Path());
            const QString target = dir.Write(QStringLiteral("target"), "x"), tmp = state.Temp_Path();
            if (kind == 1)
                QFile::link(target, tmp);
            else
                kind == 0 ? dir.Write(QStringLiteral("File.tmp"), "x") : dir.Mkdir(QStringLiteral("File.tmp"));
            start ? test::Start_Up(state) : state.Unload();
            EXPECT_EQ(QFileInfo(tmp).exists() || QFileInfo(tmp).isSymLink(), kind != 0);
            EXPECT_TRUE(QFile::exists(target));
            state.Unload();  // once more: no harm
        }
}

TEST(MainState, AStartRemovesTheHiddenOutputsAKilledJoinLeftAndNothingElse)
{
    test::Temp_Dir dir;
    const QString app = dir.Mkdir(QStringLiteral("app")), out = dir.Mkdir(QStringLiteral("out"));
    SetIniValue(Ini_Section, QStringLiteral("List_Path"), out, dir.File(QStringLiteral("app/") + Ini_File_Name));
    Main_State state(app);
    const QString left = state.New_Temp_In(out), linked = state.New_Temp_In(out);
    dir.Write(QStringLiteral("out/") + QFileInfo(left).fileName(), "half a join");
    const QString victim = dir.Write(QStringLiteral("victim"), "keep");
    ASSERT_TRUE(QFile::link(victim, linked));
    const QString others = Main_State(dir.Path()).New_Temp_In(out);  // another program's folder
    dir.Write(QStringLiteral("out/") + QFileInfo(others).fileName(), "not ours");
    test::Start_Up(state);
    QTRY_VERIFY(!QFile::exists(left));
    EXPECT_TRUE(QFileInfo(linked).isSymLink());
    EXPECT_EQ(test::Read_All(victim), "keep");
    EXPECT_TRUE(QFile::exists(others));
}
