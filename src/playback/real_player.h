// SPDX-License-Identifier: GPL-3.0-or-later
// The RealMedia player component: what the RealMedia window needs of a player, on a libmpv
// session of its own (Mpv_Session, as the MPEG device uses). It takes a "file://" source, starts
// on request, reports the clip's width and height, raises clipOpened and playStateChanged (0
// stopped, 1 connecting, 2 buffering, 3 playing, 4 paused, 5 seeking) and draws the picture into
// the native window it is given. A .ram source is a list of locations played in turn; an entry
// that cannot be played is reported and the next one plays. The session lives from Play() to
// Close() (or the player's end), owned by this object.
#pragma once

#include "playback/mpv_session.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

namespace pf {

// The locations of a .ram list: one per line, blanks around it dropped; blank lines and lines
// starting with "#" skipped.
QStringList Ram_Entries(const QByteArray& text);

// Where one location is: a local file (absolute `local` path; a plain path is taken relative to
// `baseFolder`) or a URL of another scheme that libmpv opens itself (`url`).
struct Real_Location {
    QString local;
    QByteArray url;
};
Real_Location Resolve_Location(const QString& location, const QString& baseFolder);

class Real_Player : public QObject {
    Q_OBJECT
public:
    enum State { Stopped = 0, Connecting = 1, Buffering = 2, Playing = 3, Paused = 4, Seeking = 5 };

    // `audioOutput` is mpv's "ao" (empty lets mpv choose).
    explicit Real_Player(const QByteArray& audioOutput = {}, QObject* parent = nullptr);
    ~Real_Player() override;

    // The native window the picture is drawn into (0: none). Set before Play().
    void Set_Picture_Window(quint64 window) { window_ = window; }
    // "file://" followed by a path as it is (no encoding), or a URL of another scheme.
    void Set_Source(const QString& source) { source_ = source; }
    void Play();
    // Ends playback and the session; no notification follows.
    void Close();

    int Clip_Width() const { return width_; }
    int Clip_Height() const { return height_; }
    int Play_State() const { return state_; }

signals:
    void clipOpened(const QString& title, const QString& location);
    void playStateChanged(int state);
    // Seconds played and the clip's length (0 while unknown).
    void timeChanged(double elapsed, double total);
    // One entry of a list could not be played; the next one starts.
    void entryFailed(const QString& text);
    // Nothing more can be played: the source, or the last entry of a list, failed.
    void playFailed(const QString& text);

private:
    void Start_Entry();
    void Entry_Failed(const QString& reason);
    void On_Event(const Mpv_Event& event);
    void End_Entry(Mpv_Event::End_Reason reason, int error);
    void Set_State(int state);
    QString Current_Location() const;

    QByteArray audio_;
    quint64 window_ = 0;
    QString source_;
    std::unique_ptr<Mpv_Session> session_;
    QStringList entries_;
    QString baseFolder_;
    int index_ = 0;
    bool loaded_ = false;
    bool paused_ = false;
    int width_ = 0;
    int height_ = 0;
    int state_ = Stopped;
    double elapsed_ = 0;
    double total_ = 0;
};

}  // namespace pf
