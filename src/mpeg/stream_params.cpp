// SPDX-License-Identifier: GPL-3.0-or-later
#include "mpeg/stream_params.h"

#include "util/prompter.h"

#include <cmath>

namespace pf {
namespace {

using mpeg::Bytes;

constexpr qint64 Video_Bytes = 64 * 1024;  // of video payload, for the sequence header and its extension

// The first sequence header and the MPEG-2 extension right after it; false until the start
// code after the header is in, which tells whether an extension follows.
bool Read_Video(Bytes p, qint64 n, Stream_Params& s)
{
    for (qint64 i = 0; (i = mpeg::Find_Start_Code(p, i, n)) >= 0; i += 3) {
        if (p[i + 3] != 0xB3)
            continue;
        const qint64 e = mpeg::Find_Start_Code(p, i + 12, n);
        if (e < 0)
            return false;
        s.width = (p[i + 4] << 4) | (p[i + 5] >> 4);
        s.height = ((p[i + 5] & 0x0F) << 8) | p[i + 6];
        s.frameRate = mpeg::Frame_Rate(p[i + 7] & 0x0F);
        s.mpegVersion = 1;
        if (e + 10 <= n && p[e + 3] == 0xB5 && (p[e + 4] >> 4) == 1) {
            s.mpegVersion = 2;
            s.width |= (((p[e + 5] & 1) << 1) | (p[e + 6] >> 7)) << 12;
            s.height |= ((p[e + 6] >> 5) & 3) << 12;
            s.frameRate = s.frameRate * (((p[e + 9] >> 5) & 3) + 1) / ((p[e + 9] & 0x1F) + 1);
        }
        return true;
    }
    return false;
}

std::optional<Audio_Params> Mpeg_Audio(Bytes p, qint64 n)
{
    static constexpr int Rates[] = {44100, 48000, 32000};
    for (qint64 i = 0; i + 4 <= n; ++i) {
        if (p[i] != 0xFF || (p[i + 1] & 0xE0) != 0xE0)
            continue;
        const int version = (p[i + 1] >> 3) & 3, layer = (p[i + 1] >> 1) & 3, rate = (p[i + 2] >> 2) & 3;
        if (version == 1 || layer == 0 || rate == 3 || (p[i + 2] >> 4) == 15)
            continue;
        Audio_Params a;
        a.codec = Audio_Codec::Mpeg;
        a.layer = 4 - layer;
        a.mpegVersion = version == 3 ? 1 : version == 2 ? 2 : 25;
        a.sampleRate = Rates[rate] >> (version == 3 ? 0 : version == 2 ? 1 : 2);
        a.channels = (p[i + 3] >> 6) == 3 ? 1 : 2;
        return a;
    }
    return std::nullopt;
}

std::optional<Audio_Params> Ac3_Audio(Bytes p, qint64 n)
{
    static constexpr int Rates[] = {48000, 44100, 32000};
    static constexpr int Channels[] = {2, 1, 2, 3, 3, 4, 4, 5};
    for (qint64 i = 0; i + 8 <= n; ++i) {
        if (p[i] != 0x0B || p[i + 1] != 0x77 || (p[i + 4] >> 6) == 3 || (p[i + 5] >> 3) > 10)
            continue;
        const int mode = p[i + 6] >> 5;
        // The mix levels and surround mode that this channel mode carries come before the LFE bit.
        const int bit = 3 + ((mode & 1) && mode != 1 ? 2 : 0) + (mode & 4 ? 2 : 0) + (mode == 2 ? 2 : 0);
        Audio_Params a;
        a.codec = Audio_Codec::Ac3;
        a.sampleRate = Rates[p[i + 4] >> 6];
        a.channels = Channels[mode];
        a.lfe = (p[i + 6 + bit / 8] >> (7 - bit % 8)) & 1;
        return a;
    }
    return std::nullopt;
}

// Collects the video payload's first bytes and the first sound stream's format.
class Param_Sink : public Walk_Sink {
public:
    explicit Param_Sink(Stream_Kind kind) : kind_(kind) {}

    std::vector<unsigned char> video;
    std::optional<Audio_Params> audio;
    int packVersion = 0;
    bool videoRead = false;

    bool Wants_Video() const override { return !videoRead && qint64(video.size()) < Video_Bytes; }
    void Video(Bytes p, qint64 n) override
    {
        video.insert(video.end(), p, p + std::min(n, Video_Bytes - qint64(video.size())));
        Stream_Params ignored;
        videoRead = Read_Video(video.data(), qint64(video.size()), ignored);
    }
    void Unit(Bytes p, qint64 size, qint64) override
    {
        if (kind_ == Stream_Kind::Transport) {
            const auto t = mpeg::Parse_Ts(p);
            if (t && t->unitStart && t->payloadSize >= 9)
                Audio_Unit(p + t->payload, t->payloadSize);
        } else if (p[3] == 0xBA) {
            packVersion = packVersion ? packVersion : (p[4] & 0xF0) == 0x20 ? 1 : 2;
        } else {
            Audio_Unit(p, size);
        }
    }
    bool Done() const override { return audio && videoRead; }

private:
    void Audio_Unit(Bytes pes, qint64 size)
    {
        const auto h = mpeg::Parse_Pes(pes, size);
        if (audio || !h || pes[0] != 0 || pes[1] != 0 || pes[2] != 1 || h->headerLength >= size)
            return;
        const Bytes payload = pes + h->headerLength;
        const qint64 n = size - h->headerLength;
        if (h->streamId >= 0xC0 && h->streamId <= 0xDF)
            audio = Mpeg_Audio(payload, n);
        else if (h->streamId == 0xBD || h->streamId == 0xFD)
            audio = Ac3_Audio(payload, n);
    }

    Stream_Kind kind_;
};

QString Number_Text(double v)
{
    return QString::number(std::round(v * 1000) / 1000);
}

QString Audio_Text(const Audio_Params& a)
{
    const QString rate = Number_Text(a.sampleRate / 1000.0) + QStringLiteral(" kHz");
    switch (a.codec) {
    case Audio_Codec::None: break;
    case Audio_Codec::Mpeg:
        return QStringLiteral("MPEG-%1 ﾚｲﾔｰ%2 %3 %4")
            .arg(a.mpegVersion == 25 ? QStringLiteral("2.5") : QString::number(a.mpegVersion))
            .arg(a.layer)
            .arg(rate, a.channels == 1 ? QStringLiteral("ﾓﾉﾗﾙ") : QStringLiteral("ｽﾃﾚｵ"));
    case Audio_Codec::Ac3:
        return QStringLiteral("AC-3 %1 %2%3ch").arg(rate).arg(a.channels).arg(a.lfe ? QStringLiteral(".1") : QString());
    }
    return QStringLiteral("なし");
}

}  // namespace

Stream_Params Read_Stream_Params(Byte_Source& source)
{
    Stream_Params s;
    const Stream_Format format = Detect_Format(source);
    s.kind = format.kind;
    std::vector<unsigned char> buf;
    if (s.kind == Stream_Kind::Elementary && source.Read(0, Param_Bytes, buf))
        Read_Video(buf.data(), qint64(buf.size()), s);
    if (s.kind != Stream_Kind::Program && s.kind != Stream_Kind::Transport)
        return s;
    Param_Sink sink(s.kind);
    Stream_Walker(format).Walk(source, 0, Param_Bytes, sink, buf);
    if (!Read_Video(sink.video.data(), qint64(sink.video.size()), s))
        s.mpegVersion = sink.packVersion;
    s.audio = sink.audio.value_or(Audio_Params{});
    s.audioKnown = true;
    return s;
}

Stream_Params Read_Stream_Params(const QString& path)
{
    File_Source source(path);
    return source.Ok() ? Read_Stream_Params(source) : Stream_Params{};
}

QString Kind_Name(Stream_Kind kind)
{
    switch (kind) {
    case Stream_Kind::Program: return QStringLiteral("ﾌﾟﾛｸﾞﾗﾑｽﾄﾘｰﾑ");
    case Stream_Kind::Transport: return QStringLiteral("ﾄﾗﾝｽﾎﾟｰﾄｽﾄﾘｰﾑ");
    case Stream_Kind::Elementary: return QStringLiteral("ｴﾚﾒﾝﾀﾘｽﾄﾘｰﾑ");
    case Stream_Kind::None: break;
    }
    return QStringLiteral("MPEG ではありません");
}

QString Size_Text(const Stream_Params& p)
{
    return QStringLiteral("%1×%2").arg(p.width).arg(p.height);
}

std::optional<Param_Difference> First_Difference(const Stream_Params& first, const Stream_Params& other)
{
    const auto version = [](int v) { return QStringLiteral("MPEG-%1").arg(v); };
    const auto rate = [](double r) { return Number_Text(r) + QStringLiteral(" fps"); };
    if (first.kind != other.kind)
        return Param_Difference{QStringLiteral("ｽﾄﾘｰﾑ形式"), Kind_Name(first.kind), Kind_Name(other.kind)};
    if (first.mpegVersion && other.mpegVersion && first.mpegVersion != other.mpegVersion)
        return Param_Difference{QStringLiteral("MPEG規格"), version(first.mpegVersion), version(other.mpegVersion)};
    if (first.width && other.width && (first.width != other.width || first.height != other.height))
        return Param_Difference{QStringLiteral("画面ｻｲｽﾞ"), Size_Text(first), Size_Text(other)};
    if (first.frameRate > 0 && other.frameRate > 0 && std::abs(first.frameRate - other.frameRate) > 1e-3)
        return Param_Difference{QStringLiteral("ﾌﾚｰﾑﾚｰﾄ"), rate(first.frameRate), rate(other.frameRate)};
    if (first.audioKnown && other.audioKnown && first.audio != other.audio)
        return Param_Difference{QStringLiteral("音声"), Audio_Text(first.audio), Audio_Text(other.audio)};
    return std::nullopt;
}

std::optional<Unlike_Input> Find_Unlike_Input(const QStringList& inputs)
{
    std::optional<Stream_Params> first;
    QString firstPath;
    for (const QString& path : inputs) {
        const Stream_Params p = Read_Stream_Params(path);
        if (p.kind == Stream_Kind::None)
            continue;
        if (!first) {
            first = p;
            firstPath = path;
        } else if (const auto d = First_Difference(*first, p)) {
            return Unlike_Input{firstPath, path, *d};
        }
    }
    return std::nullopt;
}

QString Unlike_Question(const Unlike_Input& u)
{
    return QStringLiteral("最初のﾌｧｲﾙと形式が違うﾌｧｲﾙがあります！\n最初のﾌｧｲﾙ: %1\n違うﾌｧｲﾙ: %2\n%3: %4 と %5\n\n"
                          "結合したﾌｧｲﾙは正しく再生できないことがあります。このまま結合しますか？")
        .arg(u.first, u.other, u.difference.what, u.difference.first, u.difference.other);
}

bool Join_Anyway(const std::optional<Unlike_Input>& unlike, Prompter& prompter)
{
    return !unlike || prompter.Message(Unlike_Question(*unlike), Msg_Yes_No | Msg_Exclamation) == Answer_Yes;
}

QString Unchanged_Inputs_Message(const QStringList& paths)
{
    return QStringLiteral("次のﾌｧｲﾙはﾀｲﾑｽﾀﾝﾌﾟを読み取れないため、そのまま結合しました！\n") + paths.join(u'\n');
}

}  // namespace pf
