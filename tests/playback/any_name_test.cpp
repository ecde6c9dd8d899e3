// Any file name reaches the device as one word, and a clip named with quotation marks plays;
// commands with 32-bit extremes and codes without a description are answered, not crashed on.
#include "playback/mci_api.h"
#include "playback/mci_errors.h"
#include "playback/mci_parser.h"
#include "playback/mci_service.h"
#include "playback/mpeg_video_device.h"

#include "support/temp_dir.h"

#include <QTest>

#include <gtest/gtest.h>

#include <optional>

namespace pf {
namespace {

// Parses the first command it is sent, as the service would, and keeps the result.
class Parsing_Port : public Mci_Port {
public:
    std::optional<Mci_Parse_Result> first;
    std::uint32_t Send(const QByteArray& command, char*, std::uint32_t) override
    {
        if (!first)
            first = Parse_Mci_Command(std::string_view(command.constData(), size_t(command.size())));
        return 0;
    }
    bool Error_String(std::uint32_t code, char* text, std::uint32_t room) override
    {
        return Mci_Service::Get_Error_String(code, text, room);
    }
};

TEST(Any_Name, EveryFileNameIsOneWordOfTheOpenCommand)
{
    const char* names[] = {
        "/v/plain.mpg", "/v/a \"b\".mpg", "\"", "\"\"", "/v/x\" type Other alias evil \"y.mpg",
        "/v/\" shareable", "/v/end\"", "/v/tab\tand\nline \"\"\"\".mpg", "",
    };
    for (const char* name : names) {
        SCOPED_TRACE(name);
        Parsing_Port port;
        clsMCIApi mci(port);
        mci.OpenDevice("MPEGVideo", "device1", QString::fromUtf8(name), 7, "1073741824");
        ASSERT_EQ(port.first->code, 0u) << port.first->error_pos;
        EXPECT_EQ(port.first->command.device, name);
        EXPECT_EQ(port.first->command.flags.size(), 4u);  // type, alias, parent, style and nothing else
        EXPECT_EQ(port.first->command.Find("alias")->word, "device1");
    }

    // A clip named with quotation marks opens and plays to its end.
    Register_Mpeg_Driver({"null"});
    test::Temp_Dir dir;
    const QString clip = dir.write(QStringLiteral("映像 \"引用\" \"\".mpg"),
                                   test::Read_All(QStringLiteral(PF_TEST_MEDIA_DIR "/mpeg1_2s.mpg")));
    clsMCIApi mci;
    ASSERT_EQ(mci.OpenDevice("MPEGVideo", "device1", clip, 0, "1073741824"), 0) << mci.ErrorNumber();
    EXPECT_NEAR(mci.TotalTime(), 2000, 40);
    EXPECT_EQ(mci.cmdGetName("device1"), QStringLiteral("映像 \"引用\" \"\".mpg"));
    mci.cmdTimeFormat("device1", "ms");
    mci.cmdRate("device1", 4000);
    ASSERT_EQ(mci.cmdPlay("device1", -1, -1, 0), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return mci.cmdGetPosition("device1") == mci.TotalTime(); }, 20000));
    EXPECT_EQ(mci.CloseDevice("device1"), 0);
}

TEST(Any_Name, ExtremeValuesAndUnknownCodesAreAnswered)
{
    Register_Mpeg_Driver({"null"});
    Mci_Service& service = Mci_Service::Instance();
    constexpr std::int64_t Any = -1;
    ASSERT_EQ(service.Send_String(QStringLiteral("open \"" PF_TEST_MEDIA_DIR "/mpeg1_2s.mpg\" type MPEGVideo alias d")),
              0u);
    const struct {
        const char* command;
        std::int64_t code;  // Any: whatever the device answers, as long as it is described
    } cases[] = {
        {"put d window at 2147483647 2147483647 2147483647 2147483647", MCIERR_OUTOFRANGE},
        {"put d window client at -2147483648 -2147483648 -2147483648 -2147483648", MCIERR_OUTOFRANGE},
        {"put d window at 0 0 16777216 1", MCIERR_OUTOFRANGE},
        {"put d window at 16777215 16777215 0 0", MCI_OK},
        {"put d window at -16777215 -16777215 16777215 16777215", MCI_OK},
        {"play d from 2147483647 to -2147483648", Any},
        {"seek d to -2147483648", Any},
        {"set d speed 2147483647", Any},
        {"set d speed -2147483648", Any},
        {"setaudio d volume to -2147483648", Any},
        {"open \"a\"\"b type MPEGVideo alias e", MCIERR_NO_CLOSING_QUOTE},
    };
    for (const auto& c : cases) {
        const std::uint32_t code = service.Send_String(QString::fromUtf8(c.command));
        if (c.code == Any)
            EXPECT_TRUE(code == 0 || !Mci_Error_Text(code).empty()) << c.command;
        else
            EXPECT_EQ(code, c.code) << c.command;
    }
    service.Close_All();

    // Codes the service never returns have no description, and say so without reading anything.
    for (std::uint32_t code : {0u, 1u, 256u, 304u, 0xffffffffu}) {
        char text[8] = "xxxxxxx";
        EXPECT_FALSE(Mci_Service::Get_Error_String(code, text, sizeof text)) << code;
        EXPECT_STREQ(text, "");
    }
}

}  // namespace
}  // namespace pf
