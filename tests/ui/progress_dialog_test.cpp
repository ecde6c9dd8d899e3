// SPDX-License-Identifier: GPL-3.0-or-later
// The progress dialog of long joins, and cancelling a join whose drive does not answer.
#include "join/join_commands.h"
#include "ui/progress_dialog.h"

#include "join/join_support.h"
#include "support/held_file.h"

#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace pf;
using pf::test::Join_Fixture;

TEST(Progress, ShowsWhatTheStepDoesThenPercentAndFile_OnlyAfterTheDelay)
{
    Join_Fixture f;
    Join_Commands commands(f.state, f.prompter);
    Join_Engine& engine = commands.Engine();
    Progress_Dialog late(engine, nullptr, 60'000);
    Progress_Dialog progress(engine, nullptr, 0);
    emit engine.stepStarted(QStringLiteral("ﾌｧｲﾙを結合しています…"));
    QTRY_VERIFY(progress.Dialog());
    EXPECT_EQ(late.Dialog(), nullptr);
    QDialog* d = progress.Dialog();
    EXPECT_EQ(d->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(progress.Label()->text(), QStringLiteral("ﾌｧｲﾙを結合しています…"));  // a drive that gives nothing yet
    emit engine.progressed(QStringLiteral("/v/b.mpg"), 100, 400);
    EXPECT_EQ(progress.Bar()->value() * 100 / progress.Bar()->maximum(), 25);
    EXPECT_TRUE(progress.Label()->text().endsWith("\nb.mpg"));
    emit engine.stepEnded();
    EXPECT_EQ(progress.Dialog(), nullptr);
}

TEST(Progress, CancelEndsAHeldJoinAtOnceAndNoSecondJoinRunsUntilItsWorkerHasCleanedUp)
{
    Join_Fixture f;
    f.state.settings.Auto = 1;
    f.state.settings.AutoFolder = f.dir.Mkdir("auto");
    Join_Commands commands(f.state, f.prompter);
    Progress_Dialog progress(commands.Engine(), nullptr, 0);
    const QStringList inputs{f.Make("a.mpg", 10), f.Make("b.mpg", 10)};
    f.state.lstFiles.Add_All(inputs);
    auto held = std::make_unique<test::Held_File>(inputs.at(1));  // as a drive that does not answer
    ASSERT_TRUE(held->held);
    QSignalSpy ended(&commands.Engine(), &Join_Engine::ended);
    commands.Run(Cmd_Join);
    EXPECT_TRUE(commands.Engine().Running());
    QTRY_VERIFY(progress.Dialog());
    progress.Dialog()->findChild<QPushButton*>()->click();
    EXPECT_EQ(ended.count(), 1);  // at once, with the read still held
    EXPECT_EQ(progress.Dialog(), nullptr);

    // Again at once: refused while the held worker may still write File.tmp.
    commands.Run(Cmd_Join);
    EXPECT_FALSE(commands.Engine().Running());
    EXPECT_EQ(f.prompter.messages.size(), 1);
    EXPECT_EQ(f.state.lstFiles.Entries(), inputs);
    EXPECT_EQ(f.state.List_Join.Count(), 0);

    held.reset();  // the drive answers: the late worker removes what it wrote
    QTRY_VERIFY(!QFile::exists(f.state.Temp_Path()));
    QTRY_VERIFY(commands.Engine().Join_Files());
    QTRY_COMPARE(ended.count(), 2);
    EXPECT_EQ(f.state.List_Join.Count(), 1);
    EXPECT_EQ(f.state.lstFiles.Entries(), inputs);
}
