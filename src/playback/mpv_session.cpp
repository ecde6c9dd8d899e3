// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/mpv_session.h"

#include "playback/mpv_names.h"
#include "util/log.h"

#include <QMetaObject>

#include <mpv/client.h>

#include <dlfcn.h>

#include <chrono>
#include <clocale>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace pf {
namespace {

// The libmpv functions this file calls.
#define PF_MPV_FUNCTIONS(X)                                                                                            \
    X(create)                                                                                                          \
    X(initialize)                                                                                                      \
    X(terminate_destroy)                                                                                               \
    X(set_option_string)                                                                                               \
    X(request_log_messages)                                                                                            \
    X(set_wakeup_callback)                                                                                             \
    X(error_string)                                                                                                    \
    X(command)                                                                                                         \
    X(set_property_string)                                                                                             \
    X(set_property)                                                                                                    \
    X(get_property)                                                                                                    \
    X(free)                                                                                                            \
    X(observe_property)                                                                                                \
    X(wait_event)

struct Mpv_Api {
#define PF_MPV_MEMBER(name) decltype(&mpv_##name) name = nullptr;
    PF_MPV_FUNCTIONS(PF_MPV_MEMBER)
#undef PF_MPV_MEMBER
};

// libmpv and the two hundred libraries under it are loaded when the first player starts, not
// with the program: loading them took longer than the whole main window's start. Null when the
// library cannot be loaded (then no player starts, and the reason is in the log).
const Mpv_Api* Load_Mpv()
{
    static const Mpv_Api* const api = []() -> const Mpv_Api* {
        const QByteArray soname = "libmpv.so." + QByteArray::number(MPV_CLIENT_API_VERSION >> 16);
        void* lib = ::dlopen(soname.constData(), RTLD_NOW | RTLD_LOCAL);
        if (!lib) {
            qCWarning(Log_Mpv).noquote() << "cannot load" << soname << "-" << ::dlerror();
            return nullptr;
        }
        static Mpv_Api loaded;
        bool ok = true;
#define PF_MPV_LOAD(name)                                                                                              \
    ok = (loaded.name = reinterpret_cast<decltype(loaded.name)>(::dlsym(lib, "mpv_" #name))) != nullptr && ok;
        PF_MPV_FUNCTIONS(PF_MPV_LOAD)
#undef PF_MPV_LOAD
        if (!ok)
            qCWarning(Log_Mpv).noquote() << soname << "lacks a function this program calls";
        return ok ? &loaded : nullptr;
    }();
    return api;
}

// Only called once a session holds a handle, so the library is there.
const Mpv_Api& Mpv()
{
    return *Load_Mpv();
}

Mpv_Event::End_Reason End_Reason_Of(mpv_end_file_reason reason)
{
    switch (reason) {
    case MPV_END_FILE_REASON_EOF: return Mpv_Event::End_Reason::Eof;
    case MPV_END_FILE_REASON_STOP: return Mpv_Event::End_Reason::Stop;
    case MPV_END_FILE_REASON_QUIT: return Mpv_Event::End_Reason::Quit;
    case MPV_END_FILE_REASON_ERROR: return Mpv_Event::End_Reason::Error;
    case MPV_END_FILE_REASON_REDIRECT: return Mpv_Event::End_Reason::Redirect;
    }
    return Mpv_Event::End_Reason::Other;
}

}  // namespace

Mpv_Session::Mpv_Session(const Options& options, std::shared_ptr<Wait_Token> token, QObject* parent)
    : QObject(parent), token_(token ? std::move(token) : std::make_shared<Wait_Token>())
{
    qRegisterMetaType<pf::Mpv_Event>();
    // QApplication sets the user's locale for all categories; libmpv refuses to be created
    // unless LC_NUMERIC is "C", because its option parser reads "0.5" the C way.
    std::setlocale(LC_NUMERIC, "C");
    // Waits for a load Preload began (a fifth of a second at most), or loads here.
    const Mpv_Api* api = Load_Mpv();
    handle_ = api ? api->create() : nullptr;
    if (!handle_) {
        lastError_ = api ? QStringLiteral("mpv_create failed") : QStringLiteral("libmpv cannot be loaded");
        return;
    }
    // Keys and mouse belong to our windows, not to the player drawn inside them.
    Options all = {{mpv::Config, "no"},
                   {mpv::Terminal, "no"},
                   {mpv::Input_Default_Bindings, "no"},
                   {mpv::Input_Vo_Keyboard, "no"},
                   {mpv::Input_Cursor, "no"},
                   {mpv::Cursor_Autohide, "no"},
                   {mpv::Osc, "no"},
                   {mpv::Load_Scripts, "no"},
                   // Nor its own scripts: each is a Lua thread the player would start for nothing.
                   {mpv::Ytdl, "no"},
                   {mpv::Load_Stats_Overlay, "no"},
                   {mpv::Load_Osd_Console, "no"},
                   {mpv::Load_Auto_Profiles, "no"}};
    all += options;
    bool ok = true;
    for (const auto& [name, value] : all)
        ok = Check(Mpv().set_option_string(handle_, name.constData(), value.constData()), name.constData()) >= 0 && ok;
    if (!ok || Check(Mpv().initialize(handle_), "initialize") < 0) {
        Mpv().terminate_destroy(handle_);
        handle_ = nullptr;
        return;
    }
    // libmpv's own warnings and errors, for the log; asked for only when someone reads them.
    if (Log_Mpv().isWarningEnabled())
        Mpv().request_log_messages(handle_, "warn");
    Mpv().set_wakeup_callback(handle_, &Mpv_Session::Wakeup, this);
}

void Mpv_Session::Preload()
{
    std::thread([] { Load_Mpv(); }).detach();
}

Mpv_Session::~Mpv_Session()
{
    Terminate();
}

bool Mpv_Session::Terminate(QObject* keep)
{
    if (!handle_)
        return true;
    // After this returns mpv calls no wakeup any more, so no call can reach a dead object.
    Mpv().set_wakeup_callback(handle_, nullptr, nullptr);
    Abort();
    // The core ends once its reads return, which a sleeping disk or share may hold for long.
    struct Ending {
        std::mutex mutex;
        std::condition_variable changed;
        bool over = false, late = false;
    };
    const auto ending = std::make_shared<Ending>();
    std::thread([handle = handle_, ending, keep] {
        Mpv().terminate_destroy(handle);
        bool late = false;
        {
            const std::lock_guard lock(ending->mutex);
            ending->over = true;
            late = ending->late;
        }
        ending->changed.notify_all();
        // Deleted where it lives, by its own thread's loop; without one it goes with the process.
        if (late && keep)
            QMetaObject::invokeMethod(keep, &QObject::deleteLater, Qt::QueuedConnection);
    }).detach();
    handle_ = nullptr;
    std::unique_lock lock(ending->mutex);
    if (ending->changed.wait_for(lock, std::chrono::milliseconds(Teardown_Ms), [&] { return ending->over; }))
        return true;
    ending->late = true;
    return false;
}

void Mpv_Session::Wakeup(void* self)
{
    // Runs on one of mpv's threads: only queue the reading for the GUI thread, once.
    static_cast<Mpv_Session*>(self)->Queue_Drain();
}

void Mpv_Session::Queue_Drain()
{
    if (!drainQueued_.exchange(true))
        QMetaObject::invokeMethod(this, &Mpv_Session::Drain, Qt::QueuedConnection);
}

int Mpv_Session::Check(int code, const char* what)
{
    if (code < 0)
        lastError_ = QStringLiteral("%1: %2").arg(QString::fromUtf8(what), Error_Text(code));
    return code;
}

QString Mpv_Session::Error_Text(int code)
{
    const Mpv_Api* api = Load_Mpv();
    return api ? QString::fromUtf8(api->error_string(code)) : QStringLiteral("libmpv cannot be loaded");
}

bool Mpv_Session::Is_Unplayable(int code)
{
    switch (code) {
    case MPV_ERROR_LOADING_FAILED:
    case MPV_ERROR_UNKNOWN_FORMAT:
    case MPV_ERROR_NOTHING_TO_PLAY:
    case MPV_ERROR_UNSUPPORTED: return true;
    default: return false;
    }
}

int Mpv_Session::Command(const QList<QByteArray>& args)
{
    if (!handle_)
        return MPV_ERROR_UNINITIALIZED;
    std::vector<const char*> argv;
    for (const QByteArray& a : args)
        argv.push_back(a.constData());
    argv.push_back(nullptr);
    return Check(Mpv().command(handle_, argv.data()), args.isEmpty() ? "command" : args.first().constData());
}

int Mpv_Session::Load_File(const QByteArray& target, int timeoutMs)
{
    const int code = Command({mpv::Loadfile, target});
    return code < 0 ? code : Await_Loaded(timeoutMs);
}

int Mpv_Session::Await_Loaded(int timeoutMs)
{
    int result = 0;
    const bool met = Wait_For(
        [&](const Mpv_Event& e) {
            if (e.kind == Mpv_Event::Kind::File_Loaded)
                result = 0;
            else if (e.kind == Mpv_Event::Kind::End_File && e.endReason == Mpv_Event::End_Reason::Error)
                result = e.error < 0 ? e.error : MPV_ERROR_LOADING_FAILED;
            else
                return false;
            return true;
        },
        timeoutMs);
    return met ? result : Aborted() ? Aborted_Code : No_Answer_Code;
}

int Mpv_Session::Set_Text(const char* name, const QByteArray& value)
{
    if (!handle_)
        return MPV_ERROR_UNINITIALIZED;
    return Check(Mpv().set_property_string(handle_, name, value.constData()), name);
}

int Mpv_Session::Set_Flag(const char* name, bool value)
{
    int flag = value ? 1 : 0;
    return handle_ ? Check(Mpv().set_property(handle_, name, MPV_FORMAT_FLAG, &flag), name) : MPV_ERROR_UNINITIALIZED;
}

int Mpv_Session::Set_Double(const char* name, double value)
{
    return handle_ ? Check(Mpv().set_property(handle_, name, MPV_FORMAT_DOUBLE, &value), name)
                   : MPV_ERROR_UNINITIALIZED;
}

std::optional<double> Mpv_Session::Get_Double(const char* name)
{
    double v = 0;
    if (!handle_ || Check(Mpv().get_property(handle_, name, MPV_FORMAT_DOUBLE, &v), name) < 0)
        return std::nullopt;
    return v;
}

std::optional<qint64> Mpv_Session::Get_Int(const char* name)
{
    int64_t v = 0;
    if (!handle_ || Check(Mpv().get_property(handle_, name, MPV_FORMAT_INT64, &v), name) < 0)
        return std::nullopt;
    return qint64{v};
}

std::optional<bool> Mpv_Session::Get_Flag(const char* name)
{
    int v = 0;
    if (!handle_ || Check(Mpv().get_property(handle_, name, MPV_FORMAT_FLAG, &v), name) < 0)
        return std::nullopt;
    return v != 0;
}

std::optional<QByteArray> Mpv_Session::Get_Text(const char* name)
{
    char* v = nullptr;
    if (!handle_ || Check(Mpv().get_property(handle_, name, MPV_FORMAT_STRING, &v), name) < 0 || !v)
        return std::nullopt;
    QByteArray text(v);
    Mpv().free(v);
    return text;
}

int Mpv_Session::Observe(const char* name, Format format)
{
    if (!handle_)
        return MPV_ERROR_UNINITIALIZED;
    static constexpr mpv_format Formats[] = {MPV_FORMAT_FLAG, MPV_FORMAT_DOUBLE, MPV_FORMAT_INT64, MPV_FORMAT_STRING};
    return Check(Mpv().observe_property(handle_, 0, name, Formats[static_cast<int>(format)]), name);
}

bool Mpv_Session::Next_Event(Mpv_Event& out)
{
    if (!handle_)
        return false;
    const mpv_event* e = Mpv().wait_event(handle_, 0);
    out = Mpv_Event{};
    switch (e->event_id) {
    case MPV_EVENT_NONE: return false;
    case MPV_EVENT_FILE_LOADED: out.kind = Mpv_Event::Kind::File_Loaded; break;
    case MPV_EVENT_END_FILE: {
        const auto* end = static_cast<const mpv_event_end_file*>(e->data);
        out.kind = Mpv_Event::Kind::End_File;
        out.endReason = End_Reason_Of(end->reason);
        out.error = end->error;
        break;
    }
    case MPV_EVENT_PLAYBACK_RESTART: out.kind = Mpv_Event::Kind::Playback_Restart; break;
    case MPV_EVENT_SEEK: out.kind = Mpv_Event::Kind::Seek; break;
    case MPV_EVENT_IDLE: out.kind = Mpv_Event::Kind::Idle; break;
    case MPV_EVENT_SHUTDOWN: out.kind = Mpv_Event::Kind::Shutdown; break;
    case MPV_EVENT_LOG_MESSAGE: {
        const auto* m = static_cast<const mpv_event_log_message*>(e->data);
        qCWarning(Log_Mpv).noquote() << m->level << QString::fromUtf8(m->prefix) + u':'
                                     << QString::fromUtf8(m->text).trimmed();
        break;
    }
    case MPV_EVENT_PROPERTY_CHANGE: {
        const auto* p = static_cast<const mpv_event_property*>(e->data);
        out.kind = Mpv_Event::Kind::Property;
        out.property = p->name;
        if (p->format == MPV_FORMAT_FLAG)
            out.value = *static_cast<const int*>(p->data) != 0;
        else if (p->format == MPV_FORMAT_DOUBLE)
            out.value = *static_cast<const double*>(p->data);
        else if (p->format == MPV_FORMAT_INT64)
            out.value = qint64{*static_cast<const int64_t*>(p->data)};
        else if (p->format == MPV_FORMAT_STRING)
            out.value = QByteArray(*static_cast<char* const*>(p->data));
        break;
    }
    default: break;
    }
    return true;
}

void Mpv_Session::Drain()
{
    drainQueued_ = false;
    Mpv_Event e;
    while (!(waiter_ && waiter_->found) && Next_Event(e)) {
        if (!waiter_) {
            emit eventArrived(e);
        } else if (waiter_->done(e)) {
            waiter_->found = true;
            waiter_->met();
        }
    }
}

bool Mpv_Session::Wait_For(const std::function<bool(const Mpv_Event&)>& done, int timeoutMs)
{
    if (waiter_)
        return false;  // one wait at a time: the player's calls are one at a time too
    Waiter waiter{done, {}};
    const Wait_End end = Wait_Until(*token_, timeoutMs, [&](QObject&, const std::function<void()>& met) {
        waiter.met = met;
        waiter_ = &waiter;
        Drain();  // what is queued already
    });
    waiter_ = nullptr;
    // What came after the awaited event is read in its turn, by the next wait or the listeners.
    Queue_Drain();
    return end == Wait_End::Met;
}

int Mpv_Session::Run_Aside(std::function<void()> work, int timeoutMs)
{
    switch (Wait_For_Work(*token_, timeoutMs, std::move(work))) {
    case Wait_End::Met: return 0;
    case Wait_End::Timed_Out: return No_Answer_Code;
    case Wait_End::Ended: break;
    }
    return Aborted_Code;
}

}  // namespace pf
