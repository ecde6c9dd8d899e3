// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/mpeg_video_device.h"

#include "mci/mci_errors.h"
#include "playback/mpv_names.h"

#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace pf {

std::uint32_t Mpeg_Video_Device::Set(const Mci_Command& command)
{
    for (const Mci_Flag& f : command.flags) {
        std::uint32_t code = MCI_OK;
        if (f.key == "time format") {
            if (f.word == "frames" && Timeline().frameRate <= 0)
                return MCIERR_BAD_TIME_FORMAT;
            framesFormat_ = f.word == "frames";
        } else if (f.key.starts_with("audio")) {
            const bool on = f.word == "on";
            if (f.key != "audio right")
                audioLeft_ = on;
            if (f.key != "audio left")
                audioRight_ = on;
            code = Apply_Audio();
        } else if (f.key == "speed") {
            const qint64 n = f.number[0];
            if (n != 0 && !In_Range(n, 10, 100000))
                return MCIERR_OUTOFRANGE;
            speed_ = n;
            // 0 asks for the greatest speed the player has.
            code = Mci_Code(session_->Set_Double(mpv::Speed, n == 0 ? 100.0 : double(n) / 1000.0));
        } else if (f.key == "video") {
            video_ = f.word == "on";
            code = Mci_Code(session_->Set_Text(mpv::Video_Track, video_ ? "auto" : "no"));
        }
        if (code != MCI_OK)
            return code;
    }
    return MCI_OK;
}

std::uint32_t Mpeg_Video_Device::Set_Audio(const Mci_Command& command)
{
    const Mci_Flag& f = command.flags.front();
    if (!In_Range(f.number[0], 0, 1000))
        return MCIERR_OUTOFRANGE;
    if (f.key != "right volume to")
        volumeLeft_ = f.number[0];
    if (f.key != "left volume to")
        volumeRight_ = f.number[0];
    return Apply_Audio();
}

std::uint32_t Mpeg_Video_Device::Apply_Audio()
{
    const double left = audioLeft_ ? double(volumeLeft_) / 1000.0 : 0.0;
    const double right = audioRight_ ? double(volumeRight_) / 1000.0 : 0.0;
    QByteArray filter;
    if (left != right)
        filter = "format=channels=stereo,lavfi=[pan=stereo|c0=" + QByteArray::number(left, 'f', 3)
            + "*c0|c1=" + QByteArray::number(right, 'f', 3) + "*c1]";
    int code = session_->Set_Text(mpv::Audio_Filter, filter);
    if (code >= 0)
        code = session_->Set_Double(mpv::Volume, 100.0 * (left == right ? left : 1.0));
    return Mci_Code(code);
}

std::uint32_t Mpeg_Video_Device::Status(const Mci_Command& command, Mci_Reply& reply)
{
    const std::string& item = command.flags.front().key;
    const QSize window = windowRect_.isEmpty() ? movieSize_ : windowRect_.size();
    if (item == "length") {
        Take_Refined();
        // From now on positions are given on this length's scale.
        (Frames() ? reportedFrames_ : reportedMs_)
            = std::llround(Frames() ? Timeline().Total_Frames() : Length() * 1000);
        reply = Mci_Reply::Integer(To_Units(Length()));
    } else if (item == "position") {
        const double pos = Position();
        reply = Mci_Reply::Integer(atEnd_ ? To_Units(Length()) : std::min(To_Units(pos), To_Units(Length())));
    } else if (item == "mode") {
        Position();
        reply = Mci_Reply::Text(atEnd_ || mode_ == Mode::Stopped ? "stopped"
                                    : mode_ == Mode::Paused      ? "paused"
                                                                 : "playing");
    } else if (item == "time format") {
        reply = Mci_Reply::Text(Frames() ? "frames" : "milliseconds");
    } else if (item == "ready") {
        reply = Mci_Reply::Text("true");
    } else if (item.ends_with("volume")) {
        reply = Mci_Reply::Integer(item == "left volume"        ? volumeLeft_
                                       : item == "right volume" ? volumeRight_
                                                                : (volumeLeft_ + volumeRight_) / 2);
    } else if (item == "speed") {
        reply = Mci_Reply::Integer(speed_);
    } else if (item == "destination") {
        reply = Mci_Reply::Rectangle(0, 0, window.width(), window.height());
    } else if (item == "source") {
        reply = Mci_Reply::Rectangle(0, 0, movieSize_.width(), movieSize_.height());
    } else {
        return MCIERR_UNSUPPORTED_FUNCTION;  // "format tag" belongs to wave audio devices
    }
    return MCI_OK;
}

std::uint32_t Mpeg_Video_Device::Put(const Mci_Command& command)
{
    const Mci_Flag& f = command.flags.front();
    if (f.key == "destination at")
        return MCIERR_UNSUPPORTED_FUNCTION;  // the picture always fills its window
    const qint64 w = f.number[2], h = f.number[3];
    if (w < 0 || h < 0)
        return MCIERR_OUTOFRANGE;
    // A width or height of 0 keeps the movie's own size, as the platform's devices do.
    windowRect_
        = QRect(f.number[0], f.number[1], w > 0 ? int(w) : movieSize_.width(), h > 0 ? int(h) : movieSize_.height());
    if (picture_)
        picture_->setGeometry(windowRect_);
    return MCI_OK;
}

std::uint32_t Mpeg_Video_Device::Info(const Mci_Command& command, Mci_Reply& reply)
{
    const std::string& item = command.flags.front().key;
    if (item == "product")
        reply = Mci_Reply::Text("MPEG Video (libmpv)");
    else if (item == "name")
        reply = Mci_Reply::Text(QFileInfo(QFile::decodeName(path_)).fileName().toUtf8());
    else if (item == "copyright")
        reply = Mci_Reply::Text(session_->Get_Text(mpv::Copyright).value_or(QByteArray()));
    else
        reply = Mci_Reply::Text(path_);
    return MCI_OK;
}

}  // namespace pf
