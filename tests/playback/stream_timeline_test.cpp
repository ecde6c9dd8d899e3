// Timing of program streams from their own timestamps: single clips, and joins of several
// clips where every part's clock starts again.
#include "playback/stream_timeline.h"

#include "support/temp_dir.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace pf {
namespace {

QString Clip(const char* name) { return QStringLiteral(PF_TEST_MEDIA_DIR "/") + QString::fromUtf8(name); }

constexpr double kFrame = 0.04;

TEST(Stream_Timeline, TimesSingleClipsByTheirPictures)
{
    const struct {
        const char* file;
        double seconds;
    } cases[] = {{"mpeg1_2s.mpg", 2}, {"mpeg1_2s_silent.mpg", 2}, {"mpeg2_3s.mpg", 3}, {"mpeg2_2s_silent.mpg", 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const Stream_Timeline t = Scan_Program_Stream(Clip(c.file));
        ASSERT_EQ(t.parts.size(), 1);
        EXPECT_EQ(t.parts[0].begin, 0);
        EXPECT_EQ(t.parts[0].end, QFileInfo(Clip(c.file)).size());
        EXPECT_NEAR(t.Total(), c.seconds, kFrame / 2);
        EXPECT_DOUBLE_EQ(t.frame_rate, 25.0);
    }
}

TEST(Stream_Timeline, FindsEverySeamOfAJoinAtItsByte)
{
    const char* files[] = {"mpeg1_2s.mpg", "mpeg1_3s.mpg", "mpeg1_2s.mpg", "mpeg1_2s_silent.mpg", "mpeg2_3s.mpg"};
    test::Temp_Dir dir;
    QByteArray joined;
    QList<qint64> seams;
    for (const char* f : files) {
        seams << joined.size();
        joined += test::Read_All(Clip(f));
    }
    const Stream_Timeline t = Scan_Program_Stream(dir.write("joined.mpg", joined));
    ASSERT_EQ(t.parts.size(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(t.parts[i].begin, seams[i]) << i;
    EXPECT_NEAR(t.Total(), 12.0, kFrame);
    EXPECT_EQ(t.Part_At(0), 0);
    EXPECT_EQ(t.Part_At(2.01), 1);
    EXPECT_EQ(t.Part_At(99), 4);
    EXPECT_NEAR(t.Part_Start(2), 5.0, kFrame);
    // A player's clock inside a part maps into that part only.
    EXPECT_NEAR(t.Whole_Time(1, t.parts[1].lead + 1.0), t.Part_Start(1) + 1.0, 1e-9);
    EXPECT_DOUBLE_EQ(t.Whole_Time(1, 50.0), t.Part_Start(2));
    EXPECT_DOUBLE_EQ(t.Whole_Time(1, -3.0), t.Part_Start(1));
}

TEST(Stream_Timeline, KnowsNothingOfFilesThatAreNoProgramStream)
{
    EXPECT_TRUE(Scan_Program_Stream(Clip("not_video.mpg")).parts.isEmpty());
    EXPECT_TRUE(Scan_Program_Stream(Clip("clip.rm")).parts.isEmpty());
    EXPECT_TRUE(Scan_Program_Stream(Clip("no such file.mpg")).parts.isEmpty());
    test::Temp_Dir dir;
    // A pack header and nothing after it: no timestamps to time it by.
    EXPECT_TRUE(Scan_Program_Stream(dir.write("cut.mpg", QByteArray::fromHex("000001BA2100010001800001"))).parts.isEmpty());
}

}  // namespace
}  // namespace pf
