// SPDX-License-Identifier: GPL-3.0-or-later
// The "MPEGVideo" device on real clips made by ffmpeg, driven through clsMCIApi and the service
// exactly as the video window drives it. Playback runs headless (no display, null audio).
#include "mci/mci_api.h"
#include "mci/mci_errors.h"
#include "mci/mci_service.h"
#include "playback/mpeg_video_device.h"

#include "support/temp_dir.h"

#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

namespace pf {
namespace {

QString Clip(const char* name)
{
    return QStringLiteral(PF_TEST_MEDIA_DIR "/") + QString::fromUtf8(name);
}

class Mpeg_Device : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Register_Mpeg_Driver({"null"}); }
    void TearDown() override { Mci_Service::Instance().Close_All(); }

    int Open(const QString& path) { return mci.OpenDevice("MPEGVideo", "device1", path, 0, "1073741824"); }

    // Polls like the video window's timer, but faster; returns the positions seen.
    QList<qint32> Play_To_End(int timeoutMs = 20000)
    {
        QList<qint32> seen;
        (void)QTest::qWaitFor([&] { return (seen << mci.cmdGetPosition("device1")).last() == mci.TotalTime(); },
                              timeoutMs);
        return seen;
    }

    clsMCIApi mci;
};

struct Clip_Case {
    const char* file;
    int lengthMs;
    int frames;
};

TEST_F(Mpeg_Device, ReportsLengthFramesRateAndSizeOfEachKindOfClip)
{
    const Clip_Case cases[] = {
        {"mpeg1_2s.mpg", 2000, 50},        {"mpeg1_2s_silent.mpg", 2000, 50}, {"mpeg2_3s.mpg", 3000, 75},
        {"mpeg2_2s_silent.mpg", 2000, 50}, {"映像 クリップ 1.mpg", 2000, 50},
    };
    for (const Clip_Case& c : cases) {
        SCOPED_TRACE(c.file);
        ASSERT_EQ(Open(Clip(c.file)), 0) << mci.ErrorDescription().toStdString();
        EXPECT_NEAR(mci.TotalTime(), c.lengthMs, 40);
        EXPECT_NEAR(mci.TotalFrames(), c.frames, 1);
        EXPECT_EQ(mci.FramesPerSec(), 25);
        EXPECT_EQ(mci.cmdGetTimeFormat("device1"), "frames");
        EXPECT_EQ(mci.cmdGetSize("device1"), "320 240");
        EXPECT_EQ(mci.cmdGetStatus("device1"), "stopped");
        EXPECT_EQ(mci.cmdGetPosition("device1"), 0);
        EXPECT_EQ(mci.CloseDevice("device1"), 0);
    }
}

TEST_F(Mpeg_Device, PlaysToTheEndWherePositionEqualsLengthInBothFormats)
{
    ASSERT_EQ(Open(Clip("mpeg1_2s.mpg")), 0);
    ASSERT_EQ(mci.cmdTimeFormat("device1", "ms"), 0);
    ASSERT_EQ(mci.cmdRate("device1", 4000), 0);
    ASSERT_EQ(mci.cmdPlay("device1", -1, -1, 0), 0);
    EXPECT_EQ(mci.cmdGetStatus("device1"), "playing");
    const QList<qint32> seen = Play_To_End();
    EXPECT_EQ(seen.last(), mci.TotalTime());
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(mci.cmdGetStatus("device1"), "stopped");
    EXPECT_EQ(mci.cmdTimeFormat("device1", "frames"), 0);
    EXPECT_EQ(mci.cmdGetPosition("device1"), mci.TotalFrames());
    EXPECT_EQ(mci.cmdGetLength("device1"), mci.TotalFrames());

    // Rewind and play again, as the window does with repeat on.
    EXPECT_EQ(mci.cmdToStart("device1"), 0);
    EXPECT_EQ(mci.cmdGetPosition("device1"), 0);
    EXPECT_EQ(mci.cmdPlay("device1", -1, -1, 0), 0);
    EXPECT_EQ(mci.cmdGetStatus("device1"), "playing");
}

TEST_F(Mpeg_Device, JoinedFileCountsEveryPartAndItsPositionNeverFallsBack)
{
    ASSERT_EQ(Open(Clip("joined_2s_3s.mpg")), 0);
    EXPECT_NEAR(mci.TotalTime(), 5000, 40);
    EXPECT_NEAR(mci.TotalFrames(), 125, 1);
    mci.cmdTimeFormat("device1", "ms");
    mci.cmdRate("device1", 4000);
    mci.cmdPlay("device1", -1, -1, 0);
    const QList<qint32> seen = Play_To_End();
    ASSERT_EQ(seen.last(), mci.TotalTime());
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    // It really went through the second part instead of jumping to the end.
    EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [](qint32 p) { return p > 2500 && p < 4800; }));
}

TEST_F(Mpeg_Device, JoinedFileWithBlanksCommasAndJapaneseInItsPathPlaysItsLaterPart)
{
    test::Temp_Dir dir;
    const QString path = dir.Write("結合 a,b.mpg", test::Read_All(Clip("joined_2s_3s.mpg")));
    ASSERT_EQ(Open(path), 0) << mci.ErrorDescription().toStdString();
    EXPECT_NEAR(mci.TotalTime(), 5000, 40);
    mci.cmdTimeFormat("device1", "ms");
    mci.cmdRate("device1", 4000);
    ASSERT_EQ(mci.cmdPlay("device1", 4000, -1, 0), 0);
    const QList<qint32> seen = Play_To_End();
    EXPECT_EQ(seen.last(), mci.TotalTime());
    EXPECT_GE(seen.first(), 4000);
}

TEST_F(Mpeg_Device, SeeksAndPlaysARangeThenStopsThere)
{
    ASSERT_EQ(Open(Clip("joined_2s_3s.mpg")), 0);
    mci.cmdTimeFormat("device1", "ms");
    EXPECT_EQ(mci.cmdSeek("device1", 3), 0);
    EXPECT_EQ(mci.cmdGetPosition("device1"), 3000);
    EXPECT_EQ(mci.cmdToEnd("device1"), 0);
    EXPECT_EQ(mci.cmdGetPosition("device1"), mci.TotalTime());
    EXPECT_EQ(mci.cmdGetStatus("device1"), "stopped");
    EXPECT_EQ(mci.cmdSeek("device1", 9), 1);
    EXPECT_EQ(mci.ErrorNumber(), MCIERR_OUTOFRANGE);

    ASSERT_EQ(Open(Clip("mpeg1_3s.mpg")), 1);  // still open under device1
    EXPECT_EQ(mci.ErrorNumber(), 289);
    mci.CloseDevice("device1");
    ASSERT_EQ(Open(Clip("mpeg1_3s.mpg")), 0);
    mci.cmdTimeFormat("device1", "ms");
    mci.cmdRate("device1", 4000);
    ASSERT_EQ(mci.cmdPlay("device1", 500, 1000, 0), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return mci.cmdGetStatus("device1") != "playing"; }, 10000));
    EXPECT_EQ(mci.cmdGetStatus("device1"), "stopped");
    EXPECT_EQ(mci.cmdGetPosition("device1"), 1000);
    EXPECT_EQ(mci.cmdPlay("device1", 2000, 1000, 0), 1);
    EXPECT_EQ(mci.ErrorNumber(), MCIERR_OUTOFRANGE);
}

TEST_F(Mpeg_Device, AnswersTheOtherCommandsItCanHonour)
{
    ASSERT_EQ(Open(Clip("mpeg1_2s.mpg")), 0);
    EXPECT_EQ(mci.cmdResize("device1", 0, 0, 640, 480), 0);
    EXPECT_EQ(mci.cmdGetSize("device1"), "640 480");
    EXPECT_EQ(mci.cmdVolume("device1", 0, 250), 0);
    EXPECT_EQ(mci.cmdChannels("device1", 1, 0), 0);
    qint16 volume = -1;
    EXPECT_EQ(mci.cmdGetVolume("device1", 0, volume), 0);
    EXPECT_EQ(volume, 250);
    EXPECT_EQ(mci.cmdGetVolume("device1", 2, volume), 0);
    EXPECT_EQ(volume, 625);
    EXPECT_EQ(mci.cmdVolume("device1", 2, 1001), 1);
    EXPECT_EQ(mci.cmdVideoOutput("device1", 0), 0);
    EXPECT_EQ(mci.cmdVideoOutput("device1", 1), 0);
    EXPECT_EQ(mci.cmdPause("device1"), 0);
    EXPECT_EQ(mci.cmdStop("device1"), 0);
    EXPECT_EQ(mci.cmdGetProduct("device1"), "MPEG Video (libmpv)");
    EXPECT_EQ(mci.cmdGetName("device1"), "mpeg1_2s.mpg");
    EXPECT_EQ(mci.cmdGetCopyRight("device1"), "");
    // No settings dialog and no wave format here: said so, not pretended.
    EXPECT_EQ(mci.cmdConfigure("device1"), 1);
    EXPECT_EQ(mci.ErrorNumber(), MCIERR_UNSUPPORTED_FUNCTION);
    EXPECT_EQ(mci.cmdGetFormatTag("device1"), clsMCIApi::Error_Reply);
    EXPECT_EQ(mci.cmdPlay("device1", -1, -1, -1), 1);  // no screen to fill when headless
    EXPECT_EQ(mci.ErrorNumber(), MCIERR_UNSUPPORTED_FUNCTION);
}

TEST_F(Mpeg_Device, MissingAndUnplayableFilesFailWithTheirCodes)
{
    const struct {
        QString path;
        int code;
    } cases[] = {
        {Clip("no such file.mpg"), MCIERR_FILE_NOT_FOUND},
        {Clip("not_video.mpg"), MCIERR_INVALID_FILE},
        {QStringLiteral(PF_TEST_MEDIA_DIR), MCIERR_FILE_NOT_FOUND},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        EXPECT_EQ(Open(c.path), 1);
        EXPECT_EQ(mci.ErrorNumber(), c.code);
        EXPECT_FALSE(mci.ErrorDescription().isEmpty());
        EXPECT_EQ(Mci_Service::Instance().Open_Device_Count(), 0);
    }
    EXPECT_EQ(mci.CloseDevice("device1"), 1);
    EXPECT_EQ(mci.ErrorNumber(), 263);
}

}  // namespace
}  // namespace pf
