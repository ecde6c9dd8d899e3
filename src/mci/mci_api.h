// SPDX-License-Identifier: GPL-3.0-or-later
// clsMCIApi turns method calls into media-control command strings for a device alias and
// sends them through an Mci_Port (by default the process's Mci_Service). It keeps the last
// failure (ErrorNumber, ErrorDescription) and the length of the last file opened.
// One object per video window; it opens and closes devices only when asked.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <stdexcept>

namespace pf {

// The two calls of the platform's media-control interface the class needs.
class Mci_Port {
public:
    virtual ~Mci_Port() = default;
    // Sends `command` (UTF-8); the reply goes to `reply`, at most `room` bytes with its NUL.
    virtual std::uint32_t Send(const QByteArray& command, char* reply, std::uint32_t room) = 0;
    // Writes the description of `code` into `text` (at most `room` bytes with its NUL).
    virtual bool Error_String(std::uint32_t code, char* text, std::uint32_t room) = 0;
};

// What OpenDevice throws for a file of 0 ms, whose frame rate has no divisor: the device stays
// open (in frames) and the lengths just read are kept.
class Mci_Arithmetic_Error : public std::domain_error {
public:
    Mci_Arithmetic_Error() : std::domain_error("frame rate of a file without length") {}
};

// The port to this process's Mci_Service.
Mci_Port& Service_Port();

// Reads the leading decimal number of `reply` (sign, digits, fraction; none reads as 0).
double Leading_Number(const QByteArray& reply);
// Rounds to the nearest integer, halves to the even neighbour, clamped into 32 bits.
qint32 Round_Even(double value);

class clsMCIApi {
public:
    explicit clsMCIApi(Mci_Port& port = Service_Port());

    QString ErrorDescription() const { return errorDescription_; }
    qint32 ErrorNumber() const { return errorNumber_; }
    qint32 TotalTime() const { return totalTime_; }
    qint32 TotalFrames() const { return totalFrames_; }
    qint32 FramesPerSec() const { return framesPerSec_; }

    int OpenDevice(const QString& DeviceType, const QString& DeviceAlias, const QString& filename, qint32 ParentHWnd,
                   const QString& WindowStyle);
    int CloseDevice(const QString& DeviceAlias);
    int cmdPlay(const QString& DeviceAlias, qint16 FromPosition, qint16 ToPosition, qint16 Fullscreen);
    int cmdStop(const QString& DeviceAlias);
    int cmdPause(const QString& DeviceAlias);
    int cmdChannels(const QString& DeviceAlias, qint16 Channel, qint16 Value);
    int cmdRate(const QString& DeviceAlias, qint16 Rate);
    int cmdTimeFormat(const QString& DeviceAlias, const QString& TimeFormat);
    int cmdVideoOutput(const QString& DeviceAlias, qint16 VideoOutput);
    int cmdConfigure(const QString& DeviceAlias);
    QString cmdGetCopyRight(const QString& DeviceAlias);
    QString cmdGetName(const QString& DeviceAlias);
    QString cmdGetProduct(const QString& DeviceAlias);
    int cmdResize(const QString& DeviceAlias, qint16 x1, qint16 y1, qint16 x2, qint16 y2);
    int cmdResizeClient(const QString& DeviceAlias, qint16 x1, qint16 y1, qint16 x2, qint16 y2);
    int cmdToStart(const QString& DeviceAlias);
    int cmdToEnd(const QString& DeviceAlias);
    int cmdSeek(const QString& DeviceAlias, qint32 SeekTo);
    int cmdVolume(const QString& DeviceAlias, qint16 Channel, qint16 Factor);
    int cmdGetVolume(const QString& DeviceAlias, qint16 Channel, qint16& Volume);
    qint32 cmdGetPosition(const QString& DeviceAlias);
    QString cmdGetFormatTag(const QString& DeviceAlias);
    QString cmdGetTimeFormat(const QString& DeviceAlias);
    qint32 cmdGetLength(const QString& DeviceAlias);
    QString cmdGetSize(const QString& DeviceAlias);
    QString cmdGetStatus(const QString& DeviceAlias);

    static inline const QString Error_Reply = QStringLiteral("MCIClass_ERROR");

private:
    // Sends `command`; on failure records it and returns false. `reply` gets the text before
    // the first NUL of a `bufferSize` buffer of which the device may use `room` bytes.
    bool Send(const QString& command, QByteArray* reply = nullptr, int bufferSize = 255, std::uint32_t room = 0);
    void Record(std::uint32_t code);
    QString Text_Query(const QString& command, int bufferSize, std::uint32_t room);
    qint32 Number_Query(const QString& command);
    int Result(bool ok) const { return ok ? 0 : 1; }

    Mci_Port& port_;
    QString errorDescription_;
    qint32 errorNumber_ = 0;
    qint32 totalTime_ = 0;
    qint32 totalFrames_ = 0;
    qint32 framesPerSec_ = 0;
};

}  // namespace pf
