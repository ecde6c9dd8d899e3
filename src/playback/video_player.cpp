// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/video_player.h"

#include "mci/mci_errors.h"
#include "util/prompter.h"

#include <algorithm>
#include <limits>
#include <memory>

namespace pf {

namespace {

// One number of the size reply, as a 16-bit integer.
std::optional<int> Size_Number(const QString& text)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < std::numeric_limits<qint16>::min() || v > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return v;
}

qint16 Short(int v)
{
    return qint16(std::clamp<int>(v, std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max()));
}

}  // namespace

std::optional<QString> Progress_Text(qint32 position, qint32 length)
{
    if (length <= 0)
        return std::nullopt;
    const qint64 percent = qRound64(double(position) * 100.0 / double(length));
    return (percent == 0 ? QString() : QString::number(percent)) + u'%';
}

Video_Player::Video_Player(const Settings& settings, const QString& file, Prompter& prompter, Mci_Port& port,
                           QObject* parent)
    : Player_Control(file, parent), settings_(settings), prompter_(prompter), port_(port)
{
    timer_.setInterval(Tick_Ms);
    connect(&timer_, &QTimer::timeout, this, &Video_Player::Tick);
}

Video_Player::~Video_Player() = default;

bool Video_Player::Open_Movie(qint32 parent, QSize screen, QSize& picture)
{
    // The open may wait for a slow drive: Esc may close the device meanwhile, and the open then
    // fails like any other (the closed window shows no failure).
    if (!mci_)
        mci_ = std::make_unique<clsMCIApi>(port_);
    opened_ = false;
    for (int attempt = 1;; ++attempt) {
        bool ok = false;
        try {
            ok = mci_->OpenDevice(Device_Type, Alias, File(), parent, Child_Style) == 0;
        } catch (const Mci_Arithmetic_Error&) {
            // A file of 0 ms is open but has nothing to size the picture by.
            opened_ = true;
            return true;
        }
        if (ok)
            break;
        // An alias still open from an earlier use is closed; a device that never lets go
        // fails like any other open.
        if (mci_->ErrorNumber() != MCIERR_DUPLICATE_ALIAS || attempt == Open_Attempts) {
            Fail(mci_->ErrorDescription());
            return false;
        }
        mci_->CloseDevice(Alias);
    }
    opened_ = true;
    mci_->cmdTimeFormat(Alias, QStringLiteral("ms"));
    const QString size = mci_->cmdGetSize(Alias);
    const qsizetype blank = size.indexOf(u' ');
    const auto width = Size_Number(size.left(blank)), height = Size_Number(size.mid(blank + 1));
    if (blank < 0 || !width || !height)
        return true;  // the picture keeps its size, the video the device's
    const QSize movie(*width, *height);
    if (const auto fit = settings_.Picture_Size()) {
        switch (*fit) {
        case Video_Size::Full_Screen: picture = screen; break;
        case Video_Size::Movie: picture = movie; break;
        case Video_Size::Custom:
            // A custom size of nothing would leave no picture at all.
            picture = settings_.Size_X > 0 && settings_.Size_Y > 0 ? QSize(settings_.Size_X, settings_.Size_Y) : movie;
            break;
        }
    }
    Fit_Movie(picture);
    return true;
}

void Video_Player::Play_Movie()
{
    // A rewind before it may have waited, and the device closed meanwhile: then play fails.
    if (opened_ && mci_->cmdPlay(Alias, -1, -1, 0) == 0)
        timer_.start();
}

void Video_Player::Stop_Movie()
{
    if (mci_)
        mci_->cmdStop(Alias);
    timer_.stop();
}

void Video_Player::Fit_Movie(QSize picture)
{
    if (mci_)
        mci_->cmdResize(Alias, 0, 0, Short(picture.width()), Short(picture.height()));
}

void Video_Player::Rewind_Movie()
{
    if (mci_)
        mci_->cmdToStart(Alias);
}

void Video_Player::Tick()
{
    if (!opened_)
        return;
    const qint32 position = mci_->cmdGetPosition(Alias);
    const qint32 length = mci_->TotalTime();
    if (const auto text = Progress_Text(position, length))
        emit headTextChanged(*text);
    // Exactly at the end; a failed query (-1) is no end even when the length is unknown too.
    if (position < 0 || position != length)
        return;
    Stop_Movie();
    if (settings_.Repeats()) {
        Rewind_Movie();
        Play_Movie();
    } else {
        Natural_End();
    }
}

void Video_Player::Close_Movie()
{
    timer_.stop();
    opened_ = false;
    if (mci_ && mci_->CloseDevice(Alias) != 0 && mci_->ErrorNumber() != MCIERR_INVALID_DEVICE_NAME)
        prompter_.Message(mci_->ErrorDescription(), Msg_Ok);
}

}  // namespace pf
