// SPDX-License-Identifier: GPL-3.0-or-later
// The command grammar, table-driven: what parses, and the code and offset of what does not.
#include "mci/mci_errors.h"
#include "mci/mci_parser.h"

#include <gtest/gtest.h>

namespace pf {
namespace {

struct Case {
    const char* text;
    std::uint32_t code;
    std::size_t pos;
};

TEST(Mci_Parser, AcceptsOrRejectsEachCommandAtTheRightPlace)
{
    const Case cases[] = {
        {"open \"/a b/c.mpg\" type MPEGVideo alias device1 parent 1234 style 1073741824", 0, 0},
        {"OPEN c.mpg TYPE mpegvideo ALIAS Dev SHAREABLE style child", 0, 0},
        {"play device1", 0, 0},
        {"play device1 from 0 to 100 fullscreen", 0, 0},
        {"set device1 time format ms", 0, 0},
        {"set device1 time format milliseconds audio left off speed 0 video on", 0, 0},
        {"setaudio device1 left volume to 250", 0, 0},
        {"status device1 time format", 0, 0},
        {"put device1 window client at 0 0 640 480", 0, 0},
        {"seek device1 to end", 0, 0},
        {"seek device1 to -5", 0, 0},
        {"info device1 product", 0, 0},
        {"  close\tdevice1  ", 0, 0},
        {"", MCIERR_MISSING_COMMAND_STRING, 0},
        {"   ", MCIERR_MISSING_COMMAND_STRING, 0},
        {"jump device1", MCIERR_UNRECOGNIZED_COMMAND, 0},
        {"\"play\" device1", MCIERR_UNRECOGNIZED_COMMAND, 0},
        {"play", MCIERR_MISSING_DEVICE_NAME, 4},
        {"play device1 from", MCIERR_MISSING_PARAMETER, 17},
        {"play device1 from x2", MCIERR_BAD_INTEGER, 18},
        {"play device1 from 2147483648", MCIERR_BAD_INTEGER, 18},
        {"play device1 from 1 from 2", MCIERR_DUPLICATE_FLAGS, 20},
        {"play device1 backwards", MCIERR_UNRECOGNIZED_KEYWORD, 13},
        {"set device1 time format hours", MCIERR_BAD_TIME_FORMAT, 24},
        {"set device1 audio loud", MCIERR_BAD_CONSTANT, 18},
        {"set device1 time", MCIERR_UNRECOGNIZED_KEYWORD, 12},
        {"seek device1 to middle", MCIERR_BAD_INTEGER, 16},
        {"seek device1", MCIERR_MISSING_PARAMETER, 12},
        {"status device1", MCIERR_MISSING_PARAMETER, 14},
        {"status device1 length position", MCIERR_FLAGS_NOT_COMPATIBLE, 22},
        {"put device1 window at 0 0 640", MCIERR_MISSING_PARAMETER, 29},
        {"open \"/a.mpg type MPEGVideo", MCIERR_NO_CLOSING_QUOTE, 5},
        {"open \"/a.mpg\"x type MPEGVideo", MCIERR_EXTRA_CHARACTERS, 13},
        {"open a.mpg alias", MCIERR_MISSING_STRING_ARGUMENT, 16},
        {"open \"a\"\" type MPEGVideo", MCIERR_NO_CLOSING_QUOTE, 5},
        {"open \"a\" \"b\"c", MCIERR_EXTRA_CHARACTERS, 12},
        {"put device1 window at 0 0 -16777216 0", MCIERR_OUTOFRANGE, 26},
    };
    for (const Case& c : cases) {
        const Mci_Parse_Result r = Parse_Mci_Command(c.text);
        EXPECT_EQ(r.code, c.code) << c.text;
        EXPECT_EQ(r.errorPos, c.pos) << c.text;
    }
}

TEST(Mci_Parser, ReadsNamesValuesAndConstants)
{
    const Mci_Parse_Result open = Parse_Mci_Command("open \"/映像 a.mpg\" Type MPEGVideo alias Device1 parent -5");
    ASSERT_EQ(open.code, 0u);
    EXPECT_EQ(open.command.verb, Mci_Verb::Open);
    EXPECT_EQ(open.command.device, "/映像 a.mpg");
    EXPECT_EQ(open.command.Find("type")->word, "MPEGVideo");
    EXPECT_EQ(open.command.Find("alias")->word, "Device1");
    EXPECT_EQ(open.command.Find("parent")->number[0], -5);

    const Mci_Parse_Result set = Parse_Mci_Command("set d AUDIO Left ON Time Format FRAMES");
    ASSERT_EQ(set.code, 0u);
    EXPECT_EQ(set.command.Find("audio left")->word, "on");
    EXPECT_EQ(set.command.Find("time format")->word, "frames");
    EXPECT_EQ(set.command.Find("audio"), nullptr);

    const Mci_Parse_Result put = Parse_Mci_Command("put d window at 1 -2 3 4");
    ASSERT_EQ(put.code, 0u);
    const Mci_Flag* rect = put.command.Find("window at");
    EXPECT_EQ(std::vector<int>(rect->number, rect->number + 4), (std::vector<int>{1, -2, 3, 4}));

    const Mci_Parse_Result seek = Parse_Mci_Command("seek d to 0");
    EXPECT_TRUE(seek.command.Find("to")->hasNumber);
    EXPECT_FALSE(Parse_Mci_Command("seek d to start").command.Find("to")->hasNumber);
}

}  // namespace
}  // namespace pf
