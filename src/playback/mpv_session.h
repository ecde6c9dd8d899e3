// SPDX-License-Identifier: GPL-3.0-or-later
// One libmpv player instance, shared by every player of this system (the MPEG device and the
// RealMedia player), and the only code that speaks to libmpv. The session owns its mpv_handle
// (created in the constructor, destroyed in the destructor); commands go to mpv as pre-split
// argument lists, paths as raw file-name bytes. mpv wakes us from its own threads; the wakeup
// only queues Drain() on this object's (GUI) thread, where events are read, copied into
// Mpv_Event and handed out through eventArrived. Every int result of libmpv passes through
// Check(), which records the last error text; outside this file a result is 0 (or more) or a
// failure that Error_Text describes and Is_Unplayable classifies. The names of libmpv's options,
// properties and commands are in mpv_names.h.
//
// No call holds the GUI thread while the player or the disk is slow: Wait_For, Load_File,
// Await_Loaded and Run_Aside wait through Wait_Until (util/wait.h), the one waiting place of
// the program, until their condition holds, their timeout passes (the caller gives it: the
// timeline player allows 20 s for an entry to load, 5 s for a seek or a frame step to land) or
// the session's token ends (Abort, or whoever shares the token); then every wait returns at
// once. While a wait is on, the player's events go to it alone: listeners of eventArrived see
// only what comes after. Every other call returns once mpv's core has taken it: a file loads
// and a seek lands afterwards, and events tell when. The destructor waits at most Teardown_Ms
// for mpv's core to end; a core stuck on a stalled source ends on a thread of its own.
#pragma once

#include "util/wait.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QVariant>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

struct mpv_handle;

namespace pf {

// One event of the player, copied out of libmpv's buffers.
struct Mpv_Event {
    enum class Kind { File_Loaded, End_File, Property, Playback_Restart, Seek, Idle, Shutdown, Other };
    // Why an entry ended: played out, stopped or replaced by a command, the player quit, it
    // failed, it went on with the entries it expanded to, or a reason this program does not know.
    enum class End_Reason { Eof, Stop, Quit, Error, Redirect, Other };
    Kind kind = Kind::Other;
    QByteArray property;                     // Property: the observed name
    QVariant value;                          // Property: double, bool, qint64 or QByteArray; invalid when unavailable
    End_Reason endReason = End_Reason::Eof;  // End_File
    int error = 0;                           // End_File: the failure when the entry failed (Error_Text)
};

class Mpv_Session : public QObject {
    Q_OBJECT
public:
    using Options = QList<QPair<QByteArray, QByteArray>>;
    enum class Format { Flag, Double, Int, Text };

    // Creates and starts a player with these options (set before start). Is_Ready() tells
    // whether that worked; Last_Error() says why not. Its waits end with `token` (its own when
    // none is given).
    explicit Mpv_Session(const Options& options, std::shared_ptr<Wait_Token> token = {}, QObject* parent = nullptr);
    static constexpr int Teardown_Ms = 80;
    // Loads libmpv on a thread of its own, so that the first session finds it ready instead of
    // holding the window while it loads.
    static void Preload();
    ~Mpv_Session() override;
    Mpv_Session(const Mpv_Session&) = delete;
    Mpv_Session& operator=(const Mpv_Session&) = delete;

    // Video output options for a picture inside the native window `window` (0: none). Without a
    // display server the player gets no video output at all.
    static Options Video_Options(quint64 window);
    // The options every player of this system starts with: `video` (Video_Options, or no video),
    // an idle player without on-screen display or a picture for audio alone, the audio output
    // `audioOutput` (empty lets mpv choose), then the player's `own`.
    static Options Player_Options(const Options& video, const QByteArray& audioOutput, const Options& own);

    bool Is_Ready() const { return handle_ != nullptr; }
    // Ends mpv's core (the destructor does it too). Waits at most Teardown_Ms; false when the
    // core still ends then (a stalled source holds it): `keep` (what mpv may still draw into) is
    // then the session's, deleted once the core has ended. True: `keep` stays the caller's.
    bool Terminate(QObject* keep = nullptr);
    QString Last_Error() const { return lastError_; }

    // Results no libmpv call gives: a wait or a command after the token ended, and a load or a
    // look at the file that did not answer in time.
    static constexpr int Aborted_Code = -1000;
    static constexpr int No_Answer_Code = -1001;

    // Results are 0 or a negative error code.
    int Command(const QList<QByteArray>& args);
    // Replaces the playlist by `target` (a path as QFile::encodeName gives it, or a URL) and
    // waits as Await_Loaded does.
    int Load_File(const QByteArray& target, int timeoutMs);
    // Waits, reading events here, until the entry that is starting has loaded (0) or failed (an
    // error code); the end of an entry it replaces is no failure. No_Answer_Code when the time
    // ran out, Aborted_Code when the token ended.
    int Await_Loaded(int timeoutMs);
    int Set_Text(const char* name, const QByteArray& value);
    int Set_Flag(const char* name, bool value);
    int Set_Double(const char* name, double value);
    std::optional<double> Get_Double(const char* name);
    std::optional<qint64> Get_Int(const char* name);
    std::optional<bool> Get_Flag(const char* name);
    std::optional<QByteArray> Get_Text(const char* name);
    int Observe(const char* name, Format format);

    // Hands the events to `done` until it accepts one (true), `timeoutMs` pass or the token ends.
    bool Wait_For(const std::function<bool(const Mpv_Event&)>& done, int timeoutMs);
    // Runs `work` on a thread of its own and waits for it as Wait_For waits: 0 when it finished,
    // else No_Answer_Code or Aborted_Code. Then `work` finishes unobserved, so it must own
    // everything it uses.
    int Run_Aside(std::function<void()> work, int timeoutMs);
    // Ends every wait, now and later; the player itself goes on.
    void Abort() { token_->End(); }
    bool Aborted() const { return token_->Ended(); }

    static QString Error_Text(int code);
    // Whether the failure `code` lies with the file (it could not be loaded, its format is
    // unknown, it holds nothing to play or nothing the player supports) rather than the player.
    static bool Is_Unplayable(int code);

public slots:
    // Hands out every pending event.
    void Drain();

signals:
    void eventArrived(const pf::Mpv_Event& event);

private:
    int Check(int code, const char* what);
    // Reads one pending event; false when there was none.
    bool Next_Event(Mpv_Event& out);
    static void Wakeup(void* self);

    void Queue_Drain();

    struct Waiter {
        std::function<bool(const Mpv_Event&)> done;
        std::function<void()> met;
        bool found = false;  // what came after it stays queued for whoever reads next
    };

    mpv_handle* handle_ = nullptr;
    QString lastError_;
    std::atomic<bool> drainQueued_{false};
    std::shared_ptr<Wait_Token> token_;
    Waiter* waiter_ = nullptr;  // the wait under way
};

}  // namespace pf

Q_DECLARE_METATYPE(pf::Mpv_Event)
