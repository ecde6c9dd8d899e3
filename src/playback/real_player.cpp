// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/real_player.h"

#include "playback/mpv_names.h"
#include "util/paths.h"
#include "util/safe_file.h"
#include "util/system_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace pf {

namespace {

constexpr qint64 Ram_Limit = qint64(1) << 20;
const QString File_Scheme = QStringLiteral("file://");

bool Has_Scheme(const QString& location)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    return scheme.match(location).hasMatch();
}

const QString Not_Found = QStringLiteral("ﾌｧｲﾙが見つかりません");

QString Read_Failure(File_Status status, int error)
{
    switch (status) {
    case File_Status::Missing: return Not_Found;
    case File_Status::Not_Regular: return QStringLiteral("通常のﾌｧｲﾙではありません");
    case File_Status::Too_Large: return QStringLiteral("ﾘｽﾄが大きすぎます");
    default: return Japanese_System_Error(error);
    }
}

// The player's reason in the user's words where a file simply cannot be played.
QString Play_Failure(int code)
{
    return Mpv_Session::Is_Unplayable(code) ? QStringLiteral("再生できません。壊れているか、対応していない形式です")
                                            : Mpv_Session::Error_Text(code);
}

}  // namespace

QStringList Ram_Entries(const QByteArray& text)
{
    QStringList entries;
    for (const QByteArray& line : text.split('\n')) {
        const QString entry = QString::fromUtf8(line).trimmed();
        if (!entry.isEmpty() && !entry.startsWith(u'#'))
            entries << entry;
    }
    return entries;
}

Real_Location Resolve_Location(const QString& location, const QString& baseFolder)
{
    const QDir base(baseFolder);
    if (location.startsWith(File_Scheme, Qt::CaseInsensitive)) {
        // Lists are written by hand: take the text after the scheme as it is when it names a
        // file, else read it as a URL (percent escapes, "file:///").
        const QString raw = location.mid(File_Scheme.size());
        const QUrl url(location, QUrl::TolerantMode);
        const bool asIs = QFileInfo::exists(base.absoluteFilePath(raw)) || !url.isLocalFile();
        const QString path = asIs ? raw : url.toLocalFile();
        return {QDir::cleanPath(base.absoluteFilePath(path)), {}};
    }
    if (Has_Scheme(location))
        return {{}, location.toUtf8()};
    return {QDir::cleanPath(base.absoluteFilePath(location)), {}};
}

Real_Player::Real_Player(const QByteArray& audioOutput, QObject* parent) : QObject(parent), audio_(audioOutput) {}

Real_Player::~Real_Player() = default;

void Real_Player::Play()
{
    Close();
    index_ = 0;
    const bool local = source_.startsWith(File_Scheme, Qt::CaseInsensitive);
    // The source carries the path unencoded, whatever characters it holds.
    const QString path = local ? source_.mid(File_Scheme.size()) : QString();
    baseFolder_ = local ? QFileInfo(path).absolutePath() : QDir::currentPath();
    entries_ = {local ? path : source_};
    if (local && Extension_Of(path).compare(QLatin1String("ram"), Qt::CaseInsensitive) == 0) {
        const Read_Result list = Read_Regular_File(path, Ram_Limit);
        if (list.status != File_Status::Ok) {
            emit playFailed(path + QStringLiteral(": ") + Read_Failure(list.status, list.error));
            return;
        }
        entries_ = Ram_Entries(list.bytes);
        if (entries_.isEmpty()) {
            emit playFailed(path + QStringLiteral(": ﾘｽﾄに再生する場所がありません"));
            return;
        }
    }
    const Mpv_Session::Options video
        = window_ ? Mpv_Session::Video_Options(window_) : Mpv_Session::Options{{mpv::Vo, "null"}};
    session_ = std::make_unique<Mpv_Session>(Mpv_Session::Player_Options(video, audio_, {{mpv::Keep_Open, "no"}}));
    if (!session_->Is_Ready()) {
        const QString why = session_->Last_Error();
        session_.reset();
        emit playFailed(why);
        return;
    }
    connect(session_.get(), &Mpv_Session::eventArrived, this, &Real_Player::On_Event);
    session_->Observe(mpv::Pause, Mpv_Session::Format::Flag);
    session_->Observe(mpv::Paused_For_Cache, Mpv_Session::Format::Flag);
    session_->Observe(mpv::Time_Pos, Mpv_Session::Format::Double);
    session_->Observe(mpv::Duration, Mpv_Session::Format::Double);
    Start_Entry();
}

void Real_Player::Close()
{
    session_.reset();
}

QString Real_Player::Current_Location() const
{
    return index_ < entries_.size() ? entries_[index_] : source_;
}

void Real_Player::Start_Entry()
{
    if (!session_)
        return;
    loaded_ = paused_ = false;
    elapsed_ = total_ = 0;
    Set_State(Connecting);
    const Real_Location where = Resolve_Location(Current_Location(), baseFolder_);
    if (!where.local.isEmpty() && !QFileInfo(where.local).isFile()) {
        Entry_Failed(QFileInfo::exists(where.local) ? QStringLiteral("ﾌｧｲﾙではありません") : Not_Found);
        return;
    }
    const QByteArray target = where.local.isEmpty() ? where.url : QFile::encodeName(where.local);
    if (const int code = session_->Command({mpv::Loadfile, target}); code < 0)
        Entry_Failed(Play_Failure(code));
}

void Real_Player::Entry_Failed(const QString& reason)
{
    const QString text = Current_Location() + QStringLiteral(": ") + reason;
    if (index_ + 1 >= entries_.size()) {
        emit playFailed(text);
        return;
    }
    emit entryFailed(text);
    ++index_;
    // Queued, so that a long list of missing entries never nests calls.
    QMetaObject::invokeMethod(this, &Real_Player::Start_Entry, Qt::QueuedConnection);
}

void Real_Player::On_Event(const Mpv_Event& event)
{
    const int running = paused_ ? Paused : Playing;
    switch (event.kind) {
    case Mpv_Event::Kind::File_Loaded:
        loaded_ = true;
        width_ = int(session_->Get_Int(mpv::Width).value_or(0));
        height_ = int(session_->Get_Int(mpv::Height).value_or(0));
        Set_State(paused_ ? Paused : Buffering);
        emit clipOpened(QString::fromUtf8(session_->Get_Text(mpv::Media_Title).value_or(QByteArray())),
                        Current_Location());
        break;
    case Mpv_Event::Kind::Playback_Restart:
        if (loaded_)
            Set_State(running);
        break;
    case Mpv_Event::Kind::Seek:
        if (loaded_)
            Set_State(Seeking);
        break;
    case Mpv_Event::Kind::Property:
        if (event.property == mpv::Pause) {
            paused_ = event.value.toBool();
            if (loaded_)
                Set_State(paused_ ? Paused : Playing);
        } else if (event.property == mpv::Paused_For_Cache) {
            if (loaded_)
                Set_State(event.value.toBool() ? Buffering : running);
        } else if (event.value.isValid() && (event.property == mpv::Time_Pos || event.property == mpv::Duration)) {
            (event.property == mpv::Time_Pos ? elapsed_ : total_) = event.value.toDouble();
            emit timeChanged(elapsed_, total_);
        }
        break;
    case Mpv_Event::Kind::End_File:
        // Out of the session's Drain: the end may close the window and with it the session.
        QMetaObject::invokeMethod(
            this, [this, reason = event.endReason, error = event.error] { End_Entry(reason, error); },
            Qt::QueuedConnection);
        break;
    default: break;
    }
}

void Real_Player::End_Entry(Mpv_Event::End_Reason reason, int error)
{
    if (!session_)
        return;
    if (reason == Mpv_Event::End_Reason::Error) {
        Entry_Failed(Play_Failure(error));
    } else if (reason == Mpv_Event::End_Reason::Eof) {
        if (++index_ < entries_.size())
            Start_Entry();
        else
            Set_State(Stopped);
    }
    // A stop or quit is ours; a redirect goes on with the entries it expands to.
}

void Real_Player::Set_State(int state)
{
    if (state == state_)
        return;
    state_ = state;
    emit playStateChanged(state);
}

}  // namespace pf
