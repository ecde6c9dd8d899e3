// SPDX-License-Identifier: GPL-3.0-or-later
#include "util/command_line.h"
#include "util/version.h"

#include <gtest/gtest.h>

using namespace pf;

TEST(Command_Line, Files_Version_Help_And_Unknown_Options)
{
    using A = Command_Line::Action;
    struct Case {
        QStringList args;
        A action;
        QStringList files;
    };
    const Case cases[] = {
        {{"parlo_film"}, A::Run, {}},
        {{"parlo_film", "a.mpg", "/v/b.MPEG"}, A::Run, {"/home/u/a.mpg", "/v/b.MPEG"}},
        {{"parlo_film", "../x/./c.mpg"}, A::Run, {"/home/x/c.mpg"}},
        {{"parlo_film", "--version"}, A::Print_Version, {}},
        {{"parlo_film", "a.mpg", "-h"}, A::Print_Help, {"/home/u/a.mpg"}},
        {{"parlo_film", "--", "--help", "-"}, A::Run, {"/home/u/--help", "/home/u/-"}},
        {{"parlo_film", "--bogus", "a.mpg"}, A::Error, {"/home/u/a.mpg"}},
    };
    for (const Case& c : cases) {
        const Command_Line cl = Parse_Command_Line(c.args, QStringLiteral("/home/u"));
        EXPECT_EQ(cl.action, c.action) << c.args.join(u' ').toStdString();
        EXPECT_EQ(cl.files, c.files) << c.args.join(u' ').toStdString();
    }
    EXPECT_TRUE(Version_Text().contains(QStringLiteral(PF_VERSION)));
    EXPECT_TRUE(Help_Text().contains(QStringLiteral("--version")));
}
