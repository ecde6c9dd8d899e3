// SPDX-License-Identifier: GPL-3.0-or-later
// Picture counting on hand-made video headers, for what the fixtures' encoder never writes
// (repeated fields, field pictures, frame rate extensions, headers cut between pieces), and the
// clock rule that tells one part from the next.
#include "mpeg/mpeg_syntax.h"
#include "mpeg/part_collector.h"

#include <QByteArray>

#include <gtest/gtest.h>

namespace pf {
namespace {

QByteArray Code(unsigned code, std::initializer_list<int> body, int size)
{
    QByteArray b = QByteArray::fromHex("000001") + char(code);
    for (int v : body)
        b += char(v);
    return b.leftJustified(size, '\0');
}

QByteArray Sequence(int rateCode)
{
    return Code(0xB3, {0x14, 0x00, 0xF0, 0x10 | rateCode}, 12);
}
QByteArray Sequence_Ext(bool progressive, int n = 0, int d = 0)
{
    return Code(0xB5, {0x14, progressive ? 0x08 : 0x00, 0, 0, 0, (n << 5) | d}, 12);
}
QByteArray Picture(int reference)
{
    return Code(0x00, {reference >> 2, (reference & 3) << 6 | 0x08}, 8);
}
QByteArray Coding_Ext(int structure, bool topFirst, bool repeat)
{
    return Code(0xB5, {0x8F, 0xFF, structure, (topFirst ? 0x80 : 0) | (repeat ? 0x02 : 0), 0x80}, 10);
}
QByteArray Group()
{
    return Code(0xB8, {0, 0, 0, 0}, 8);
}

TEST(Picture_Counter, CountsFieldsShownWhateverPiecesTheBytesComeIn)
{
    const struct {
        const char* name;
        QByteArray bytes;
        double fields, seconds;
    } cases[] = {
        {"MPEG-1 frames", Sequence(3) + Group() + Picture(0) + Picture(1) + Picture(2), 6, 0.12},
        {"repeat_first_field, interlaced",
         Sequence(5) + Sequence_Ext(false) + Group() + Picture(0) + Coding_Ext(3, false, true) + Picture(1)
             + Coding_Ext(3, true, false),
         5, 5 / 60.0},
        {"repeat_first_field, progressive sequence",
         Sequence(2) + Sequence_Ext(true) + Picture(0) + Coding_Ext(3, true, true) + Picture(1)
             + Coding_Ext(3, false, true),
         10, 10 / 48.0},
        {"field pictures",
         Sequence(3) + Sequence_Ext(false) + Picture(0) + Coding_Ext(1, true, false) + Picture(0)
             + Coding_Ext(2, true, false),
         2, 0.04},
        {"frame rate extension", Sequence(3) + Sequence_Ext(true, 1, 0) + Picture(0) + Picture(1), 4, 0.04},
    };
    for (const auto& c : cases) {
        for (int piece : {1, 3, 7, int(c.bytes.size())}) {
            SCOPED_TRACE(std::string(c.name) + ", pieces of " + std::to_string(piece));
            mpeg::Picture_Counter counter;
            for (qsizetype i = 0; i < c.bytes.size(); i += piece)
                counter.Feed(reinterpret_cast<mpeg::Bytes>(c.bytes.constData()) + i,
                             std::min<qsizetype>(piece, c.bytes.size() - i));
            counter.Finish();
            EXPECT_DOUBLE_EQ(counter.Fields(), c.fields);
            EXPECT_NEAR(counter.Seconds(), c.seconds, 1e-9);
        }
    }
}

TEST(Mpeg_Syntax, ClockFieldsMoveModulo33BitsKeepingTheirOtherBits)
{
    const qint64 last = mpeg::Clock_Wrap - 1;
    const struct {
        qint64 from, by, to;
    } cases[] = {{0, 3600, 3600}, {last - 9, 25, 15}, {5, -10, last - 4}, {123456789, mpeg::Clock_Wrap, 123456789}};
    for (const auto& c : cases) {
        // A PTS (an MPEG-1 SCR has its form), an MPEG-2 pack with an SCR extension of 123 and a PCR
        // with an extension of 45, each at 0 with every marker bit set.
        QByteArray pts = QByteArray::fromHex("3100010001"), pack2 = QByteArray::fromHex("000001BA4400040004F7000003F8"),
                   pcr = QByteArray::fromHex("470100300710000000007E2D").leftJustified(188, '\xFF');
        const auto at = [](QByteArray& b) { return reinterpret_cast<unsigned char*>(b.data()); };
        for (qint64 ticks : {c.from, c.by}) {
            mpeg::Shift_Stamp(at(pts), ticks);
            mpeg::Shift_Pack_Clock(at(pack2), ticks);
            mpeg::Shift_Pcr(at(pcr), ticks);
        }
        const double want = double(c.to) / 90000;
        const auto b = [](const QByteArray& bytes) { return reinterpret_cast<mpeg::Bytes>(bytes.constData()); };
        EXPECT_EQ(mpeg::Stamp_Ticks(b(pts)), c.to) << c.from;
        EXPECT_EQ(pts[0] & 0xF1, 0x31);
        EXPECT_DOUBLE_EQ(mpeg::Parse_Pack(b(pack2), 14)->scr, want + 123 / 27e6);
        EXPECT_DOUBLE_EQ(*mpeg::Parse_Ts(b(pcr))->pcr, want + 45 / 27e6);
    }
}

TEST(Part_Collector, TheClockRuleTellsOnePartFromTheNext)
{
    const auto mark = [](qint64 off, double clock, double rate = 0, bool afterEnd = false) {
        return Clock_Mark{off, off, clock, rate, afterEnd};
    };
    const struct {
        const char* name;
        Clock_Mark a, b;
        Stream_Kind kind;
        bool seam;
    } cases[] = {
        {"clock rises with the bytes", mark(0, 1.0, 1e6), mark(2048, 1.01, 1e6), Stream_Kind::Program, false},
        {"clock stands, a muxer's rounding", mark(0, 1.0, 55e6), mark(2048, 1.0 + 3 / 90000.0, 55e6),
         Stream_Kind::Program, false},
        {"clock falls back", mark(0, 1.0), mark(2048, 0.2), Stream_Kind::Program, true},
        {"bytes faster than the mux rate", mark(0, 1.0, 1e6), mark(100000, 1.05, 1e6), Stream_Kind::Program, true},
        {"program end code between", mark(0, 1.0), mark(2048, 1.01, 0, true), Stream_Kind::Program, true},
        {"pack clock jumps ahead", mark(0, 1.0), mark(2048, 3.5), Stream_Kind::Program, true},
        {"PCR a second and a half apart", mark(0, 1.0), mark(188, 2.5), Stream_Kind::Transport, true},
        {"PCR 40 ms apart", mark(0, 1.0), mark(188, 1.04), Stream_Kind::Transport, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Breaks_Clock(c.a, c.b, c.kind), c.seam) << c.name;
}

}  // namespace
}  // namespace pf
