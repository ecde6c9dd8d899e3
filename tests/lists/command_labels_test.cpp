// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/command_labels.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace pf;

TEST(CommandLabels, StartUpRow)
{
    struct Case {
        int join, fav;
        std::vector<int> on;
    };
    const Case cases[] = {
        {0, 0, {0, 1, 18, 22, 23, 24, 25, 26, 27, 28}},
        {2, 0, {0, 1, 10, 11, 18, 22, 23, 24, 25, 26, 27, 28}},
        {0, 1, {0, 1, 16, 17, 18, 22, 23, 24, 25, 26, 27, 28}},
    };
    for (const Case& c : cases) {
        Command_Labels labels;
        labels.Set_Range(Cmd(0), Cmd(28), true);  // whatever came before, the row decides
        labels.Apply_Start_Up(c.join, c.fav);
        std::vector<int> on;
        for (int i = 0; i < Command_Label_Count; ++i)
            if (labels.Enabled(Cmd(i)))
                on.push_back(i);
        EXPECT_EQ(on, c.on) << c.join << "," << c.fav;
    }
}

TEST(CommandLabels, ChangesAreSignalledOnceAndMissingIndicesIgnored)
{
    Command_Labels labels;
    QSignalSpy spy(&labels, &Command_Labels::changed);
    labels.Set_Range(Cmd(10), Cmd(14), true);  // 12 does not exist
    EXPECT_EQ(spy.count(), 4);
    labels.Set(Cmd(11), true);
    EXPECT_EQ(spy.count(), 4);
    EXPECT_FALSE(labels.Enabled(Cmd(12)));
    EXPECT_FALSE(labels.Enabled(Cmd(29)));
    EXPECT_EQ(Command_Caption(Cmd(19)), QStringLiteral(" >"));
    EXPECT_EQ(Command_Caption(Cmd(21)), QString());
}
