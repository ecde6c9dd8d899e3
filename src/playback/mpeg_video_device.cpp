// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/mpeg_video_device.h"

#include "mci/mci_errors.h"
#include "mci/mci_service.h"
#include "playback/mpv_names.h"

#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace pf {

// The one place where the player's results become media-control codes.
std::uint32_t Mpeg_Video_Device::Mci_Code(int playerCode)
{
    if (playerCode >= 0)
        return MCI_OK;
    switch (playerCode) {
    case Mpv_Session::No_Answer_Code: return MCIERR_NO_ANSWER;
    case Mpv_Session::Aborted_Code: return MCIERR_DEVICE_NOT_READY;
    default: break;
    }
    return Mpv_Session::Is_Unplayable(playerCode) ? MCIERR_INVALID_FILE : MCIERR_DRIVER_INTERNAL;
}

void Register_Mpeg_Driver(const Mpeg_Driver_Options& options)
{
    Mci_Service::Instance().Register_Device_Type(QStringLiteral("MPEGVideo"),
                                                 {"mpg", "mpeg", "mpe", "m1v", "m2v", "vob"},
                                                 [options](const Mci_Open_Request& request, std::uint32_t& error) {
                                                     return Mpeg_Video_Device::Open(request, options, error);
                                                 });
}

std::unique_ptr<Mci_Device> Mpeg_Video_Device::Open(const Mci_Open_Request& request, const Mpeg_Driver_Options& options,
                                                    std::uint32_t& error)
{
    std::unique_ptr<Mpeg_Video_Device> device(new Mpeg_Video_Device);
    error = device->Load(request, options);
    if (error != MCI_OK)
        return nullptr;
    return device;
}

Mpeg_Video_Device::~Mpeg_Video_Device()
{
    // mpv must stop drawing before its window goes. When its core cannot end yet (a stalled
    // source), the picture leaves the caller's window, which may go first, and lives on hidden
    // until the core has ended: the session deletes it then.
    QWindow* picture = picture_.get();
    if (session_ && !session_->Terminate(picture) && picture) {
        picture_.release()->hide();
        picture->setParent(nullptr);
    }
    session_.reset();
    picture_.reset();
    foreignParent_.reset();
}

std::uint32_t Mpeg_Video_Device::Load(const Mci_Open_Request& request, const Mpeg_Driver_Options& options)
{
    path_ = request.element;
    Mpv_Session::Options video = Mpv_Session::Video_Options(request.parent);
    if (request.parent != 0 && !video.isEmpty() && video.first().first == mpv::Wid) {
        // Draw into a child of the caller's window, so "put window" can place the picture.
        foreignParent_.reset(QWindow::fromWinId(WId(request.parent)));
        picture_ = std::make_unique<QWindow>(foreignParent_.get());
        picture_->setGeometry(0, 0, 1, 1);
        picture_->show();
        video = Mpv_Session::Video_Options(picture_->winId());
    }
    // MPEG program streams seek to the key frame after the target; start decoding earlier.
    session_ = std::make_unique<Mpv_Session>(Mpv_Session::Player_Options(video, options.audioOutput,
                                                                         {{mpv::Keep_Open, "yes"},
                                                                          {mpv::Pause, "yes"},
                                                                          {mpv::Hr_Seek, "yes"},
                                                                          {mpv::Hr_Seek_Demuxer_Offset, "1.5"}}),
                                             request.token);
    if (!session_->Is_Ready())
        return MCIERR_CANNOT_LOAD_DRIVER;
    // The disk may be slow (a sleeping share): the file is looked at beside the event loop.
    struct Probe {
        std::uint32_t error = MCI_OK;
        Stream_Timeline timeline;
    };
    const auto probe = std::make_shared<Probe>();
    const QString path = QFile::decodeName(path_);
    const int looked = session_->Run_Aside(
        [probe, path, walk = !options.sampleFirst] {
            const QFileInfo file(path);
            if (!file.isFile())
                probe->error = MCIERR_FILE_NOT_FOUND;
            else if (!file.isReadable())
                probe->error = MCIERR_FILE_READ;
            else
                probe->timeline = Scan_Stream(path, walk);
        },
        Timeline_Player::Load_Timeout_Ms);
    if (looked < 0)
        return Mci_Code(looked);
    if (probe->error != MCI_OK)
        return probe->error;
    connect(session_.get(), &Mpv_Session::eventArrived, this, &Mpeg_Video_Device::On_Event);
    session_->Observe(mpv::Time_Pos, Mpv_Session::Format::Double);
    session_->Observe(mpv::Eof_Reached, Mpv_Session::Format::Flag);
    const Stream_Timeline& timeline = probe->timeline;
    player_ = std::make_unique<Timeline_Player>(*session_, path_);
    if (const int code = player_->Open(timeline); code < 0)
        return Mci_Code(session_->Aborted() ? Mpv_Session::Aborted_Code : code);
    player_->Set_Fallback(session_->Get_Double(mpv::Duration).value_or(0),
                          session_->Get_Double(mpv::Container_Fps).value_or(0));
    if (!timeline.exact && !timeline.Empty())
        player_->Refine_In_Background(path);

    movieSize_ = QSize(int(session_->Get_Int(mpv::Width).value_or(0)), int(session_->Get_Int(mpv::Height).value_or(0)));
    reportedMs_ = std::llround(Length() * 1000);
    reportedFrames_ = std::llround(Timeline().Total_Frames());
    if (picture_)
        picture_->setGeometry(QRect(QPoint(0, 0), movieSize_.isEmpty() ? QSize(1, 1) : movieSize_));
    return MCI_OK;
}

void Mpeg_Video_Device::On_Event(const Mpv_Event& event)
{
    if (event.kind != Mpv_Event::Kind::Property)
        return;
    if (event.property == mpv::Eof_Reached && event.value.toBool()) {
        On_End_Reached();
    } else if (event.property == mpv::Time_Pos && event.value.isValid()) {
        Update_Position();
        player_->Top_Up();
    }
}

void Mpeg_Video_Device::On_End_Reached()
{
    if (atEnd_)
        return;
    if (!player_->At_Last_Entry()) {
        // The player ran past what was queued, not past the file: go on with the next part.
        player_->Skip_Starved();
        if (mode_ == Mode::Playing)
            session_->Set_Flag(mpv::Pause, false);
        return;
    }
    atEnd_ = true;
    mode_ = Mode::Stopped;
    held_.reset();
    playTo_.reset();
    position_ = Length();
}

void Mpeg_Video_Device::Update_Position()
{
    const std::optional<double> playerTime = atEnd_ || held_ ? std::nullopt : player_->Player_Time();
    if (atEnd_)
        position_ = Length();
    else if (held_)
        position_ = *held_;
    else if (playerTime)  // never back, unless a seek says so
        position_ = std::max(position_, std::min(Length(), *playerTime));
    if (playTo_ && mode_ == Mode::Playing && position_ >= *playTo_) {
        held_ = position_ = *playTo_;
        playTo_.reset();
        Pause(true, Mode::Stopped);
    }
}

std::optional<double> Mpeg_Video_Device::Shown_Position()
{
    return player_->Player_Time();
}

void Mpeg_Video_Device::Take_Refined()
{
    if (!player_->Take_Refined(position_))
        return;
    if (atEnd_)
        position_ = Length();
    if (held_)
        held_ = position_;
}

double Mpeg_Video_Device::Position()
{
    Take_Refined();
    if (!atEnd_ && session_->Get_Flag(mpv::Eof_Reached).value_or(false))
        On_End_Reached();
    Update_Position();
    return position_;
}

qint64 Mpeg_Video_Device::To_Units(double seconds) const
{
    if (Frames()) {
        const double total = Timeline().Total_Frames();
        return total > 0 ? std::llround(Timeline().To_Frames(seconds) * double(reportedFrames_) / total) : 0;
    }
    const double total = Length();
    return total > 0 ? std::llround(seconds / total * double(reportedMs_)) : std::llround(seconds * 1000);
}

double Mpeg_Video_Device::From_Units(qint64 units) const
{
    if (Frames())
        return reportedFrames_ > 0
            ? Timeline().From_Frames(double(units) / double(reportedFrames_) * Timeline().Total_Frames())
            : 0.0;
    return reportedMs_ > 0 ? double(units) / double(reportedMs_) * Length() : double(units) / 1000.0;
}

std::uint32_t Mpeg_Video_Device::Pause(bool paused, Mode mode)
{
    mode_ = mode;
    return Mci_Code(session_->Set_Flag(mpv::Pause, paused));
}

std::uint32_t Mpeg_Video_Device::Execute(const Mci_Command& command, Mci_Reply& reply)
{
    switch (command.verb) {
    case Mci_Verb::Play: return Play(command);
    case Mci_Verb::Stop: return Pause(true, Mode::Stopped);
    case Mci_Verb::Pause: return Pause(true, atEnd_ ? Mode::Stopped : Mode::Paused);
    case Mci_Verb::Resume: return mode_ == Mode::Paused ? Pause(false, Mode::Playing) : MCI_OK;
    case Mci_Verb::Seek: return Seek(command);
    case Mci_Verb::Set: return Set(command);
    case Mci_Verb::Setaudio: return Set_Audio(command);
    case Mci_Verb::Status:
    case Mci_Verb::Where: return Status(command, reply);
    case Mci_Verb::Put: return Put(command);
    case Mci_Verb::Info: return Info(command, reply);
    case Mci_Verb::Configure:  // there is no settings dialog of the player here
    case Mci_Verb::Open:
    case Mci_Verb::Close: break;
    }
    return MCIERR_UNSUPPORTED_FUNCTION;
}

std::uint32_t Mpeg_Video_Device::Play(const Mci_Command& command)
{
    Take_Refined();
    const qint64 length = To_Units(Length());
    const Mci_Flag* from = command.Find("from");
    const Mci_Flag* to = command.Find("to");
    if ((from && !In_Range(from->number[0], 0, length)) || (to && !In_Range(to->number[0], 0, length))
        || (from && to && to->number[0] < from->number[0]))
        return MCIERR_OUTOFRANGE;
    if (command.Find("fullscreen")) {
        // Only a picture in a window of its own can fill the screen.
        if (picture_ || Mpv_Session::Video_Options(0).contains({mpv::Vo, "null"}))
            return MCIERR_UNSUPPORTED_FUNCTION;
        if (const std::uint32_t code = Mci_Code(session_->Set_Flag(mpv::Fullscreen, true)); code != MCI_OK)
            return code;
    }
    if (from) {
        if (const std::uint32_t code = Seek_To(From_Units(from->number[0])); code != MCI_OK)
            return code;
    }
    if (atEnd_)
        return MCI_OK;  // nothing is left to play
    if (to)
        playTo_ = From_Units(to->number[0]);
    held_.reset();
    return Pause(false, Mode::Playing);
}

std::uint32_t Mpeg_Video_Device::Seek(const Mci_Command& command)
{
    const Mci_Flag* to = command.Find("to");
    if (to->word == "end") {
        const std::uint32_t code = Pause(true, Mode::Stopped);
        On_Event({Mpv_Event::Kind::Property, mpv::Eof_Reached, true});
        return code;
    }
    Take_Refined();
    if (to->hasNumber && !In_Range(to->number[0], 0, To_Units(Length())))
        return MCIERR_OUTOFRANGE;
    return Seek_To(to->hasNumber ? From_Units(to->number[0]) : 0.0);
}

std::uint32_t Mpeg_Video_Device::Seek_To(double seconds)
{
    if (const std::uint32_t code = Pause(true, Mode::Stopped); code != MCI_OK)
        return code;
    atEnd_ = false;
    playTo_.reset();
    held_ = position_ = seconds;
    return Mci_Code(player_->Seek(seconds));
}

}  // namespace pf
