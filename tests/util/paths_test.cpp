// SPDX-License-Identifier: GPL-3.0-or-later
#include "util/paths.h"

#include "support/temp_dir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace pf;

TEST(PathText, ParentFolderAndSeparators)
{
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"/clips/a.mpg", "/clips"},
        {"/v/x.y.mpg", "/v"},
        {"/a.mpg", "/"},
        {"a.mpg", ""},
        {"/clips/", "/clips"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Parent_Folder(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;

    EXPECT_EQ(Add_Backslash(QStringLiteral("/clips  ")), QStringLiteral("/clips/"));
    EXPECT_EQ(Add_Backslash(QStringLiteral("/clips/")), QStringLiteral("/clips/"));
    EXPECT_EQ(Add_Backslash(QString()), QStringLiteral("/"));
    EXPECT_EQ(Join_Path(QStringLiteral("/"), QStringLiteral("a")), QStringLiteral("/a"));
    EXPECT_EQ(Join_Path(QStringLiteral("/x"), QStringLiteral("a")), QStringLiteral("/x/a"));
}

TEST(PathText, ExtensionOfLastElementOnly)
{
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"/c/a.mpg", "mpg"}, {"/c/a.MPEG", "MPEG"}, {"/c/a.tar.mpeg2", "mpeg2"}, {"/c.d/name", ""},
        {"name", ""},        {"/c/a.", ""},         {"/c/.hidden", "hidden"},    {"C:\\x.y\\z", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Extension_Of(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
    EXPECT_EQ(Trim_Trailing(QString::fromUtf8("ab\0\0", 4), QChar(0)), QStringLiteral("ab"));
    EXPECT_EQ(Trim_Trailing(QStringLiteral("   "), u' '), QString());
}

TEST(ExistenceTests, FoldersAndFiles)
{
    test::Temp_Dir dir;
    const QString folder = dir.Mkdir(QStringLiteral("clips2"));
    const QString file = dir.Write(QStringLiteral("clips2/a.mpg"), "x");

    EXPECT_TRUE(Folder_Exists(folder));
    EXPECT_TRUE(Folder_Exists(folder + u'/'));
    EXPECT_TRUE(Folder_Exists(folder + QStringLiteral("  ")));
    EXPECT_TRUE(Folder_Exists(dir.Mkdir(QStringLiteral("blank "))));  // a name may end in a blank
    EXPECT_FALSE(Folder_Exists(dir.File(QStringLiteral("clips"))));   // a prefix of clips2 is not clips2
    EXPECT_FALSE(Folder_Exists(file));
    EXPECT_FALSE(Folder_Exists(QString()));

    EXPECT_TRUE(File_Exists(file));
    EXPECT_TRUE(File_Exists(file + u'/'));
    EXPECT_FALSE(File_Exists(folder));
    EXPECT_FALSE(File_Exists(dir.File(QStringLiteral("none.mpg"))));
    EXPECT_FALSE(File_Exists(QString()));

    const QString fifo = dir.File(QStringLiteral("pipe.mpg"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_FALSE(File_Exists(fifo));  // and it returns instead of waiting for a writer
}
