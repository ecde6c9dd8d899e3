// The progress dialog of long joins, and a join of real MPEG-1 clips checked by ffprobe.
#include "join/join_commands.h"
#include "join/progress_dialog.h"

#include "join_support.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
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
    const QStringList inputs{f.make("a.mpg", 10), f.make("b.mpg", 10)};
    f.state.lstFiles.addAll(inputs);
    // Runs from the events the copy lets through once the dialog is up.
    QTimer::singleShot(0, [&progress] {
        if (progress.dialog())
            progress.dialog()->findChild<QPushButton*>()->click();
    });
    commands.run(6);
    EXPECT_FALSE(QFile::exists(f.state.Temp_Path()));
    EXPECT_EQ(f.state.List_Join.count(), 0);
    EXPECT_EQ(f.state.lstFiles.entries(), inputs);
    EXPECT_TRUE(f.prompter.messages.isEmpty());
}

namespace {

// Video frames of a file as ffprobe decodes them; -1 when ffprobe fails.
int Video_Frames(const QString& path)
{
    QProcess p;
    p.start("ffprobe", {"-v", "error", "-count_frames", "-select_streams", "v:0", "-show_entries",
                        "stream=nb_read_frames", "-of", "csv=p=0", path});
    if (!p.waitForFinished(60'000) || p.exitCode() != 0)
        return -1;
    bool ok = false;
    const int n = QString::fromLatin1(p.readAllStandardOutput()).trimmed().toInt(&ok);
    return ok ? n : -1;
}

}  // namespace

TEST(Media, RealMpeg1JoinHoldsEveryFrame)
{
    const QString media = QStringLiteral(PF_TEST_MEDIA_DIR);
    const QStringList clips{media + "/mpeg1_2s.mpg", media + "/mpeg1_3s.mpg"};
    for (const QString& c : clips)
        ASSERT_TRUE(QFileInfo::exists(c)) << c.toStdString();
    Join_Fixture f;
    f.state.settings.Auto = 1;
    f.state.settings.AutoFolder = f.dir.mkdir("auto");
    Join_Commands commands(f.state, f.prompter);
    f.state.lstFiles.addAll(clips);
    commands.run(6);
    ASSERT_EQ(f.state.List_Join.count(), 1);
    const QString out = f.state.List_Join.at(0);
    EXPECT_EQ(QFileInfo(out).size(), QFileInfo(clips.at(0)).size() + QFileInfo(clips.at(1)).size());
    const int a = Video_Frames(clips.at(0)), b = Video_Frames(clips.at(1));
    EXPECT_GT(a, 0);
    EXPECT_GT(b, 0);
    EXPECT_EQ(Video_Frames(out), a + b);
    EXPECT_EQ(f.state.lstFiles.count(), 2);  // Inlist 0: the clips stay
}
