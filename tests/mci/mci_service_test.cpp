// SPDX-License-Identifier: GPL-3.0-or-later
// The service's own rules, with a small device type of the test's own: aliases, the codes for
// devices that are not open, reply room, and the description of every code it returns.
#include "mci/mci_api.h"
#include "mci/mci_errors.h"
#include "mci/mci_service.h"

#include <QLoggingCategory>
#include <QTimer>

#include <gtest/gtest.h>

namespace pf {
namespace {

// Answers every query with the name of its item, so replies of any length can be asked for;
// "play" waits until the device is closed.
class Echo_Device : public Mci_Device {
public:
    static inline int alive = 0;
    explicit Echo_Device(std::shared_ptr<Wait_Token> token) : token_(std::move(token)) { ++alive; }
    ~Echo_Device() override { --alive; }
    std::uint32_t Execute(const Mci_Command& command, Mci_Reply& reply) override
    {
        if (command.verb == Mci_Verb::Play)
            Wait_Until(*token_, -1, [](QObject&, const std::function<void()>&) {});
        else if (command.verb == Mci_Verb::Where)
            reply = Mci_Reply::Rectangle(0, 0, 352, -240);
        else if (!command.flags.empty())
            reply = Mci_Reply::Text(QByteArray::fromStdString(command.flags.front().key));
        return MCI_OK;
    }

private:
    std::shared_ptr<Wait_Token> token_;
};

class Mci_Service_Rules : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Mci_Service::Instance().Register_Device_Type(
            "Echo", {"echo"}, [](const Mci_Open_Request& r, std::uint32_t& error) {
                if (r.element == "slow")  // opens until closed
                    Wait_Until(*r.token, -1, [](QObject&, const std::function<void()>&) {});
                if (r.element == "missing") {
                    error = MCIERR_FILE_NOT_FOUND;
                    return std::unique_ptr<Mci_Device>();
                }
                return std::unique_ptr<Mci_Device>(new Echo_Device(r.token));
            });
    }
    void TearDown() override { service.Close_All(); }

    std::uint32_t Send(const char* command, QString* reply = nullptr, std::uint32_t room = 0)
    {
        return service.Send_String(QString::fromUtf8(command), reply, room);
    }

    Mci_Service& service = Mci_Service::Instance();
};

TEST_F(Mci_Service_Rules, KeepsDevicesByAliasWithoutRegardToCase)
{
    EXPECT_EQ(Send("open \"a b.echo\" type echo alias Device1"), 0u);
    EXPECT_EQ(Send("open other type Echo alias DEVICE1"), MCIERR_DUPLICATE_ALIAS);
    EXPECT_EQ(Send("open x.echo"), 0u);  // the type by extension, the alias is the name
    EXPECT_EQ(Send("open x.echo"), MCIERR_DEVICE_OPEN);
    EXPECT_EQ(service.Open_Device_Count(), 2);
    QString reply;
    EXPECT_EQ(Send("status device1 mode", &reply, 254), 0u);
    EXPECT_EQ(reply, "mode");
    EXPECT_EQ(Send("close DEVICE1"), 0u);
    EXPECT_EQ(Send("close device1"), MCIERR_INVALID_DEVICE_NAME);
    EXPECT_EQ(Send("close all"), 0u);
    EXPECT_EQ(service.Open_Device_Count(), 0);
}

TEST_F(Mci_Service_Rules, AnswersTheStandardCodes)
{
    Send("open a type echo alias d");
    const struct {
        const char* command;
        std::uint32_t code;
    } cases[] = {
        {"status nothere length", MCIERR_INVALID_DEVICE_NAME},
        {"status nothere nonsense", MCIERR_INVALID_DEVICE_NAME},
        {"status all length", MCIERR_CANNOT_USE_ALL},
        {"rewind d", MCIERR_UNRECOGNIZED_COMMAND},
        {"status d loudness", MCIERR_UNRECOGNIZED_KEYWORD},
        {"play d from ten", MCIERR_BAD_INTEGER},
        {"open b type Television alias e", MCIERR_INVALID_DEVICE_NAME},
        {"open b.txt alias e", MCIERR_EXTENSION_NOT_FOUND},
        {"open missing type echo alias e", MCIERR_FILE_NOT_FOUND},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Send(c.command), c.code) << c.command;
}

TEST_F(Mci_Service_Rules, CloseFreesAnAliasAtOnceWhileItsDeviceWaitsAndDestroysItAfterwards)
{
    Send("open a type echo alias d");
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(Send("status d mode"), MCIERR_DEVICE_NOT_READY);  // busy playing
        EXPECT_EQ(Send("close d"), 0u);
        EXPECT_EQ(Echo_Device::alive, 1);
        EXPECT_EQ(Send("open b type echo alias d"), 0u);
    });
    EXPECT_EQ(Send("play d"), 0u);
    EXPECT_EQ(Echo_Device::alive, 1);
    QTimer::singleShot(0, [&] { EXPECT_EQ(Send("close s"), 0u); });
    EXPECT_EQ(Send("open slow type echo alias s"), MCIERR_DEVICE_NOT_READY);
    EXPECT_EQ(Send("status s mode"), MCIERR_INVALID_DEVICE_NAME);
    EXPECT_EQ(Echo_Device::alive, 1);
}

TEST_F(Mci_Service_Rules, WritesRepliesOnlyWithinTheirRoom)
{
    Send("open a type echo alias d");
    char buffer[16];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(service.Send_String(QByteArray("status d position"), buffer, 9), 0u);  // 8 letters and NUL
    EXPECT_STREQ(buffer, "position");
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(service.Send_String(QByteArray("status d position"), buffer, 8), MCIERR_PARAM_OVERFLOW);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(buffer[1], 'x');
    EXPECT_EQ(service.Send_String(QByteArray("where d destination"), buffer, 16), 0u);
    EXPECT_STREQ(buffer, "0 0 352 -240");
    EXPECT_EQ(service.Send_String(QByteArray("status d position"), nullptr, 0), 0u);
}

TEST_F(Mci_Service_Rules, DescribesEveryCodeItReturns)
{
    for (std::uint32_t code = 257; code <= 350; ++code) {
        char text[255];
        const bool known = Mci_Service::Get_Error_String(code, text, sizeof text);
        EXPECT_EQ(known, std::strlen(text) > 0) << code;
        // Japanese, whole in the room every caller gives, and of no other system.
        EXPECT_EQ(known, QString::fromUtf8(text).contains(QStringLiteral("。"))) << code;
        EXPECT_LT(Mci_Error_Text(code).size(), sizeof text - 1) << code;
        EXPECT_FALSE(QString::fromUtf8(text).contains(QStringLiteral("Windows"))) << code;
    }
    for (std::uint32_t code : {259u, 261u, 263u, 266u, 268u, 270u, 274u, 275u, 281u, 282u, 289u, 293u, 296u, 512u}) {
        char text[255] = {};
        EXPECT_TRUE(Mci_Service::Get_Error_String(code, text, sizeof text)) << code;
    }
    char small[8];
    EXPECT_TRUE(Mci_Service::Get_Error_String(263, small, sizeof small));
    EXPECT_STREQ(small, "指定");  // cut between characters, never inside one
    EXPECT_FALSE(Mci_Service::Get_Error_String(1, small, sizeof small));
    EXPECT_STREQ(small, "");
}

TEST_F(Mci_Service_Rules, ClassReportsAQueryOnAnAliasThatIsNotOpen)
{
    static QString logged;
    QLoggingCategory::setFilterRules(QStringLiteral("parlo_film.mci=true"));
    const QtMessageHandler previous
        = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) { logged += text; });
    clsMCIApi mci;
    EXPECT_EQ(mci.cmdGetPosition("device1"), -1);
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules({});
    EXPECT_TRUE(logged.endsWith(QStringLiteral("263 指定したﾃﾞﾊﾞｲｽは開かれていないか、ありません。")))
        << logged.toStdString();
    EXPECT_EQ(mci.ErrorNumber(), 263);
    EXPECT_EQ(mci.cmdGetStatus("device1"), clsMCIApi::Error_Reply);
    EXPECT_EQ(mci.cmdGetSize("device1"), clsMCIApi::Error_Reply);
    EXPECT_EQ(mci.CloseDevice("device1"), 1);
    EXPECT_EQ(mci.ErrorNumber(), 263);
    EXPECT_EQ(mci.ErrorDescription(), QStringLiteral("指定したﾃﾞﾊﾞｲｽは開かれていないか、ありません。"));
}

}  // namespace
}  // namespace pf
