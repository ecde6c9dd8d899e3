// SPDX-License-Identifier: GPL-3.0-or-later
// A join of real MPEG-1 clips checked by ffprobe.
#include "join/join_commands.h"

#include "join_support.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

using namespace pf;
using pf::test::Join_Fixture;

namespace {

// Video frames of a file as ffprobe decodes them; -1 when ffprobe fails.
int Video_Frames(const QString& path)
{
    QProcess p;
    p.start("ffprobe",
            {"-v", "error", "-count_frames", "-select_streams", "v:0", "-show_entries", "stream=nb_read_frames", "-of",
             "csv=p=0", path});
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
    f.state.settings.AutoFolder = f.dir.Mkdir("auto");
    Join_Commands commands(f.state, f.prompter);
    f.state.lstFiles.Add_All(clips);
    pf::test::Run_And_Wait(commands);
    ASSERT_EQ(f.state.List_Join.Count(), 1);
    const QString out = f.state.List_Join.At(0);
    EXPECT_EQ(QFileInfo(out).size(), QFileInfo(clips.at(0)).size() + QFileInfo(clips.at(1)).size());
    const int a = Video_Frames(clips.at(0)), b = Video_Frames(clips.at(1));
    EXPECT_GT(a, 0);
    EXPECT_GT(b, 0);
    EXPECT_EQ(Video_Frames(out), a + b);
    EXPECT_EQ(f.state.lstFiles.Count(), 2);  // Inlist 0: the clips stay
}
