// SPDX-License-Identifier: GPL-3.0-or-later
// Timelines of joined files: every kind and layout of parts timed to the frame, large parts
// found by sampling, damaged files timed sanely within bounded reads, and the time mapping.
#include "mpeg/clock_scan.h"
#include "mpeg/stream_timeline.h"

#include "support/clip_pieces.h"
#include "support/temp_dir.h"

#include <QRandomGenerator>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

namespace pf {
namespace {

using namespace test;

QByteArray Clip(const char* name)
{
    return test::Read_All(QStringLiteral(PF_TEST_MEDIA_DIR "/") + name);
}

// A source that remembers the longest single read, to show that reads stay in windows.
class Watched_Source : public Memory_Source {
public:
    using Memory_Source::Memory_Source;
    qint64 longest = 0;

protected:
    qint64 Read_At(qint64 off, unsigned char* to, qint64 len) override
    {
        longest = std::max(longest, len);
        return Memory_Source::Read_At(off, to, len);
    }
};

struct Joined {
    QByteArray bytes;
    QList<qint64> seams;
    double seconds = 0;
    double frames = 0;
};

Joined Join(const std::vector<Piece>& pieces, const QByteArray& between = {})
{
    Joined j;
    for (const Piece& p : pieces) {
        if (!j.bytes.isEmpty())
            j.bytes += between;
        j.seams << j.bytes.size();
        j.bytes += Clip(p.file);
        j.seconds += p.frames / p.rate;
        j.frames += p.frames;
    }
    return j;
}

void Expect_Timed(const Stream_Timeline& t, const Joined& j, bool partsAtSeams)
{
    EXPECT_NEAR(t.Total(), j.seconds, 1.0 / 30);
    EXPECT_NEAR(t.Total_Frames(), j.frames, 1);
    if (!partsAtSeams)
        return;
    ASSERT_EQ(t.parts.size(), j.seams.size());
    for (int i = 0; i < j.seams.size(); ++i)
        EXPECT_EQ(t.parts[i].begin, j.seams[i]) << "part " << i;
}

TEST(Stream_Timeline, TimesEveryKindAndLayoutToTheFrame)
{
    const struct {
        const char* name;
        std::vector<Piece> pieces;
        Stream_Kind kind;
    } cases[] = {
        {"program MPEG-1 alone", {Ps1_2}, Stream_Kind::Program},
        {"program, 0.4 s between two", {Ps1_2, Ps1_04, Ps1_3}, Stream_Kind::Program},
        {"program, joined to itself three times", {Ps1_3, Ps1_3, Ps1_3}, Stream_Kind::Program},
        {"program, eight parts alternating",
         {Ps1_2, Ps1_04, Ps1_2, Ps1_04, Ps1_2, Ps1_04, Ps1_2, Ps1_04},
         Stream_Kind::Program},
        {"program MPEG-2, B pictures, another rate and size", {Ps2_24, Ps2_36, Ps2_24}, Stream_Kind::Program},
        {"one group of pictures each", std::vector<Piece>(40, Gop), Stream_Kind::Program},
        {"elementary alone", {Es2_3}, Stream_Kind::Elementary},
        {"elementary, joined to itself three times", {Es1_2, Es1_2, Es1_2}, Stream_Kind::Elementary},
        {"elementary, another rate and size", {Es1_2, Es2_3, Es1_2}, Stream_Kind::Elementary},
        {"transport alone", {Ts_3}, Stream_Kind::Transport},
        {"transport, B pictures between two", {Ts_2, Ts_3, Ts_2}, Stream_Kind::Transport},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Joined j = Join(c.pieces);
        Memory_Source source(j.bytes);
        const Stream_Timeline t = Scan_Stream(source);
        EXPECT_EQ(t.format.kind, c.kind);
        EXPECT_TRUE(t.exact);
        Expect_Timed(t, j, c.kind != Stream_Kind::Elementary);
    }
}

TEST(Stream_Timeline, SamplingFindsTheSeamsOfLargePartsReadingLittle)
{
    const struct {
        const char* name;
        std::vector<Piece> pieces;
        QByteArray between;
    } cases[] = {
        {"program", {Ps_60, Ps_60, Ps_60}, {}},
        {"program with zeros between", {Ps_60, Ps_60}, QByteArray(3 << 20, '\0')},
        {"program, a part of a higher bit rate between", {Ps_60, Ps_20_Hi, Ps_60}, {}},
        {"transport", {Ts_60, Ts_60, Ts_60}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Joined j = Join(c.pieces, c.between);
        Memory_Source source(j.bytes);
        Stream_Timeline t;
        t.parts = Sample_Clocked(source, Detect_Format(source));
        t.Finish();
        Expect_Timed(t, j, true);
        EXPECT_LT(source.Bytes_Read(), j.bytes.size() / 2);
    }
}

TEST(Stream_Timeline, DamagedFilesGetSaneLengthsFromBoundedReads)
{
    QByteArray flipped = Clip(Ps1_2.file);
    QRandomGenerator random(7);
    for (int i = 0; i < flipped.size() / 10; ++i)
        flipped[random.bounded(int(flipped.size()))] ^= char(1 + random.bounded(255));
    QByteArray noise(200 * 1024, '\0');
    for (char& b : noise)
        b = char(random.bounded(256));
    const QByteArray two = Clip(Ps1_2.file), three = Clip(Ps1_3.file), ts = Clip(Ts_2.file);
    const struct {
        const char* name;
        QByteArray bytes;
        double least, most;  // seconds
    } cases[] = {
        {"cut in its last part", two + three.left(three.size() / 2), 2.0, 5.0},
        {"a tenth of its bytes changed", flipped, 0.0, 2.04},
        {"garbage between parts", two + noise + three, 4.96, 5.04},
        {"zeros between parts", two + QByteArray(8 << 20, '\0') + three, 4.96, 5.04},
        {"transport cut mid-packet, then another", ts.left(ts.size() / 2 + 77) + ts, 2.0, 4.04},
        {"noise alone", noise, 0.0, 0.0},
    };
    // The walk times them; sampling, made for large parts, may miss a short one but must stay sane.
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (bool walk : {true, false}) {
            Watched_Source source(c.bytes);
            Stream_Timeline t;
            if (walk)
                t = Refine_Stream(source);
            else
                t.parts = Sample_Clocked(source, Detect_Format(source)), t.Finish();
            EXPECT_GE(t.Total(), walk ? c.least : 0.0) << (walk ? "walked" : "sampled");
            EXPECT_LE(t.Total(), c.most) << (walk ? "walked" : "sampled");
            for (const Stream_Part& p : t.parts)
                EXPECT_TRUE(p.duration > 0 && std::isfinite(p.duration) && p.begin < p.end && p.end <= c.bytes.size());
            EXPECT_LE(source.longest, 2 * 1024 * 1024);
        }
    }
}

TEST(Stream_Timeline, MapsTimesAndFramesAcrossPartsOfTheirOwnRates)
{
    Stream_Timeline t;
    t.parts = {{0, 10, 2.0, 0.5, 25, 0, 0}, {10, 20, 3.0, 0.0, 30, 0, 0}};
    t.Finish();
    const struct {
        double seconds, frames;
        int part;
    } cases[] = {{0, 0, 0}, {1.0, 25, 0}, {2.0, 50, 1}, {3.5, 95, 1}, {5.0, 140, 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(t.Part_At(c.seconds), c.part) << c.seconds;
        EXPECT_DOUBLE_EQ(t.To_Frames(c.seconds), c.frames) << c.seconds;
        EXPECT_DOUBLE_EQ(t.From_Frames(c.frames), c.seconds) << c.seconds;
    }
    // A player's clock maps into its own part only, after the part's lead.
    EXPECT_DOUBLE_EQ(t.Whole_Time(0, 1.5), 1.0);
    EXPECT_DOUBLE_EQ(t.Whole_Time(0, 9.0), 2.0);
    EXPECT_DOUBLE_EQ(t.Whole_Time(1, -1.0), 2.0);
}

TEST(Stream_Timeline, RefinerHandsOverTheExactTimelineOnce)
{
    test::Temp_Dir dir;
    const Joined j = Join({Ps2_24, Ps1_04});
    const QString path = dir.Write("joined.mpg", j.bytes);
    Timeline_Refiner refiner(path);
    std::optional<Stream_Timeline> t;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (t = refiner.Take()).has_value(); }, 10000));
    EXPECT_TRUE(t->exact);
    EXPECT_NEAR(t->Total(), 2.8, 1.0 / 25);
    EXPECT_FALSE(refiner.Take());
}

}  // namespace
}  // namespace pf
