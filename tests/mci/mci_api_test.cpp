// SPDX-License-Identifier: GPL-3.0-or-later
// clsMCIApi against a port that records every command string and answers from a script:
// the exact wire text, the replies it reads, and what it records on failure.
#include "mci/mci_api.h"
#include "mci/mci_errors.h"
#include "mci/mci_service.h"

#include <QList>
#include <QPair>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace pf {
namespace {

class Recording_Port : public Mci_Port {
public:
    struct Answer {
        std::uint32_t code = 0;
        QByteArray reply;
    };
    QList<QByteArray> sent;
    QList<std::uint32_t> rooms;
    QList<Answer> script;  // answered in order; then success with no reply

    std::uint32_t Send(const QByteArray& command, char* reply, std::uint32_t room) override
    {
        sent << command;
        rooms << room;
        const Answer a = script.isEmpty() ? Answer{} : script.takeFirst();
        if (a.code == 0 && reply && room > 0)
            std::strncpy(reply, a.reply.constData(), room - 1);
        return a.code;
    }
    bool Error_String(std::uint32_t code, char* text, std::uint32_t room) override
    {
        return Mci_Service::Get_Error_String(code, text, room);
    }
};

class Mci_Api : public ::testing::Test {
protected:
    Recording_Port port;
    clsMCIApi mci{port};
};

TEST_F(Mci_Api, SendsExactlyTheCommandStrings)
{
    const QList<QPair<std::function<void(clsMCIApi&)>, QByteArray>> cases = {
        {[](clsMCIApi& m) { m.cmdPlay("device1", -1, -1, 0); }, "play device1"},
        {[](clsMCIApi& m) { m.cmdPlay("device1", 0, 100, -1); }, "play device1 from 0 to 100 fullscreen"},
        {[](clsMCIApi& m) { m.cmdPlay("device1", -1, 7, 0); }, "play device1 to 7"},
        {[](clsMCIApi& m) { m.cmdChannels("device1", 2, -1); }, "set device1 audio on"},
        {[](clsMCIApi& m) { m.cmdChannels("device1", 0, 0); }, "set device1 audio left off"},
        {[](clsMCIApi& m) { m.cmdChannels("device1", 1, 5); }, "set device1 audio right on"},
        {[](clsMCIApi& m) { m.cmdVolume("device1", 2, 500); }, "setaudio device1 volume to 500"},
        {[](clsMCIApi& m) { m.cmdVolume("device1", 0, 5); }, "setaudio device1 left volume to 5"},
        {[](clsMCIApi& m) { m.cmdVolume("device1", 1, -5); }, "setaudio device1 right volume to -5"},
        {[](clsMCIApi& m) { m.cmdVolume("device1", 9, 5); }, "setaudio device1 5"},
        {[](clsMCIApi& m) { m.cmdSeek("device1", 5); }, "seek device1 to 5000"},
        {[](clsMCIApi& m) { m.cmdSeek("device1", -2147483); }, "seek device1 to -2147483000"},
        {[](clsMCIApi& m) { m.cmdToStart("device1"); }, "seek device1 to start"},
        {[](clsMCIApi& m) { m.cmdToEnd("device1"); }, "seek device1 to end"},
        {[](clsMCIApi& m) { m.cmdTimeFormat("device1", "ms"); }, "set device1 time format ms"},
        {[](clsMCIApi& m) { m.cmdGetTimeFormat("device1"); }, "status device1 time format"},
        {[](clsMCIApi& m) { m.cmdRate("device1", 1000); }, "set device1 speed 1000"},
        {[](clsMCIApi& m) { m.cmdVideoOutput("device1", 0); }, "set device1 video off"},
        {[](clsMCIApi& m) { m.cmdVideoOutput("device1", 2); }, "set device1 video on"},
        {[](clsMCIApi& m) { m.cmdResize("device1", 0, 0, 640, 480); }, "put device1 window at 0 0 640 480"},
        {[](clsMCIApi& m) { m.cmdResizeClient("device1", -1, 2, 3, 4); }, "put device1 window client at -1 2 3 4"},
        {[](clsMCIApi& m) { m.cmdStop("device1"); }, "stop device1"},
        {[](clsMCIApi& m) { m.cmdPause("device1"); }, "pause device1"},
        {[](clsMCIApi& m) { m.cmdConfigure("device1"); }, "configure device1"},
        {[](clsMCIApi& m) { m.CloseDevice("device1"); }, "close device1"},
        {[](clsMCIApi& m) { m.cmdGetCopyRight("device1"); }, "info device1 copyright"},
        {[](clsMCIApi& m) { m.cmdGetName("device1"); }, "info device1 name"},
        {[](clsMCIApi& m) { m.cmdGetProduct("device1"); }, "info device1 product"},
        {[](clsMCIApi& m) { m.cmdGetFormatTag("device1"); }, "status device1 format tag"},
        {[](clsMCIApi& m) { m.cmdGetStatus("device1"); }, "status device1 mode"},
        {[](clsMCIApi& m) { m.cmdGetPosition("device1"); }, "status device1 position"},
        {[](clsMCIApi& m) { m.cmdGetLength("device1"); }, "status device1 length"},
        {[](clsMCIApi& m) { m.cmdGetSize("device1"); }, "where device1 destination"},
        {[](clsMCIApi& m) {
             qint16 v;
             m.cmdGetVolume("device1", 1, v);
         },
         "status device1 right volume"},
        {[](clsMCIApi& m) {
             qint16 v;
             m.cmdGetVolume("device1", 3, v);
         },
         "status device1 "},
    };
    for (const auto& [call, expected] : cases) {
        port.sent.clear();
        call(mci);
        ASSERT_EQ(port.sent.size(), 1);
        EXPECT_EQ(port.sent.first(), expected);
    }
}

TEST_F(Mci_Api, GivesEachReplyItsRoom)
{
    mci.cmdGetProduct("d");
    mci.cmdGetName("d");
    mci.cmdGetStatus("d");
    mci.cmdGetLength("d");
    mci.cmdPlay("d", -1, -1, 0);
    EXPECT_EQ(port.rooms, (QList<std::uint32_t>{32, 255, 254, 254, 0}));
}

TEST_F(Mci_Api, OpenQuotesThePathAndProbesTheLength)
{
    port.script = {{}, {}, {0, "10010"}, {}, {0, "300"}};
    EXPECT_EQ(mci.OpenDevice("MPEGVideo", "device1", "/clips/a b.mpg", 1234, "1073741824"), 0);
    EXPECT_EQ(port.sent,
              (QList<QByteArray>{"open \"/clips/a b.mpg\" type MPEGVideo alias device1 parent 1234 style 1073741824",
                                 "set device1 time format ms", "status device1 length",
                                 "set device1 time format frames", "status device1 length"}));
    EXPECT_EQ(mci.TotalTime(), 10010);
    EXPECT_EQ(mci.TotalFrames(), 300);
    EXPECT_EQ(mci.FramesPerSec(), 30);  // 29.97 rounded
}

TEST_F(Mci_Api, OpenOfAFileWithoutLengthEndsInAnArithmeticError)
{
    port.script = {{}, {}, {0, "0"}, {}, {0, "7"}};
    EXPECT_THROW(mci.OpenDevice("MPEGVideo", "device1", "/a.mpg", 0, "0"), Mci_Arithmetic_Error);
    EXPECT_EQ(port.sent.size(), 5);  // open and the whole probe; no close
    EXPECT_EQ(mci.TotalTime(), 0);
    EXPECT_EQ(mci.TotalFrames(), 7);
    EXPECT_EQ(mci.FramesPerSec(), 0);
}

TEST_F(Mci_Api, FailedOpenSendsNothingMoreAndKeepsTheOldLengths)
{
    port.script = {{}, {}, {0, "2000"}, {}, {0, "50"}, {MCIERR_DUPLICATE_ALIAS, {}}};
    mci.OpenDevice("MPEGVideo", "device1", "/a.mpg", 0, "0");
    port.sent.clear();
    EXPECT_EQ(mci.OpenDevice("MPEGVideo", "device1", "/b.mpg", 0, "0"), 1);
    EXPECT_EQ(port.sent.size(), 1);
    EXPECT_EQ(mci.ErrorNumber(), 289);
    EXPECT_EQ(mci.TotalTime(), 2000);
    EXPECT_EQ(mci.FramesPerSec(), 25);
}

TEST_F(Mci_Api, ErrorStaysRecordedThroughLaterSuccesses)
{
    EXPECT_TRUE(mci.ErrorDescription().isEmpty());
    port.script = {{MCIERR_INVALID_DEVICE_NAME, {}}};
    EXPECT_EQ(mci.cmdGetPosition("device1"), -1);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(mci.cmdStop("device1"), 0);
    EXPECT_EQ(mci.cmdGetStatus("device1"), "");
    EXPECT_EQ(mci.ErrorNumber(), 263);
    EXPECT_EQ(mci.ErrorDescription(), QStringLiteral("指定したﾃﾞﾊﾞｲｽは開かれていないか、ありません。"));
    port.script = {{MCIERR_UNSUPPORTED_FUNCTION, {}}};
    EXPECT_EQ(mci.cmdGetStatus("device1"), clsMCIApi::Error_Reply);
    EXPECT_EQ(mci.ErrorNumber(), 274);
}

TEST_F(Mci_Api, ReadsTheLeadingNumberRoundingHalvesToEven)
{
    const QList<QPair<QByteArray, qint32>> cases = {
        {"2000", 2000}, {"2.5", 2}, {"3.5", 4}, {"-2.5", -2}, {"12 frames", 12},
        {"abc", 0},     {"", 0},    {"1e3", 1}, {"+7.49", 7}, {"99999999999", 2147483647},
    };
    for (const auto& [reply, expected] : cases) {
        port.script = {{0, reply}};
        EXPECT_EQ(mci.cmdGetLength("d"), expected) << reply.constData();
    }
    qint16 volume = 5;
    port.script = {{0, "500.5"}};
    EXPECT_EQ(mci.cmdGetVolume("d", 2, volume), 0);
    EXPECT_EQ(volume, 500);
    port.script = {{0, "70000"}};
    mci.cmdGetVolume("d", 2, volume);
    EXPECT_EQ(volume, 32767);
    port.script = {{MCIERR_INVALID_DEVICE_NAME, "999"}};
    EXPECT_EQ(mci.cmdGetVolume("d", 2, volume), 1);
    EXPECT_EQ(volume, 0);  // a failed query has no reply
}

TEST_F(Mci_Api, SizeIsTheDifferenceOfTheDestinationCorners)
{
    const QList<QPair<QByteArray, QString>> cases = {
        {"0 0 352 240", "352 240"},        {"10 20 330 260", "320 240"},        {"0 0 352 240 9", "352 240"},
        {"1 2 3", clsMCIApi::Error_Reply}, {"a b c d", clsMCIApi::Error_Reply}, {"0 0 40000 2", clsMCIApi::Error_Reply},
        {"", clsMCIApi::Error_Reply},
    };
    for (const auto& [reply, expected] : cases) {
        port.script = {{0, reply}};
        EXPECT_EQ(mci.cmdGetSize("d"), expected) << reply.constData();
        if (expected == clsMCIApi::Error_Reply) {
            EXPECT_EQ(mci.ErrorNumber(), MCIERR_PARSER_INTERNAL);
        }
    }
}

TEST_F(Mci_Api, SeekBeyondThe32BitRangeFailsWithoutSending)
{
    EXPECT_EQ(mci.cmdSeek("device1", 2147484), 1);
    EXPECT_EQ(mci.cmdSeek("device1", -2147484), 1);
    EXPECT_TRUE(port.sent.isEmpty());
    EXPECT_EQ(mci.ErrorNumber(), MCIERR_OUTOFRANGE);
    EXPECT_FALSE(mci.ErrorDescription().isEmpty());
    EXPECT_EQ(mci.cmdSeek("device1", 2147483), 0);
    EXPECT_EQ(port.sent.last(), "seek device1 to 2147483000");
}

}  // namespace
}  // namespace pf
