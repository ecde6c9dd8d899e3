// SPDX-License-Identifier: GPL-3.0-or-later
// The video and RealMedia windows on real clips, headless: how they end, their sizes and
// places, and what a file that cannot be played does.
#include "player_support.h"

#include "core/profile.h"
#include "mci/mci_errors.h"
#include "mci/mci_service.h"
#include "support/held_file.h"
#include "support/script_prompter.h"
#include "support/temp_dir.h"
#include "ui/chrome.h"
#include "ui/parlo_film_g.h"
#include "ui/parlo_film_r.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include <QFile>

#include <gtest/gtest.h>

namespace pf::test {
namespace {

QSize Screen()
{
    return QGuiApplication::primaryScreen()->geometry().size();
}

struct Player_Windows : ::testing::Test {
    static void SetUpTestSuite() { Register_Mpeg_Driver(Silent); }

    Temp_Dir dir;
    Script_Prompter prompter;
    Settings settings;

    QString Ini() const { return dir.File(QStringLiteral("Parlo_film.ini")); }
    QString Key(const char* key) const { return GetIniValue(Ini_Section, QLatin1String(key), Ini()); }
};

TEST_F(Player_Windows, Video_Ends_By_Itself_Or_With_Rep_1_Plays_Again_Until_Esc)
{
    for (const qint16 rep : {0, 1}) {
        settings.Rep = rep;
        Parlo_film_G w(settings, Clip("mpeg1_1s.mpg"), prompter, Ini());
        QStringList texts;
        QObject::connect(&w.Player(), &Player_Control::headTextChanged, [&](const QString& t) { texts << t; });
        if (rep == 1)
            While_Open(&w, [&] {
                // Played to its end and on again from the start, still open.
                EXPECT_TRUE(
                    QTest::qWaitFor([&] { return texts.indexOf("100%") >= 0 && texts.last() != "100%"; }, 20000));
                EXPECT_TRUE(w.isVisible() && w.Player().Ticking());
                QTest::keyClick(&w, Qt::Key_Escape);
            });
        EXPECT_EQ(w.Run() == Play_End::Stopped_By_User, rep == 1) << rep;
        EXPECT_TRUE(texts.contains("100%")) << rep;
        EXPECT_EQ(Mci_Service::Instance().Open_Device_Count(), 0);
    }
}

TEST_F(Player_Windows, Video_Window_Size_And_Place_By_Size_Setting_And_Keys)
{
    const QSize screen = Screen();
    struct Case {
        qint16 size, x, y;
        const char* top;
        const char* left;
        QSize window;
        QPoint at;
        const char* where;
    };
    const Case cases[] = {
        {1, 0, 0, " 1500", " 3000", {320, 260}, {200, 100}, "0 0 320 240"},
        {2, 640, 480, " 1500", " 3000", {640, 500}, {200, 100}, "0 0 640 480"},
        {0, 0, 0, " 1500", " 3000", screen + QSize(0, 20), {0, 0}, nullptr},
        {7, 0, 0, " 1500", " 3000", {151, 145}, {200, 100}, "0 0 151 125"},
        // No top: centred on both axes, then the left key applies.
        {1, 0, 0, "", " 3000", {320, 260}, {200, (screen.height() - 260) * 15 / 2 / 15}, nullptr},
        // Off every screen (a monitor gone): pulled into the nearest, and kept there on closing.
        {1, 0, 0, " 999990", "-999990", {320, 260}, {0, screen.height() - 260}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        settings.Size = c.size;
        settings.Size_X = c.x;
        settings.Size_Y = c.y;
        SetIniValue(Ini_Section, QStringLiteral("FormTop"), QString::fromLatin1(c.top), Ini());
        SetIniValue(Ini_Section, QStringLiteral("FormLeft"), QString::fromLatin1(c.left), Ini());
        Parlo_film_G w(settings, Clip("mpeg1_1s.mpg"), prompter, Ini());
        While_Open(&w, [&] {
            EXPECT_EQ(w.size(), c.window);
            EXPECT_EQ(w.picVideo()->geometry(), QRect(QPoint(0, 20), c.window - QSize(0, 20)));
            EXPECT_EQ(w.Chrome().Exit()->x(), c.window.width() - 20);
            EXPECT_EQ(w.pos(), c.at);
            QString where;
            Mci_Service::Instance().Send_String(QStringLiteral("where device1 destination"), &where, 254);
            if (c.where) {
                EXPECT_EQ(where, QString::fromLatin1(c.where));
            }
            QTest::keyClick(&w, Qt::Key_Space);
        });
        w.Run();
        EXPECT_EQ(Key("FormTop"), QString::number(c.at.y() * 15));
        EXPECT_EQ(Key("FormLeft"), QString::number(c.at.x() * 15));
    }
}

TEST_F(Player_Windows, A_File_That_Cannot_Be_Played_Is_Shown_And_Closes_By_Itself)
{
    const QString broken = dir.Write(QStringLiteral("broken.rm"), QByteArray(4000, 'x'));
    struct Case {
        bool real;
        QString file;
        enum { None, Esc, Exit_Image } user;  // what the user does while the failure shows
    };
    const Case cases[] = {
        {false, Clip("no such clip.mpg"), Case::None},          {false, Clip("not_video.mpg"), Case::None},
        {false, Clip("no such clip.mpg"), Case::Esc},           {true, broken, Case::None},
        {true, dir.File(QStringLiteral("gone.rm")), Case::Esc}, {true, broken, Case::Exit_Image},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        std::unique_ptr<Player_Window> w;
        Player_Control* control;
        if (c.real) {
            auto* r = new Parlo_film_R(c.file, Silent.audioOutput, Ini());
            control = &r->Control();
            w.reset(r);
        } else {
            auto* g = new Parlo_film_G(settings, c.file, prompter, Ini());
            control = &g->Player();
            w.reset(g);
        }
        QSignalSpy failure(control, &Player_Control::failed);
        QElapsedTimer shown;
        QObject::connect(control, &Player_Control::failed, [&] { shown.start(); });
        While_Open(w.get(), [&] {
            ASSERT_TRUE(failure.count() == 1 || failure.wait(10000));
            const QString text = failure[0][0].toString();
            EXPECT_FALSE(text.isEmpty());
            EXPECT_EQ(w->Chrome().Strip()->toolTip(), text);
            // In full and inside the window, whatever the picture's width was.
            auto* box = w->findChild<QLabel*>(QStringLiteral("Failure_Text"));
            ASSERT_TRUE(box && box->isVisible());
            EXPECT_EQ(box->text().remove(QChar(0x200b)), text);
            EXPECT_TRUE(w->rect().contains(box->geometry()));
            EXPECT_GE(box->height(), box->heightForWidth(box->width()));
            if (!c.real) {
                const auto code = c.file.contains(u"no such") ? MCIERR_FILE_NOT_FOUND : MCIERR_INVALID_FILE;
                const std::string_view description = Mci_Error_Text(code);
                EXPECT_EQ(text, QString::fromUtf8(description.data(), qsizetype(description.size())));
            }
            if (c.user == Case::Esc)
                QTest::keyClick(w.get(), Qt::Key_Escape);
            if (c.user == Case::Exit_Image) {
                QTest::mousePress(w->Chrome().Exit(), Qt::LeftButton);
                QTest::mouseRelease(w->Chrome().Exit(), Qt::LeftButton);
            }
            // Only the keys write "Unloading" in the RealMedia window.
            EXPECT_EQ(w->Head_Caption()->text() == QStringLiteral("Unloading"), c.real && c.user == Case::Esc);
        });
        const Play_End end = w->Run();
        // On screen the whole time (timers count whole milliseconds).
        EXPECT_TRUE(c.user != Case::None || shown.elapsed() + 1 >= Player_Control::Failure_Ms);
        EXPECT_EQ(end == Play_End::Stopped_By_User, c.user != Case::None);
        EXPECT_FALSE(Key(c.real ? "rFormTop" : "FormTop").isEmpty());
    }
}

TEST_F(Player_Windows, Esc_Ends_A_Video_Whose_File_Does_Not_Open_While_The_Window_Stays_Live)
{
    QFile clip(Clip("mpeg1_1s.mpg"));
    ASSERT_TRUE(clip.open(QIODevice::ReadOnly));
    const QString file = dir.Write(QStringLiteral("asleep.mpg"), clip.readAll());
    const test::Held_File asleep(file);
    ASSERT_TRUE(asleep.held);
    Parlo_film_G w(settings, file, prompter, Ini());
    int beats = 0;
    QTimer beat;
    QObject::connect(&beat, &QTimer::timeout, [&] { ++beats; });
    beat.start(1);
    QTimer::singleShot(0, &w, [&] {
        EXPECT_TRUE(w.Loading());
        EXPECT_TRUE(QTest::qWaitFor([&] { return beats >= 3; }, 10000));
        EXPECT_TRUE(QTest::qWaitFor([&] { return w.isVisible(); }, 10000));  // with its exit image
        QTest::keyClick(&w, Qt::Key_Escape);
    });
    EXPECT_EQ(w.Run(), Play_End::Stopped_By_User);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(Mci_Service::Instance().Open_Device_Count(), 0);
}

TEST_F(Player_Windows, RealMedia_Window_Grows_To_The_Clip_Where_It_Was_Placed)
{
    Parlo_film_R w(Clip("clip.rm"), Silent.audioOutput, Ini());
    EXPECT_EQ(w.Chrome().Strip()->geometry(), QRect(0, 0, 209, 20));
    EXPECT_EQ(w.Chrome().Exit()->x(), 188);
    While_Open(&w, [&] {
        const QPoint placed = w.pos();
        EXPECT_EQ(placed.x(), (Screen().width() - 210) * 15 / 2 / 15);  // centred as the loading bar
        ASSERT_TRUE(QTest::qWaitFor([&] { return w.size() == QSize(320, 285); }, 10000));
        EXPECT_EQ(w.pos(), placed);
        EXPECT_EQ(w.RealSC()->geometry(), QRect(0, 20, 320, 240));
        EXPECT_EQ(w.Realmain()->geometry(), QRect(0, 260, 320, 25));
        EXPECT_EQ(w.Chrome().Exit()->x(), 300);
        EXPECT_TRUE(w.RealSC()->isVisible() && w.Realmain()->isVisible());
        EXPECT_TRUE(QTest::qWaitFor([&] { return w.Realmain()->Times().contains(" / 0:0"); }, 10000));
        QTest::keyClick(&w, Qt::Key_Space);
        EXPECT_EQ(w.lbl_msg()->text(), QStringLiteral("Unloading"));
    });
    EXPECT_EQ(w.Run(), Play_End::Stopped_By_User);
    EXPECT_FALSE(Key("rFormTop").isEmpty());
}

TEST_F(Player_Windows, A_Ram_List_Skips_A_Missing_Entry_Plays_The_Next_And_Closes_After_The_Last)
{
    Parlo_film_R w(Clip("list.ram"), Silent.audioOutput, Ini());
    QStringList messages;
    QObject::connect(&w.Control(), &Real_Control::statusChanged, [&](const QString& m) { messages << m; });
    QSignalSpy opened(&w.Control().Player(), &Real_Player::clipOpened);
    EXPECT_EQ(w.Run(), Play_End::Natural);
    ASSERT_EQ(opened.count(), 1);
    EXPECT_TRUE(opened[0][1].toString().endsWith("real_1s.rm"));
    EXPECT_FALSE(messages.filter("missing.rm: ﾌｧｲﾙが見つかりません").isEmpty());
    EXPECT_EQ(w.lbl_msg()->text(), QStringLiteral("Stop"));
    EXPECT_EQ(w.size(), QSize(320, 285));
}

}  // namespace
}  // namespace pf::test
