// SPDX-License-Identifier: GPL-3.0-or-later
#include "util/platform.h"

#include <gtest/gtest.h>

using namespace pf;

TEST(Platform, XWayland_Only_On_Wayland_When_The_User_Chose_No_Platform)
{
    struct Case {
        const char* wayland;
        const char* qpa;
        std::vector<const char*> args;
        const char* expected;
    };
    const Case cases[] = {
        {"wayland-0", "", {"pf"}, "xcb;wayland"},
        {"", "", {"pf"}, ""},
        {"wayland-0", "wayland", {"pf"}, ""},
        {"wayland-0", "", {"pf", "-platform", "wayland"}, ""},
        {"wayland-0", "", {"pf", "--platform=offscreen"}, ""},
        {"wayland-0", "", {"pf", "-style", "fusion"}, "xcb;wayland"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Preferred_Platform(c.wayland, c.qpa, int(c.args.size()), c.args.data()), QByteArray(c.expected))
            << c.wayland << "|" << c.qpa << "|" << c.args.size();
}
