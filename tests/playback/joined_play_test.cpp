// SPDX-License-Identifier: GPL-3.0-or-later
// Joined files of every kind on the "MPEGVideo" device, driven as the video window drives it:
// length, frames and rate are the parts' sums, a seek lands within a frame in the right part,
// and play at double speed, read every 30 ms, never goes back and ends equal to the length.
#include "mci/mci_api.h"
#include "mci/mci_errors.h"
#include "mci/mci_service.h"
#include "playback/mpeg_video_device.h"

#include "support/clip_pieces.h"
#include "support/temp_dir.h"

#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace pf {
namespace {

using namespace test;

struct Clip_Layout {
    const char* name;
    std::vector<Piece> parts;
    double Seconds() const
    {
        double s = 0;
        for (const Piece& p : parts)
            s += p.Seconds();
        return s;
    }
    int Frames() const
    {
        int f = 0;
        for (const Piece& p : parts)
            f += p.frames;
        return f;
    }
};

const Clip_Layout Layouts[] = {
    {"program MPEG-1, 0.4 s between two", {Ps1_2, Ps1_04, Ps1_3}},
    {"program MPEG-2, another rate and size", {Ps2_24, Ps2_36}},
    {"elementary, joined to itself three times", {Es1_2, Es1_2, Es1_2}},
    {"elementary, another rate and size", {Es1_2, Es2_3}},
    {"transport", {Ts_2, Ts_3}},
};

QString Join(const test::Temp_Dir& dir, const Clip_Layout& layout)
{
    QByteArray bytes;
    for (const Piece& p : layout.parts)
        bytes += test::Read_All(QStringLiteral(PF_TEST_MEDIA_DIR "/") + p.file);
    return dir.Write(QStringLiteral("joined.mpg"), bytes);
}

class Joined_Play : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Register_Mpeg_Driver({"null"}); }
    void TearDown() override { Mci_Service::Instance().Close_All(); }
    int Open(const QString& path) { return mci.OpenDevice("MPEGVideo", "device1", path, 0, "1073741824"); }

    test::Temp_Dir dir;
    clsMCIApi mci;
};

TEST_F(Joined_Play, LengthFramesAndRateAreThePartsSums)
{
    for (const Clip_Layout& layout : Layouts) {
        SCOPED_TRACE(layout.name);
        ASSERT_EQ(Open(Join(dir, layout)), 0) << mci.ErrorDescription().toStdString();
        EXPECT_NEAR(mci.TotalTime(), layout.Seconds() * 1000, 1000 / 25.0);
        EXPECT_NEAR(mci.TotalFrames(), layout.Frames(), 1);
        EXPECT_EQ(mci.FramesPerSec(), qRound(layout.Frames() / layout.Seconds()));
        mci.CloseDevice("device1");
    }
}

TEST_F(Joined_Play, SeeksLandWithinAFrameInEveryPart)
{
    for (const Clip_Layout& layout : Layouts) {
        SCOPED_TRACE(layout.name);
        std::uint32_t error = 0;
        const auto opened = Mpeg_Video_Device::Open({Join(dir, layout).toUtf8(), "d", 0}, {"null"}, error);
        ASSERT_TRUE(opened) << error;
        auto* device = static_cast<Mpeg_Video_Device*>(opened.get());
        Mci_Reply reply;
        ASSERT_EQ(device->Execute(Parse_Mci_Command("set d time format ms").command, reply), 0u);
        double start = 0;
        for (const Piece& part : layout.parts) {
            const double target = start + part.Seconds() / 2;
            const std::string seek = "seek d to " + std::to_string(qRound(target * 1000));
            ASSERT_EQ(device->Execute(Parse_Mci_Command(seek).command, reply), 0u) << seek;
            const std::optional<double> shown = device->Shown_Position();
            ASSERT_TRUE(shown) << seek;
            EXPECT_NEAR(*shown, target, 1 / part.rate) << seek;
            start += part.Seconds();
        }
    }
}

TEST_F(Joined_Play, PlaysAtDoubleSpeedToTheEndWithoutGoingBack)
{
    for (const Clip_Layout& layout : Layouts) {
        SCOPED_TRACE(layout.name);
        ASSERT_EQ(Open(Join(dir, layout)), 0);
        ASSERT_EQ(mci.cmdTimeFormat("device1", "ms"), 0);
        ASSERT_EQ(mci.cmdRate("device1", 2000), 0);
        QList<qint32> seen;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] { seen << mci.cmdGetPosition("device1"); });
        poll.start(30);
        ASSERT_EQ(mci.cmdPlay("device1", -1, -1, 0), 0);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !seen.isEmpty() && seen.last() == mci.TotalTime(); }, 30000));
        poll.stop();
        EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
        // Every part was played through, none skipped.
        double start = 0;
        for (const Piece& part : layout.parts) {
            const double mid = (start + part.Seconds() / 2) * 1000;
            EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [&](qint32 p) {
                return std::abs(p - mid) < part.Seconds() * 500;
            })) << part.file;
            start += part.Seconds();
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return mci.cmdGetStatus("device1") == "stopped"; }, 5000));
        mci.CloseDevice("device1");
    }
}

TEST_F(Joined_Play, ASampledOpenTakesTheExactTimelineAndStillEndsAtTheLengthItReported)
{
    const Clip_Layout layouts[]
        = {{"program", {Ps1_2, Ps1_04, Ps1_3, Ps1_04}}, {"elementary", {Es1_2, Es2_3}}, {"transport", {Ts_3, Ts_2}}};
    for (const Clip_Layout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        std::uint32_t error = 0;
        const auto opened = Mpeg_Video_Device::Open({Join(dir, layout).toUtf8(), "d", 0}, {"null", true}, error);
        ASSERT_TRUE(opened) << error;
        const auto ask = [&](const char* command) {
            Mci_Reply reply;
            EXPECT_EQ(opened->Execute(Parse_Mci_Command(command).command, reply), 0u) << command;
            return reply.number;
        };
        ask("set d time format ms");
        const qint64 reported = ask("status d length");
        ask("set d speed 2000");
        ask("play d");
        QList<qint64> seen;
        EXPECT_TRUE(QTest::qWaitFor([&] { return (seen << ask("status d position")).last() == reported; }, 30000));
        EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
        // Asked again, the length is the exact one, and positions follow it.
        EXPECT_NEAR(ask("status d length"), layout.Seconds() * 1000, 1000 / 25.0);
        EXPECT_EQ(ask("status d position"), ask("status d length"));
    }
}

}  // namespace
}  // namespace pf
