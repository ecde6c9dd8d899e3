// SPDX-License-Identifier: GPL-3.0-or-later
#include "mci/mci_api.h"

#include "mci/mci_errors.h"
#include "mci/mci_parser.h"
#include "mci/mci_service.h"
#include "util/log.h"

#include <QList>

#include <cmath>
#include <limits>
#include <vector>

namespace pf {
namespace {

class Service_Link : public Mci_Port {
public:
    std::uint32_t Send(const QByteArray& command, char* reply, std::uint32_t room) override
    {
        const std::uint32_t code = Mci_Service::Instance().Send_String(command, reply, room);
        if (code == MCI_OK) {
            qCInfo(Log_Mci).noquote() << command << "->" << (reply && room ? reply : "");
        } else {
            const std::string_view text = Mci_Error_Text(code);
            qCWarning(Log_Mci).noquote() << command << "->" << code
                                         << QString::fromUtf8(text.data(), qsizetype(text.size()));
        }
        return code;
    }
    bool Error_String(std::uint32_t code, char* text, std::uint32_t room) override
    {
        return Mci_Service::Get_Error_String(code, text, room);
    }
};

QString N(qint64 v)
{
    return QString::number(v);
}

// "left volume to " / "right volume to " / "volume to " style phrases by channel.
QString Channel_Phrase(qint16 channel, const QString& left, const QString& right, const QString& both)
{
    return channel == 0 ? left : channel == 1 ? right : channel == 2 ? both : QString();
}

// A 16-bit integer written as a decimal number (a fraction rounds half to even), if it is one.
bool Read_Short(const QByteArray& text, qint32& out)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || text.contains('e') || text.contains('E') || std::nearbyint(v) < std::numeric_limits<qint16>::min()
        || std::nearbyint(v) > std::numeric_limits<qint16>::max())
        return false;
    out = Round_Even(v);
    return true;
}

}  // namespace

Mci_Port& Service_Port()
{
    static Service_Link link;
    return link;
}

double Leading_Number(const QByteArray& reply)
{
    qsizetype i = 0;
    while (i < reply.size() && reply[i] == ' ')
        ++i;
    const qsizetype start = i;
    if (i < reply.size() && (reply[i] == '-' || reply[i] == '+'))
        ++i;
    const auto digits = [&] {
        while (i < reply.size() && reply[i] >= '0' && reply[i] <= '9')
            ++i;
    };
    digits();
    if (i < reply.size() && reply[i] == '.') {
        ++i;
        digits();
    }
    bool ok = false;
    const double v = reply.mid(start, i - start).toDouble(&ok);
    return ok ? v : 0.0;
}

qint32 Round_Even(double value)
{
    if (std::isnan(value))
        return 0;
    const double r = std::nearbyint(value);  // the default rounding mode sends halves to even
    if (r >= double(std::numeric_limits<qint32>::max()))
        return std::numeric_limits<qint32>::max();
    if (r <= double(std::numeric_limits<qint32>::min()))
        return std::numeric_limits<qint32>::min();
    return qint32(r);
}

clsMCIApi::clsMCIApi(Mci_Port& port) : port_(port) {}

void clsMCIApi::Record(std::uint32_t code)
{
    errorNumber_ = qint32(code);
    std::vector<char> text(255, '\0');
    port_.Error_String(code, text.data(), 255);
    errorDescription_ = QString::fromUtf8(text.data());
}

bool clsMCIApi::Send(const QString& command, QByteArray* reply, int bufferSize, std::uint32_t room)
{
    std::vector<char> buffer(size_t(bufferSize) + 1, '\0');
    const std::uint32_t code = port_.Send(command.toUtf8(), reply ? buffer.data() : nullptr, reply ? room : 0);
    if (reply)
        *reply = QByteArray(buffer.data());
    if (code != 0)
        Record(code);
    return code == 0;
}

QString clsMCIApi::Text_Query(const QString& command, int bufferSize, std::uint32_t room)
{
    QByteArray reply;
    return Send(command, &reply, bufferSize, room) ? QString::fromUtf8(reply) : Error_Reply;
}

qint32 clsMCIApi::Number_Query(const QString& command)
{
    QByteArray reply;
    return Send(command, &reply, 255, 254) ? Round_Even(Leading_Number(reply)) : -1;
}

int clsMCIApi::OpenDevice(const QString& DeviceType, const QString& DeviceAlias, const QString& filename,
                          qint32 ParentHWnd, const QString& WindowStyle)
{
    // Quoted, so that a path with blanks or quotation marks stays one word.
    const QString element = QString::fromStdString(Mci_Quoted(filename.toStdString()));
    if (!Send("open " + element + " type " + DeviceType + " alias " + DeviceAlias + " parent " + N(ParentHWnd)
              + " style " + WindowStyle))
        return 1;
    cmdTimeFormat(DeviceAlias, QStringLiteral("ms"));
    totalTime_ = cmdGetLength(DeviceAlias);
    cmdTimeFormat(DeviceAlias, QStringLiteral("frames"));
    totalFrames_ = cmdGetLength(DeviceAlias);
    if (totalTime_ == 0)
        throw Mci_Arithmetic_Error();
    framesPerSec_ = Round_Even(double(totalFrames_) / (double(totalTime_) / 1000.0));
    return 0;
}

int clsMCIApi::CloseDevice(const QString& DeviceAlias)
{
    return Result(Send("close " + DeviceAlias));
}

int clsMCIApi::cmdPlay(const QString& DeviceAlias, qint16 FromPosition, qint16 ToPosition, qint16 Fullscreen)
{
    QString command = "play " + DeviceAlias;
    if (FromPosition != -1)
        command += " from " + N(FromPosition);
    if (ToPosition != -1)
        command += " to " + N(ToPosition);
    if (Fullscreen != 0)
        command += QStringLiteral(" fullscreen");
    return Result(Send(command));
}

int clsMCIApi::cmdStop(const QString& DeviceAlias)
{
    return Result(Send("stop " + DeviceAlias));
}

int clsMCIApi::cmdPause(const QString& DeviceAlias)
{
    return Result(Send("pause " + DeviceAlias));
}

int clsMCIApi::cmdChannels(const QString& DeviceAlias, qint16 Channel, qint16 Value)
{
    return Result(Send("set " + DeviceAlias + " audio " + Channel_Phrase(Channel, "left ", "right ", QString())
                       + (Value != 0 ? "on" : "off")));
}

int clsMCIApi::cmdRate(const QString& DeviceAlias, qint16 Rate)
{
    return Result(Send("set " + DeviceAlias + " speed " + N(Rate)));
}

int clsMCIApi::cmdTimeFormat(const QString& DeviceAlias, const QString& TimeFormat)
{
    return Result(Send("set " + DeviceAlias + " time format " + TimeFormat));
}

int clsMCIApi::cmdVideoOutput(const QString& DeviceAlias, qint16 VideoOutput)
{
    return Result(Send("set " + DeviceAlias + (VideoOutput != 0 ? " video on" : " video off")));
}

int clsMCIApi::cmdConfigure(const QString& DeviceAlias)
{
    return Result(Send("configure " + DeviceAlias));
}

QString clsMCIApi::cmdGetCopyRight(const QString& DeviceAlias)
{
    return Text_Query("info " + DeviceAlias + " copyright", 255, 255);
}

QString clsMCIApi::cmdGetName(const QString& DeviceAlias)
{
    return Text_Query("info " + DeviceAlias + " name", 255, 255);
}

QString clsMCIApi::cmdGetProduct(const QString& DeviceAlias)
{
    return Text_Query("info " + DeviceAlias + " product", 32, 32);
}

int clsMCIApi::cmdResize(const QString& DeviceAlias, qint16 x1, qint16 y1, qint16 x2, qint16 y2)
{
    return Result(Send("put " + DeviceAlias + " window at " + N(x1) + " " + N(y1) + " " + N(x2) + " " + N(y2)));
}

int clsMCIApi::cmdResizeClient(const QString& DeviceAlias, qint16 x1, qint16 y1, qint16 x2, qint16 y2)
{
    return Result(Send("put " + DeviceAlias + " window client at " + N(x1) + " " + N(y1) + " " + N(x2) + " " + N(y2)));
}

int clsMCIApi::cmdToStart(const QString& DeviceAlias)
{
    return Result(Send("seek " + DeviceAlias + " to start"));
}

int clsMCIApi::cmdToEnd(const QString& DeviceAlias)
{
    return Result(Send("seek " + DeviceAlias + " to end"));
}

int clsMCIApi::cmdSeek(const QString& DeviceAlias, qint32 SeekTo)
{
    const qint64 ms = qint64{SeekTo} * 1000;
    if (ms > std::numeric_limits<qint32>::max() || ms < std::numeric_limits<qint32>::min()) {
        // The position does not fit the command's 32-bit number: refuse before sending.
        Record(MCIERR_OUTOFRANGE);
        return 1;
    }
    return Result(Send("seek " + DeviceAlias + " to " + N(ms)));
}

int clsMCIApi::cmdVolume(const QString& DeviceAlias, qint16 Channel, qint16 Factor)
{
    return Result(Send("setaudio " + DeviceAlias + " "
                       + Channel_Phrase(Channel, "left volume to ", "right volume to ", "volume to ") + N(Factor)));
}

int clsMCIApi::cmdGetVolume(const QString& DeviceAlias, qint16 Channel, qint16& Volume)
{
    QByteArray reply;
    const bool ok
        = Send("status " + DeviceAlias + " " + Channel_Phrase(Channel, "left volume", "right volume", "volume"), &reply,
               255, 254);
    Volume = qint16(std::clamp<qint32>(Round_Even(Leading_Number(reply)), std::numeric_limits<qint16>::min(),
                                       std::numeric_limits<qint16>::max()));
    return Result(ok);
}

qint32 clsMCIApi::cmdGetPosition(const QString& DeviceAlias)
{
    return Number_Query("status " + DeviceAlias + " position");
}

QString clsMCIApi::cmdGetFormatTag(const QString& DeviceAlias)
{
    return Text_Query("status " + DeviceAlias + " format tag", 255, 254);
}

QString clsMCIApi::cmdGetTimeFormat(const QString& DeviceAlias)
{
    return Text_Query("status " + DeviceAlias + " time format", 255, 254);
}

qint32 clsMCIApi::cmdGetLength(const QString& DeviceAlias)
{
    return Number_Query("status " + DeviceAlias + " length");
}

QString clsMCIApi::cmdGetSize(const QString& DeviceAlias)
{
    QByteArray reply;
    if (!Send("where " + DeviceAlias + " destination", &reply, 255, 254))
        return Error_Reply;
    const QList<QByteArray> parts = reply.split(' ');
    qint32 v[4] = {};
    for (int i = 0; i < 4; ++i)
        if (parts.size() < 4 || !Read_Short(parts[i], v[i])) {
            // A reply that is not four numbers has no size: fail like any other query.
            Record(MCIERR_PARSER_INTERNAL);
            return Error_Reply;
        }
    return N(v[2] - v[0]) + " " + N(v[3] - v[1]);
}

QString clsMCIApi::cmdGetStatus(const QString& DeviceAlias)
{
    return Text_Query("status " + DeviceAlias + " mode", 255, 254);
}

}  // namespace pf
