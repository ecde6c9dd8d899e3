// SPDX-License-Identifier: GPL-3.0-or-later
// The conversions of the playback settings, without windows.
#include "dialogs/settings_edit.h"

#include <gtest/gtest.h>

using namespace pf;

TEST(Settings_Edit, Typed_Sizes_Convert_Alone_With_Halves_To_Even)
{
    struct Case {
        const char* text;
        std::optional<qint16> want;
    };
    const Case cases[] = {
        {"640", 640},
        {"1000", 1000},
        {"0", 0},
        {"-5", -5},
        {" 320 ", 320},
        {"640.5", 640},
        {"641.5", 642},
        {"-0.5", 0},
        {"-1.5", -2},
        {"640.4", 640},
        {"６４０", 640},
        {"32767.4", 32767},
        {"-32768", -32768},
        {"32767.5", std::nullopt},
        {"40000", std::nullopt},
        {"abc", std::nullopt},
        {"", std::nullopt},
        {"12px", std::nullopt},
        {"nan", std::nullopt},
        {"inf", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Text_To_Int16(QString::fromUtf8(c.text)), c.want) << c.text;

    const QStringList widths = Size_Items(320, 800), heights = Size_Items(240, 600);
    EXPECT_EQ(widths.size(), 49);
    EXPECT_EQ(heights.size(), 37);
    EXPECT_EQ(QStringList({widths.front(), widths.back(), heights.front(), heights.back()}),
              QStringList({"320", "800", "240", "600"}));
}
