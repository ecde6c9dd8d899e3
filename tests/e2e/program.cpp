// SPDX-License-Identifier: GPL-3.0-or-later
#include "program.h"

#include "ui/main_layout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <gtest/gtest.h>

namespace pf::e2e {

namespace {

const QString Main_Name = QStringLiteral("Parlo_film Viewer");

// Where a container of the main window's controls lies in the window.
QPoint Container_At(Place_In in)
{
    const QPoint body = geo::Pic_B.topLeft();
    switch (in) {
    case Place_In::Window: return {};
    case Place_In::Body: return body;
    case Place_In::Input_Page: return body + geo::Pic_C[0].topLeft();
    case Place_In::Joined_Page: return body + geo::Pic_C[1].topLeft();
    case Place_In::Favorite_Page: return body + geo::Pic_C[2].topLeft();
    }
    return body;
}

Place_In Page_Of(List_Id list)
{
    return list == List_Id::Input ? Place_In::Input_Page
        : list == List_Id::Joined ? Place_In::Joined_Page
                                  : Place_In::Favorite_Page;
}

}  // namespace

Program::Program(X_Session& x, const QString& run) : x_(x), artifacts_(QStringLiteral(PF_ARTIFACT_DIR "/e2e/") + run)
{
    QDir(artifacts_).removeRecursively();
    QDir().mkpath(artifacts_);
    QDir().mkpath(App());
    QDir().mkpath(root_.File(QStringLiteral("xdg")));
    QFile(root_.Mkdir(QStringLiteral("run"))).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::copy(QStringLiteral(PF_PROGRAM), App_File(QStringLiteral("parlo_film")));
}

Program::~Program()
{
    if (process_ && process_->state() != QProcess::NotRunning) {
        process_->kill();
        process_->waitForFinished();
    }
}

QString Program::App_File(const QString& name) const
{
    return App() + u'/' + name;
}

QString Program::Clip(const char* clip, const QString& name) const
{
    const QString to = root_.File(name);
    QDir().mkpath(QFileInfo(to).path());
    if (!QFile::copy(QStringLiteral(PF_TEST_MEDIA_DIR "/") + QString::fromUtf8(clip), to))
        ADD_FAILURE() << "no test clip " << clip;
    return to;
}

QProcessEnvironment Program::Environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    // The desktop's data (the trash) and Qt's own settings (file dialog history) stay in the run.
    env.insert(QStringLiteral("XDG_DATA_HOME"), root_.File(QStringLiteral("xdg")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), root_.File(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root_.File(QStringLiteral("run")));
    return env;
}

void Program::Launch(QProcess& p) const
{
    p.setProgram(App_File(QStringLiteral("parlo_film")));
    p.setWorkingDirectory(Root());
    p.setProcessEnvironment(Environment());
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    p.start();
}

bool Program::Start()
{
    process_ = std::make_unique<QProcess>();
    Launch(*process_);
    if (!process_->waitForStarted()
        || !x_.Wait_For([this](const X_Window& w) { return w.name == Main_Name && w.pid == process_->processId(); }))
        return false;
    return Wait_Painted(0);
}

bool Program::Wait_Painted(int width) const
{
    // The screen behind a window is black until its program paints the window's far corner.
    return QTest::qWaitFor(
        [&] {
            const auto main = Main();
            if (!main || (width && main->rect.width() != width))
                return false;
            const QPoint corner = main->rect.bottomRight() - QPoint(3, 3);
            return x_.Grab().pixel(corner) != qRgb(0, 0, 0);
        },
        20000);
}

std::unique_ptr<QProcess> Program::Start_Another() const
{
    auto p = std::make_unique<QProcess>();
    Launch(*p);
    return p;
}

bool Program::Wait_Exit(int timeoutMs)
{
    if (!QTest::qWaitFor([this] { return process_->state() == QProcess::NotRunning; }, timeoutMs))
        return false;
    return process_->exitStatus() == QProcess::NormalExit && process_->exitCode() == 0;
}

std::optional<X_Window> Program::Main() const
{
    return x_.Find([this](const X_Window& w) { return w.name == Main_Name && w.pid == process_->processId(); });
}

std::optional<X_Window> Program::Wait_Window(const QString& name) const
{
    // Ready for keys once the program has given it the focus.
    return x_.Wait_For(
        [&](const X_Window& w) { return w.name == name && w.pid == process_->processId() && x_.Has_Focus(w.id); });
}

bool Program::Wait_Window_Gone(const QString& name) const
{
    return x_.Wait_Gone([&](const X_Window& w) { return w.name == name && w.pid == process_->processId(); });
}

std::optional<X_Window> Program::Wait_Player(unsigned long after) const
{
    return x_.Wait_For([&](const X_Window& w) {
        return w.id != after && w.name == QLatin1String("Parlo_film") && w.pid == process_->processId()
            && x_.Has_Focus(w.id);
    });
}

QString Program::Playing(const QStringList& candidates) const
{
    QString found;
    (void)QTest::qWaitFor(
        [&] {
            const QStringList open = Open_Files();
            for (const QString& c : candidates)
                if (open.contains(c))
                    found = c;
            return !found.isEmpty();
        },
        20000);
    return found;
}

bool Program::Wait_Closed(unsigned long window) const
{
    return x_.Wait_Gone([window](const X_Window& w) { return w.id == window; });
}

QPoint Program::In_Main(QPoint p) const
{
    const auto main = Main();
    return main ? main->rect.topLeft() + p : p;
}

QPoint Program::Label(int index) const
{
    for (const geo::Command_Place& c : geo::Commands)
        if (c.index == index)
            return In_Main(Container_At(c.in) + c.label.center());
    return {};
}

QPoint Program::Group_Button(Group_Kind kind, int group) const
{
    const int k = kind == Group_Kind::Joined ? 0 : 1;
    const Place_In page = k == 0 ? Place_In::Joined_Page : Place_In::Favorite_Page;
    const QPoint corner = Container_At(page) + geo::Pic_G[k].topLeft() + geo::Group_Button_At(group);
    return In_Main(corner + QPoint(geo::Group_Button_Size / 2, geo::Group_Button_Size / 2));
}

QPoint Program::Order_Marker(List_Id list, int choice) const
{
    return In_Main(Container_At(Page_Of(list)) + geo::Play[choice].center());
}

QPoint Program::Layout_Button(int skin) const
{
    return In_Main(geo::Img_Skin[skin].center());
}

QRect Program::List_Rect(List_Id list) const
{
    return geo::Lists[int(list)].translated(In_Main(Container_At(Page_Of(list))));
}

QRect Program::Selected_Row(const QImage& shot, List_Id list) const
{
    // The highlight spans the whole row, its left margin too, where no text is drawn: the run
    // of another colour than the list's own down the viewport's first pixel column is the row.
    const QRect r = List_Rect(list).adjusted(2, 2, -2, -2);
    const QRgb base = shot.pixel(r.left(), r.bottom() - 20);
    int top = -1;
    for (int y = r.top(); y < r.bottom() - 20; ++y) {
        const bool lit = shot.pixel(r.left(), y) != base;
        if (lit && top < 0)
            top = y;
        if (!lit && top >= 0)
            return QRect(r.left(), top, r.width() - 20, y - top);
    }
    return {};
}

void Program::Press(int index)
{
    x_.Click(Label(index));
}

QPoint Program::Select_Row(List_Id list, int row)
{
    const QRect view = List_Rect(list);
    x_.Click(view.topLeft() + QPoint(view.width() / 3, 6));
    QRect first, band;
    // The first row lit; if it already was, the program still takes the click before what follows.
    if (!QTest::qWaitFor([&] {
            first = Selected_Row(x_.Grab(), list);
            return first.isValid() && first.top() <= view.top() + 4;
        }))
        return {};
    for (int i = 0; i < row; ++i)
        x_.Key("Down");
    const int top = first.top() + row * first.height();
    if (!QTest::qWaitFor([&] { return (band = Selected_Row(x_.Grab(), list)).top() == top; }))
        return {};
    return band.center();
}

QImage Program::Shot(const QString& step, bool settle)
{
    const QImage shot = settle ? x_.Grab_Settled() : x_.Grab();
    shot.save(QStringLiteral("%1/%2_%3.png").arg(artifacts_).arg(++step_, 2, 10, QLatin1Char('0')).arg(step));
    return shot;
}

QStringList Program::Open_Files() const
{
    QStringList files;
    const QString fd = QStringLiteral("/proc/%1/fd").arg(process_->processId());
    for (const QFileInfo& link : QDir(fd).entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        const QFileInfo target(link.symLinkTarget());
        if (target.isFile())
            files.append(target.absoluteFilePath());
    }
    return files;
}

QMap<QString, QByteArray> Program::App_Files() const
{
    QMap<QString, QByteArray> all;
    for (const QString& name : QDir(App()).entryList(QDir::Files | QDir::Hidden))
        all[name] = test::Read_All(App_File(name));
    return all;
}

}  // namespace pf::e2e
