#include "lists/path_list.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace pf;

TEST(PathList, SortedCaseInsensitiveWithDuplicates)
{
    PathList list;
    list.add(QStringLiteral("/c/b.mpg"));
    list.add(QStringLiteral("/c/A.mpg"));
    list.add(QStringLiteral("/c/a.mpg"));
    list.add(QStringLiteral("/c/b.mpg"));
    EXPECT_EQ(list.entries(), (QStringList{"/c/A.mpg", "/c/a.mpg", "/c/b.mpg", "/c/b.mpg"}));

    list.addAll({QStringLiteral("/c/C.mpg"), QStringLiteral("/a/z.mpg")});
    EXPECT_EQ(list.entries(), (QStringList{"/a/z.mpg", "/c/A.mpg", "/c/a.mpg", "/c/b.mpg", "/c/b.mpg", "/c/C.mpg"}));
}

TEST(PathList, SelectionFollowsItsEntry)
{
    PathList list;
    list.add(QStringLiteral("/b"));
    list.add(QStringLiteral("/d"));
    list.setSelected(1);
    QSignalSpy spy(&list, &PathList::selectionChanged);
    list.add(QStringLiteral("/a"));  // goes before the selection
    EXPECT_EQ(list.selectedPath(), QStringLiteral("/d"));
    list.removeAt(0);
    EXPECT_EQ(list.selectedPath(), QStringLiteral("/d"));
    list.removeAt(1);
    EXPECT_EQ(list.selected(), -1);
    EXPECT_EQ(spy.count(), 3);
    list.setSelected(7);
    EXPECT_EQ(list.selected(), -1);
}
