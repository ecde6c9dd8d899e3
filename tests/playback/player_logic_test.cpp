// SPDX-License-Identifier: GPL-3.0-or-later
// The players' logic without a window: the video window's open sequence, sizes, ticks and close
// against a scripted media-control port; the RealMedia window's states and layout; .ram lists.
#include "mci/mci_errors.h"
#include "mci/mci_service.h"
#include "playback/real_control.h"
#include "playback/video_player.h"

#include "support/script_prompter.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace pf {
namespace {

// Answers each command by `answer` (code and reply) and records what was sent.
struct Scripted_Port : Mci_Port {
    std::function<std::pair<std::uint32_t, QByteArray>(const QByteArray&)> answer;
    QList<QByteArray> sent;

    std::uint32_t Send(const QByteArray& command, char* reply, std::uint32_t room) override
    {
        sent << command;
        const auto [code, text] = answer ? answer(command) : std::pair<std::uint32_t, QByteArray>{0, {}};
        if (reply && room > 0)
            std::strncpy(reply, text.constData(), room - 1);
        return code;
    }
    bool Error_String(std::uint32_t code, char* text, std::uint32_t room) override
    {
        return Mci_Service::Get_Error_String(code, text, room);
    }
    int Count(const QByteArray& prefix) const
    {
        return int(std::count_if(sent.begin(), sent.end(), [&](const QByteArray& c) { return c.startsWith(prefix); }));
    }
};

QString Description(std::uint32_t code)
{
    const std::string_view text = Mci_Error_Text(code);
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

TEST(Video_Player, Progress_Text_Rounds_And_Leaves_Unknown_Lengths_Alone)
{
    const std::tuple<qint32, qint32, const char*> cases[] = {
        {0, 1000, "%"},    {4, 1000, "%"},  {5, 1000, "1%"},  {996, 1000, "100%"}, {1000, 1000, "100%"},
        {500, 0, nullptr}, {-1, 1000, "%"}, {-1, 100, "-1%"}, {-1, -1, nullptr},
    };
    for (const auto& [position, length, text] : cases) {
        const auto got = Progress_Text(position, length);
        EXPECT_EQ(got.has_value(), text != nullptr) << position << "/" << length;
        if (text && got) {
            EXPECT_EQ(*got, QString::fromLatin1(text));
        }
    }
}

TEST(Video_Player, Open_Sizes_The_Picture_By_The_Size_Setting)
{
    struct Case {
        qint16 size, x, y;
        QByteArray where;  // reply of "where device1 destination"; empty: the query fails
        QSize picture;
        const char* put;  // nullptr: no placement sent
        QByteArray length = "1000";
    };
    const Case cases[] = {
        {1, 640, 480, "0 0 352 240", {352, 240}, "put device1 window at 0 0 352 240"},
        {2, 640, 480, "0 0 352 240", {640, 480}, "put device1 window at 0 0 640 480"},
        {0, 640, 480, "0 0 352 240", {1024, 768}, "put device1 window at 0 0 1024 768"},
        {7, 640, 480, "0 0 352 240", {151, 125}, "put device1 window at 0 0 151 125"},
        {2, 0, 480, "0 0 352 240", {352, 240}, "put device1 window at 0 0 352 240"},  // no custom picture
        {1, 640, 480, "", {151, 125}, nullptr},
        {1, 640, 480, "0 0 x 240", {151, 125}, nullptr},
        {1, 640, 480, "0 0 352 240", {151, 125}, nullptr, "0"},  // 0 ms: the open ends before sizing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        Settings settings;
        settings.Size = c.size;
        settings.Size_X = c.x;
        settings.Size_Y = c.y;
        test::Script_Prompter prompter;
        Scripted_Port port;
        port.answer = [&](const QByteArray& cmd) -> std::pair<std::uint32_t, QByteArray> {
            if (cmd.startsWith("where"))
                return {c.where.isEmpty() ? MCIERR_UNSUPPORTED_FUNCTION : MCI_OK, c.where};
            return {0, cmd.startsWith("status") ? c.length : ""};
        };
        Video_Player player(settings, QStringLiteral("/clips/a b.mpg"), prompter, port);
        QSize picture(151, 125);
        ASSERT_TRUE(player.Open_Movie(77, {1024, 768}, picture));
        EXPECT_EQ(picture, c.picture);
        EXPECT_EQ(port.sent.first(), "open \"/clips/a b.mpg\" type MPEGVideo alias device1 parent 77 style 1073741824");
        // After the length probe (which leaves frames) the window asks for milliseconds again.
        const qsizetype where = port.sent.indexOf("where device1 destination");
        ASSERT_EQ(where > 0, c.length != "0");
        if (where < 0)
            continue;
        EXPECT_EQ(port.sent[where - 1], "set device1 time format ms");
        EXPECT_EQ(port.sent.value(where + 1), c.put ? QByteArray(c.put) : QByteArray());
    }
}

TEST(Video_Player, A_Busy_Alias_Is_Closed_And_Retried_A_Bounded_Number_Of_Times)
{
    struct Case {
        int busyOpens;        // opens answered with 289 before one succeeds
        std::uint32_t other;  // or this code for every open
        bool opened;
        int opens, closes;
    };
    const Case cases[] = {
        {0, 0, true, 1, 0},
        {1, 0, true, 2, 1},
        {1000, 0, false, Video_Player::Open_Attempts, Video_Player::Open_Attempts - 1},
        {0, MCIERR_FILE_NOT_FOUND, false, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.busyOpens);
        Settings settings;
        test::Script_Prompter prompter;
        Scripted_Port port;
        int busy = c.busyOpens;
        port.answer = [&](const QByteArray& cmd) -> std::pair<std::uint32_t, QByteArray> {
            if (cmd.startsWith("open"))
                return {c.other ? c.other : busy-- > 0 ? MCIERR_DUPLICATE_ALIAS : MCI_OK, {}};
            return {0, "0 0 320 240"};
        };
        Video_Player player(settings, QStringLiteral("/clips/a.mpg"), prompter, port);
        QSignalSpy failure(&player, &Player_Control::failed), close(&player, &Player_Control::closeRequested);
        QSize picture(151, 125);
        EXPECT_EQ(player.Open_Movie(1, {}, picture), c.opened);
        EXPECT_EQ(port.Count("open"), c.opens);
        EXPECT_EQ(port.Count("close"), c.closes);
        ASSERT_EQ(failure.count(), c.opened ? 0 : 1);
        if (!c.opened) {
            EXPECT_EQ(failure[0][0].toString(), Description(c.other ? c.other : MCIERR_DUPLICATE_ALIAS));
        }
        // After a failed open a tick has nothing to measure (and no length to divide by).
        if (!c.opened) {
            player.Tick();
            EXPECT_EQ(port.Count("status device1 position"), 0);
            EXPECT_EQ(close.count(), 0);
        }
    }
}

TEST(Video_Player, Closing_Reports_Every_Failure_But_Device_Not_Open)
{
    for (const std::uint32_t code : {MCI_OK, MCIERR_INVALID_DEVICE_NAME, MCIERR_DRIVER_INTERNAL}) {
        Settings settings;
        test::Script_Prompter prompter;
        Scripted_Port port;
        port.answer = [&](const QByteArray& cmd) -> std::pair<std::uint32_t, QByteArray> {
            return {cmd.startsWith("close") ? code : MCI_OK, "0 0 320 240"};
        };
        Video_Player player(settings, QStringLiteral("/clips/a.mpg"), prompter, port);
        QSize picture;
        player.Open_Movie(1, {}, picture);
        player.Close_Movie();
        const bool shown = code == MCIERR_DRIVER_INTERNAL;
        EXPECT_EQ(prompter.messages, shown ? QStringList{Description(code)} : QStringList()) << code;
        EXPECT_EQ(prompter.styles, shown ? QList<int>{Msg_Ok} : QList<int>()) << code;
    }
}

TEST(Real_Control, Play_States_Set_The_Head_Text_And_State_0_Closes)
{
    struct Case {
        int state;
        const char* text;  // nullptr: unchanged
        bool closes;
    };
    const Case cases[] = {
        {0, "Stop", true},   {1, "Connecting...", false}, {2, "Buffering...", false}, {3, "Playing", false},
        {4, "Pause", false}, {5, "Seeking", false},       {6, nullptr, false},        {-1, nullptr, false},
    };
    for (const Case& c : cases) {
        Real_Control control(QString(), "null");
        QSignalSpy text(&control, &Player_Control::headTextChanged), close(&control, &Player_Control::closeRequested);
        emit control.Player().playStateChanged(c.state);
        EXPECT_EQ(text.count(), c.text ? 1 : 0) << c.state;
        if (c.text && !text.isEmpty()) {
            EXPECT_EQ(text[0][0].toString(), QString::fromLatin1(c.text));
        }
        EXPECT_EQ(close.count(), c.closes ? 1 : 0) << c.state;
        EXPECT_EQ(control.End(), Play_End::Natural);
    }
}

TEST(Real_Control, A_Clip_Without_Picture_Keeps_The_Bar_Width_And_Times_Read_As_Clocks)
{
    EXPECT_EQ(Layout_For_Clip({0, 0}).window, QSize(210, 45));
    EXPECT_EQ(Clock_Text(65.9), QStringLiteral("1:05"));
    EXPECT_EQ(Clock_Text(3725), QStringLiteral("1:02:05"));
}

TEST(Real_Player, Ram_Lists_And_Their_Locations)
{
    EXPECT_EQ(Ram_Entries("# list\r\n\r\n  file:///a/b.rm \r\n#x\nc.rm\nrtsp://h/s.rm"),
              (QStringList{"file:///a/b.rm", "c.rm", "rtsp://h/s.rm"}));
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"file:///m/a.rm", "/m/a.rm", ""},
        {"file:///m/a%20b.rm", "/m/a b.rm", ""},  // a URL's escapes, when the raw text names no file
        {"sub/c.rm", "/base/sub/c.rm", ""},       // a plain path is relative to the list
        {"/abs/d.rm", "/abs/d.rm", ""},
        {"rtsp://host/s.rm", "", "rtsp://host/s.rm"},
        {"http://host/s.rm", "", "http://host/s.rm"},
    };
    for (const auto& [location, local, url] : cases) {
        const Real_Location where = Resolve_Location(QString::fromUtf8(location), QStringLiteral("/base"));
        EXPECT_EQ(where.local, QString::fromUtf8(local)) << location;
        EXPECT_EQ(where.url, QByteArray(url)) << location;
    }
}

}  // namespace
}  // namespace pf
