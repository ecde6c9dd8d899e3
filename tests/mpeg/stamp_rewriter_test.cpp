// SPDX-License-Identifier: GPL-3.0-or-later
// Joins with continuous timestamps, checked by our own reader (one clock, only time fields
// changed) and, where ffmpeg is installed, as other players see them.
#include "mpeg/stamp_rewriter.h"
#include "mpeg/stream_timeline.h"

#include "support/clip_pieces.h"
#include "support/temp_dir.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <map>

namespace pf {
namespace {

using namespace test;

// Calls `field(offset, kind)` for every time field our walker finds: 0 a PTS or DTS, 1 a pack
// (its SCR), 2 a transport packet (its continuity counter), 3 one with a PCR. Returns how often
// a transport PID's continuity counter jumps.
template <class Field>
int Walk_Time_Fields(const QByteArray& bytes, Field field)
{
    struct Sink : Walk_Sink {
        Field& field;
        Stream_Kind kind;
        std::map<unsigned, int> last;
        int jumps = 0;
        Sink(Field& f, Stream_Kind k) : field(f), kind(k) {}
        void Stamps(mpeg::Bytes p, qint64 size, qint64 off)
        {
            const auto h = mpeg::Parse_Pes(p, size);
            for (qint64 at : {h ? h->ptsAt : 0, h ? h->dtsAt : 0})
                if (at)
                    field(off + at, 0);
        }
        void Unit(mpeg::Bytes p, qint64 size, qint64 off) override
        {
            if (kind != Stream_Kind::Transport)
                return p[3] == 0xBA ? field(off, 1) : Stamps(p, size, off);
            const auto t = mpeg::Parse_Ts(p);
            const unsigned pid = ((p[1] & 0x1Fu) << 8) | p[2];
            if ((p[3] & 0x10) && last.count(pid) && (p[3] & 15) != ((last[pid] + 1) & 15))
                ++jumps;
            last[pid] = (p[3] & 0x10) ? p[3] & 15 : last[pid];
            field(off, t->pcr ? 3 : 2);
            if (t->unitStart)
                Stamps(p + t->payload, t->payloadSize, off + t->payload);
        }
    };
    Memory_Source source(bytes);
    const Stream_Format format = Detect_Format(source);
    Sink sink(field, format.kind);
    std::vector<unsigned char> buf;
    Stream_Walker(format).Walk(source, 0, bytes.size(), sink, buf);
    return sink.jumps;
}

QByteArray Blank_Time_Fields(QByteArray bytes)
{
    Walk_Time_Fields(bytes, [&bytes](qint64 at, int kind) {
        if (kind >= 2)
            bytes[at + 3] = char(bytes[at + 3] & 0xF0);
        if (kind != 2)
            bytes.replace(at + (kind == 0 ? 0 : kind == 1 ? 4 : 6), 5, QByteArray(5, '\0'));
    });
    return bytes;
}

struct Stamped {
    QByteArray bytes;
    QList<int> unchanged;
};

Stamped Join_Stamped(const QList<QByteArray>& inputs, qint64 piece)
{
    Stamped out;
    Stamp_Rewriter rewriter([&out](const unsigned char* p, qint64 n) {
        out.bytes.append(reinterpret_cast<const char*>(p), n);
        return true;
    });
    for (int i = 0; i < inputs.size(); ++i) {
        rewriter.Begin_Input(i);
        for (qsizetype at = 0; at < inputs[i].size(); at += piece)
            rewriter.Feed(reinterpret_cast<const unsigned char*>(inputs[i].constData()) + at,
                          std::min<qint64>(piece, inputs[i].size() - at));
        rewriter.End_Input();
    }
    out.unchanged = rewriter.Unchanged();
    return out;
}

TEST(Stamp_Rewriter, JoinsEveryKindOnOneClockChangingOnlyTimeFields)
{
    const QByteArray two = Read_All(Media_Path(Ps1_2.file)), three = Read_All(Media_Path(Ps1_3.file));
    // An input whose clock nears the 33-bit wrap, so that the next one's wraps.
    QByteArray late = two;
    Walk_Time_Fields(two, [&late](qint64 at, int kind) {
        auto* p = reinterpret_cast<unsigned char*>(late.data()) + at;
        (kind == 0 ? mpeg::Shift_Stamp : mpeg::Shift_Pack_Clock)(p, mpeg::Clock_Wrap - 3 * 90000);
    });
    const struct {
        const char* name;
        QList<QByteArray> inputs;
        double seconds;
        int parts;  // our timeline's of the output; 0: the output is the plain join
        QList<int> unchanged;
    } cases[] = {
        {"MPEG-1 program, two", {two, three}, 5, 1, {}},
        {"MPEG-1 program, three", {two, three, two}, 7, 1, {}},
        {"MPEG-2 program, B pictures, another size and rate",
         {Read_All(Media_Path(Ps2_24.file)), Read_All(Media_Path(Ps2_36.file)), Read_All(Media_Path(Ps2_24.file))},
         Ps2_24.Seconds() * 2 + Ps2_36.Seconds(),
         1,
         {}},
        {"transport, three",
         {Read_All(Media_Path(Ts_3.file)), Read_All(Media_Path(Ts_2.file)), Read_All(Media_Path(Ts_3.file))},
         8,
         1,
         {}},
        {"an input that is a byte join itself", {two + Read_All(Media_Path(Ps1_04.file)), three}, 5.4, 1, {}},
        {"text between", {two, Read_All(Media_Path("not_video.mpg")), three}, 5, 1, {1}},
        {"clock wraps", {late, three}, 5, 2, {}},
        {"elementary", {Read_All(Media_Path(Es1_2.file)), Read_All(Media_Path(Es1_2.file))}, 4, 0, {}},
    };
    for (const auto& c : cases) {
        const QByteArray plain = c.inputs.join();
        Memory_Source plainSource(plain);
        const qint64 firstEnd = Scan_Stream(plainSource).parts.value(0).end;
        for (qint64 piece : {qint64(4099), qint64(plain.size())}) {
            SCOPED_TRACE(std::string(c.name) + ", pieces of " + std::to_string(piece));
            const Stamped out = Join_Stamped(c.inputs, piece);
            EXPECT_EQ(out.unchanged, c.unchanged);
            ASSERT_EQ(out.bytes.size(), plain.size());
            EXPECT_EQ(out.bytes == plain, c.parts == 0);
            EXPECT_TRUE(out.bytes.left(firstEnd) == plain.left(firstEnd));  // the first part keeps its clock
            EXPECT_TRUE(Blank_Time_Fields(out.bytes) == Blank_Time_Fields(plain));
            EXPECT_EQ(Walk_Time_Fields(out.bytes, [](qint64, int) {}), 0);
            Memory_Source source(out.bytes);
            const Stream_Timeline t = Scan_Stream(source);
            EXPECT_TRUE(c.parts == 0 || t.parts.size() == c.parts) << t.parts.size();
            EXPECT_NEAR(t.Total(), c.seconds, 1.0 / 30);
        }
    }
}

QString Output_Of(const QString& program, const QStringList& args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAll()).trimmed();
}

// The first value ffprobe shows of `entry`, after `more` of its options.
double Probe(const QString& file, const char* entry, const QStringList& more = {})
{
    return Output_Of("ffprobe", more + QStringList{"-v", "error", "-show_entries", entry, "-of", "csv=p=0", file})
        .section(QRegularExpression(QStringLiteral("[,\\s]")), 0, 0)
        .toDouble();
}

TEST(Stamp_Rewriter, JoinsPlayRightInFfmpeg)
{
    if (QStandardPaths::findExecutable("ffprobe").isEmpty() || QStandardPaths::findExecutable("ffmpeg").isEmpty())
        GTEST_SKIP() << "no ffprobe or ffmpeg";
    Temp_Dir dir;
    const std::vector<Piece> cases[]
        = {{Ps1_2, Ps1_3}, {Ps1_2, Ps1_3, Ps1_2}, {Ps2b_24, Ps2b_24}, {Ps2b_24, Ps2b_24, Ps2b_24},
           {Ts_2, Ts_3},   {Ts_3, Ts_2, Ts_3}};
    for (const auto& pieces : cases) {
        SCOPED_TRACE(std::string(pieces[0].file) + " first, parts: " + std::to_string(pieces.size()));
        QList<QByteArray> inputs;
        double sum = 0, before = 0;  // the parts' lengths by ffprobe; ours of all but the last
        for (const Piece& p : pieces) {
            inputs << Read_All(Media_Path(p.file));
            sum += Probe(Media_Path(p.file), "format=duration");
            before += &p == &pieces.back() ? 0 : p.Seconds();
        }
        const QString out = dir.write("stamped.mpg", Join_Stamped(inputs, 1 << 20).bytes);
        const QString plain = dir.write("plain.mpg", inputs.join());
        EXPECT_NEAR(Probe(out, "format=duration"), sum, 1 / pieces[0].rate);
        const QStringList packets{"-v",
                                  "error",
                                  "-show_packets",
                                  "-show_data_hash",
                                  "crc32",
                                  "-show_entries",
                                  "packet=stream_index,size,data_hash",
                                  "-of",
                                  "csv=p=0"};
        EXPECT_EQ(Output_Of("ffprobe", packets + QStringList{out}), Output_Of("ffprobe", packets + QStringList{plain}));
        EXPECT_EQ(Output_Of("ffmpeg", {"-v", "error", "-i", out, "-f", "null", "-"}), QString());
        // A seek to 90 % lands in the last part, at most a group of pictures early.
        const double start = Probe(out, "format=start_time"), at = start + 0.9 * Probe(out, "format=duration");
        const double landed
            = Probe(out, "packet=dts_time", {"-read_intervals", QString::number(at) + "%+#1", "-select_streams", "v"});
        EXPECT_GE(landed, start + before);
        EXPECT_NEAR(landed, at, 0.5);
    }
}

}  // namespace
}  // namespace pf
