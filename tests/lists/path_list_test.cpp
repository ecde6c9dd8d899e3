// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/path_list.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace pf;

TEST(Path_List, SortedCaseInsensitiveWithDuplicates)
{
    Path_List list;
    list.Add(QStringLiteral("/c/b.mpg"));
    list.Add(QStringLiteral("/c/A.mpg"));
    list.Add(QStringLiteral("/c/a.mpg"));
    list.Add(QStringLiteral("/c/b.mpg"));
    EXPECT_EQ(list.Entries(), (QStringList{"/c/A.mpg", "/c/a.mpg", "/c/b.mpg", "/c/b.mpg"}));

    list.Add_All({QStringLiteral("/c/C.mpg"), QStringLiteral("/a/z.mpg")});
    EXPECT_EQ(list.Entries(), (QStringList{"/a/z.mpg", "/c/A.mpg", "/c/a.mpg", "/c/b.mpg", "/c/b.mpg", "/c/C.mpg"}));
}

TEST(Path_List, SelectionFollowsItsEntry)
{
    Path_List list;
    list.Add(QStringLiteral("/b"));
    list.Add(QStringLiteral("/d"));
    list.setSelected(1);
    QSignalSpy spy(&list, &Path_List::selectionChanged);
    list.Add(QStringLiteral("/a"));  // goes before the selection
    EXPECT_EQ(list.Selected_Path(), QStringLiteral("/d"));
    list.Remove_At(0);
    EXPECT_EQ(list.Selected_Path(), QStringLiteral("/d"));
    list.Remove_At(1);
    EXPECT_EQ(list.Selected(), -1);
    EXPECT_EQ(spy.count(), 3);
    list.setSelected(7);
    EXPECT_EQ(list.Selected(), -1);
}
