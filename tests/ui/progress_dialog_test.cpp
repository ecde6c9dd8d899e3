// SPDX-License-Identifier: GPL-3.0-or-later
// The progress dialog of long joins.
#include "join/join_commands.h"
#include "ui/progress_dialog.h"

#include "join/join_support.h"

#include <QFile>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace pf;
using pf::test::Join_Fixture;

TEST(Progress, ShowsPercentAndFileOnlyAfterTheDelay)
{
    Progress_Dialog late(nullptr, 60'000);
    late.begin(100);
    EXPECT_TRUE(late.step("/v/a.mpg", 10));
    EXPECT_EQ(late.dialog(), nullptr);
    late.end();

    Progress_Dialog progress(nullptr, 0);
    progress.begin(400);
    EXPECT_TRUE(progress.step("/v/b.mpg", 100));
    QProgressDialog* d = progress.dialog();
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(d->value() * 100 / d->maximum(), 25);
    EXPECT_TRUE(d->labelText().contains("b.mpg"));
    d->findChild<QPushButton*>()->click();
    EXPECT_FALSE(progress.step("/v/b.mpg", 200));
    progress.end();
    EXPECT_EQ(progress.dialog(), nullptr);
}

TEST(Progress, CancelInTheDialogStopsTheJoin)
{
    Join_Fixture f;
    f.state.settings.Auto = 1;
    f.state.settings.AutoFolder = f.dir.mkdir("auto");
    Progress_Dialog progress(nullptr, 0);
    Join_Commands commands(f.state, f.prompter, &progress);
    const QStringList inputs{f.Make("a.mpg", 10), f.Make("b.mpg", 10)};
    f.state.lstFiles.Add_All(inputs);
    // Runs from the events the copy lets through once the dialog is up.
    QTimer::singleShot(0, [&progress] {
        if (progress.dialog())
            progress.dialog()->findChild<QPushButton*>()->click();
    });
    commands.Run(Cmd(6));
    EXPECT_FALSE(QFile::exists(f.state.Temp_Path()));
    EXPECT_EQ(f.state.List_Join.count(), 0);
    EXPECT_EQ(f.state.lstFiles.entries(), inputs);
    EXPECT_TRUE(f.prompter.messages.isEmpty());
}
