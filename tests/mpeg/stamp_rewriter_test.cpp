// SPDX-License-Identifier: GPL-3.0-or-later
// Joins with continuous timestamps, checked by our own reader (one clock, only time fields
// changed) and, where ffmpeg is installed, as other players see them.
#include "mpeg/stamp_rewriter.h"
#include "mpeg/stamped_join.h"
#include "mpeg/stream_timeline.h"

#include "support/clip_pieces.h"
#include "support/temp_dir.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace pf {
namespace {

using namespace test;

// Calls `f(field, kind)` on every time field of `bytes` that our walker finds (0 a PTS or DTS,
// 1 a pack with its SCR, 2 a transport packet with its continuity counter, 3 one with a PCR
// too); returns how often a transport PID's continuity counter jumps.
int Each_Time_Field(QByteArray& bytes, const std::function<void(unsigned char*, int)>& f)
{
    struct Sink : Walk_Sink {
        unsigned char* out = nullptr;
        const std::function<void(unsigned char*, int)>* f = nullptr;
        bool transport = false;
        std::map<unsigned, int> last;
        int jumps = 0;
        void Stamps(mpeg::Bytes p, qint64 size, qint64 off)
        {
            if (const auto h = mpeg::Parse_Pes(p, size))
                for (qint64 at : {h->ptsAt, h->dtsAt})
                    if (at)
                        (*f)(out + off + at, 0);
        }
        void Unit(mpeg::Bytes p, qint64 size, qint64 off) override
        {
            if (!transport)
                return p[3] == 0xBA ? (*f)(out + off, 1) : Stamps(p, size, off);
            const auto t = mpeg::Parse_Ts(p);
            int& counter = last.try_emplace(t->pid, -1).first->second;
            jumps += (p[3] & 0x10) && counter >= 0 && (p[3] & 15) != ((counter + 1) & 15);
            counter = (p[3] & 0x10) ? p[3] & 15 : counter;
            (*f)(out + off, t->pcr ? 3 : 2);
            if (t->unitStart)
                Stamps(p + t->payload, t->payloadSize, off + t->payload);
        }
    } sink;
    Memory_Source source(bytes);  // reads them as they were
    const Stream_Format format = Detect_Format(source);
    sink.out = reinterpret_cast<unsigned char*>(bytes.data());
    sink.f = &f;
    sink.transport = format.kind == Stream_Kind::Transport;
    std::vector<unsigned char> buf;
    Stream_Walker(format).Walk(source, 0, bytes.size(), sink, buf);
    return sink.jumps;
}

QByteArray Blank_Time_Fields(QByteArray bytes)
{
    Each_Time_Field(bytes, [](unsigned char* p, int kind) {
        if (kind >= 2)
            p[3] &= 0xF0;
        if (kind != 2)
            std::fill_n(p + (kind == 0 ? 0 : kind == 1 ? 4 : 6), 5, 0);
    });
    return bytes;
}

QByteArray Join_Stamped(const QList<QByteArray>& inputs, qint64 piece, QList<int>* unchanged = nullptr)
{
    QByteArray out;
    Stamp_Rewriter rewriter([&out](const unsigned char* p, qint64 n) {
        out.append(reinterpret_cast<const char*>(p), n);
        return true;
    });
    for (int i = 0; i < inputs.size(); ++i) {
        rewriter.Begin_Input(i);
        for (qsizetype at = 0; at < inputs[i].size(); at += piece)
            rewriter.Feed(reinterpret_cast<const unsigned char*>(inputs[i].constData()) + at,
                          std::min<qint64>(piece, inputs[i].size() - at));
        rewriter.End_Input();
    }
    if (unchanged)
        *unchanged = rewriter.Unchanged();
    return out;
}

QByteArray Clip(const Piece& piece)
{
    return Read_All(Media_Path(piece.file));
}

TEST(Stamp_Rewriter, JoinsEveryKindOnOneClockChangingOnlyTimeFields)
{
    const QByteArray two = Clip(Ps1_2), three = Clip(Ps1_3);
    // An input whose clock nears the 33-bit wrap, so that the next one's wraps.
    QByteArray late = two;
    Each_Time_Field(late, [](unsigned char* p, int kind) {
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
        {"MPEG-2 program, B pictures, other size", {Clip(Ps2_24), Clip(Ps2_36), Clip(Ps2_24)}, 8.4036, 1, {}},
        {"transport, three", {Clip(Ts_3), Clip(Ts_2), Clip(Ts_3)}, 8, 1, {}},
        {"an input that is a byte join itself", {two + Clip(Ps1_04), three}, 5.4, 1, {}},
        {"text between", {two, Read_All(Media_Path("not_video.mpg")), three}, 5, 1, {1}},
        {"clock wraps", {late, three}, 5, 2, {}},
        {"elementary", {Clip(Es1_2), Clip(Es1_2)}, 4, 0, {}},
    };
    for (const auto& c : cases) {
        const QByteArray plain = c.inputs.join();
        Memory_Source plainSource(plain);
        const qint64 firstEnd = Scan_Stream(plainSource).parts.value(0).end;
        for (qint64 piece : {qint64(4099), qint64(plain.size())}) {
            SCOPED_TRACE(std::string(c.name) + ", pieces of " + std::to_string(piece));
            QList<int> unchanged;
            QByteArray out = Join_Stamped(c.inputs, piece, &unchanged);
            EXPECT_EQ(unchanged, c.unchanged);
            ASSERT_EQ(out.size(), plain.size());
            EXPECT_EQ(out == plain, c.parts == 0);
            EXPECT_TRUE(out.left(firstEnd) == plain.left(firstEnd));  // the first part keeps its clock
            EXPECT_TRUE(Blank_Time_Fields(out) == Blank_Time_Fields(plain));
            EXPECT_EQ(Each_Time_Field(out, [](unsigned char*, int) {}), 0);
            Memory_Source source(out);
            const Stream_Timeline t = Scan_Stream(source);
            EXPECT_TRUE(c.parts == 0 || t.parts.size() == c.parts) << t.parts.size();
            EXPECT_NEAR(t.Total(), c.seconds, 1.0 / 30);
        }
    }
    // Files: a missing one stops the join and is named, and progress may stop it.
    const QString missing = Media_Path("missing.mpg");
    const auto drop = [](const unsigned char*, qint64) { return true; };
    const Rewrite_Outcome failed = Rewrite_Files({Media_Path(Ps1_2.file), missing}, drop);
    EXPECT_EQ(std::tuple(failed.ok, failed.failedPath, failed.error), std::tuple(false, missing, ENOENT));
    EXPECT_TRUE(Rewrite_Files({Media_Path(Ps1_2.file)}, drop, [](qint64) { return false; }).cancelled);
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
        QStringList paths;
        double sum = 0, before = 0;  // the parts' lengths by ffprobe; ours of all but the last
        for (const Piece& p : pieces) {
            inputs << Clip(p);
            paths << Media_Path(p.file);
            sum += Probe(Media_Path(p.file), "format=duration");
            before += &p == &pieces.back() ? 0 : p.Seconds();
        }
        QByteArray stamped;
        ASSERT_TRUE(Rewrite_Files(paths, [&stamped](const unsigned char* p, qint64 n) {
                        return !stamped.append(reinterpret_cast<const char*>(p), n).isNull();
                    }).ok);
        const QString out = dir.Write("stamped.mpg", stamped);
        const QString plain = dir.Write("plain.mpg", inputs.join());
        EXPECT_NEAR(Probe(out, "format=duration"), sum, 1 / pieces[0].rate);
        const QStringList packets = QStringLiteral("-v error -show_packets -show_data_hash crc32 -show_entries "
                                                   "packet=stream_index,size,data_hash -of csv=p=0")
                                        .split(u' ');
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
