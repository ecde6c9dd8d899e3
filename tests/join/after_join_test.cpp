// SPDX-License-Identifier: GPL-3.0-or-later
#include "join/join_commands.h"
#include "join/join_engine.h"

#include "join_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace pf;
using pf::test::Join_Fixture;
using pf::test::Read_All;

namespace {

// A join named through Save-As (the scripted answer) with the given Inlist.
struct Saved_Join : Join_Fixture {
    Join_Commands commands{state, prompter};
    QStringList inputs{Make("in/a.mpg", 4, 'a'), Make("in/b.mpg", 6, 'b')};
    QString out = dir.File("out/joined.mpg");

    explicit Saved_Join(int inlist)
    {
        dir.Mkdir("out");
        state.settings.Inlist = qint16(inlist);
        state.settings.List_Path = dir.File("out");
        state.lstFiles.Add_All(inputs);
        state.labels.Set_Range(Cmd(2), Cmd(6), true);
        prompter.savePath = out;
    }
};

}  // namespace

TEST(AfterJoin, InlistKeepsClearsDeletesOrTrashes)
{
    // Qt's trash lives in the data folder, which test mode puts under $HOME: point that at a
    // temporary folder so nothing lands in a real trash.
    pf::test::Temp_Dir home;
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home.Path()));

    for (int inlist : {0, 1, 2, 3, 7}) {
        Saved_Join j(inlist);
        pf::test::Run_And_Wait(j.commands);
        EXPECT_EQ(j.state.List_Join.Entries(), QStringList{j.out}) << inlist;
        EXPECT_EQ(Read_All(j.out), "aaaabbbbbb") << inlist;
        EXPECT_EQ(j.state.settings.List_Path, j.dir.File("out"));
        const bool keeps = inlist == 0 || inlist == 7;
        EXPECT_EQ(j.state.lstFiles.Count(), keeps ? 2 : 0) << inlist;
        EXPECT_EQ(j.state.labels.Enabled(Cmd(5)), keeps) << inlist;
        EXPECT_FALSE(j.state.labels.Enabled(Cmd(6))) << inlist;
        for (const QString& p : j.inputs)
            EXPECT_EQ(QFile::exists(p), inlist < 2 || inlist == 7) << inlist << p.toStdString();
        if (inlist == 3) {
            const QString trash = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                + QStringLiteral("/Trash/files/");
            EXPECT_TRUE(trash.startsWith(home.Path()));
            EXPECT_EQ(Read_All(trash + "a.mpg"), "aaaa");
            EXPECT_EQ(Read_All(trash + "b.mpg"), "bbbbbb");
        }
    }
    qputenv("HOME", oldHome);
}

TEST(AfterJoin, OutputSavedOverAnInputIsNotDeleted)
{
    Saved_Join j(2);
    j.prompter.savePath = j.inputs.at(0);
    pf::test::Run_And_Wait(j.commands);
    EXPECT_EQ(Read_All(j.inputs.at(0)), "aaaabbbbbb");
    EXPECT_FALSE(QFile::exists(j.inputs.at(1)));
    EXPECT_EQ(j.state.lstFiles.Count(), 0);
}

TEST(AfterJoin, InputsStayWhenTheOutputIsNotWhole)
{
    Saved_Join j(2);
    j.state.lstFiles.Clear();
    j.state.lstFiles.Add_All(j.inputs);
    Join_Engine& e = j.commands.Engine();
    e.Join_Size = 11;  // the output measures 10
    QFile::copy(j.inputs.at(0), j.out);
    QSignalSpy ended(&e, &Join_Engine::ended);
    e.Handle_Inputs_After_Join(j.out);
    ASSERT_TRUE(ended.wait(30000));
    EXPECT_EQ(j.prompter.messages.size(), 1);
    EXPECT_EQ(j.state.lstFiles.Count(), 2);
    for (const QString& p : j.inputs)
        EXPECT_TRUE(QFile::exists(p));
}

TEST(AfterJoin, SaveAsRefusalsKeepTheTemporaryFile)
{
    Saved_Join j(2);
    j.prompter.savePath = j.dir.File("out/joined.Mpeg");
    pf::test::Run_And_Wait(j.commands);
    EXPECT_EQ(j.prompter.messages, QStringList{"保存ﾌｧｲﾙの拡張子が違います！"});
    EXPECT_EQ(j.prompter.saveFilters, QStringList{"動画ﾌｧｲﾙ (mpg) (*.mpg)"});
    EXPECT_EQ(j.prompter.saveSuffixes, QStringList{"mpg"});
    // Written first where Save-As opens, hidden; kept there until the next join or the exit.
    const QString kept = j.state.Temp_Join_File;
    EXPECT_EQ(QFileInfo(kept).path(), j.dir.File("out"));
    EXPECT_EQ(Read_All(kept), "aaaabbbbbb");
    EXPECT_EQ(j.state.List_Join.Count(), 0);
    EXPECT_EQ(j.state.lstFiles.Count(), 2);

    j.prompter.savePath.clear();  // cancelled
    pf::test::Run_And_Wait(j.commands);
    EXPECT_FALSE(QFile::exists(kept));  // the next join removed the last one's
    EXPECT_TRUE(QFile::exists(j.state.Temp_Join_File));
    EXPECT_EQ(j.state.List_Join.Count(), 0);

    // A target that cannot be replaced (a non-empty folder) fails without touching anything.
    j.prompter.savePath = j.dir.Mkdir("out/taken.mpg");
    j.Make("out/taken.mpg/keep", 1);
    pf::test::Run_And_Wait(j.commands);
    EXPECT_EQ(j.prompter.messages.size(), 2);
    EXPECT_TRUE(QFile::exists(j.state.Temp_Join_File));
    EXPECT_EQ(j.state.List_Join.Count(), 0);
    EXPECT_EQ(j.state.lstFiles.Count(), 2);
    for (const QString& p : j.inputs)
        EXPECT_TRUE(QFile::exists(p));
}

TEST(AfterJoin, AnOutputTooLongForAGroupIsToldAtOnce)
{
    Saved_Join j(0);
    j.prompter.savePath = j.dir.Mkdir(QString(50, u'動') + u'/' + QString(50, u'動')) + QStringLiteral("/joined.mpg");
    pf::test::Run_And_Wait(j.commands);
    EXPECT_EQ(j.prompter.messages.size(), 1);
    EXPECT_TRUE(j.prompter.messages.value(0).contains(j.prompter.savePath));
}
