// SPDX-License-Identifier: GPL-3.0-or-later
#include "util/paths.h"
#include "util/presence.h"

#include "support/temp_dir.h"

#include <QDir>
#include <QFile>
#include <QTest>

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

TEST(Presence, A_Check_Given_Up_On_Reads_Only_Bytes_Of_Its_Own)
{
    test::Temp_Dir dir;
    QList<QByteArray> own;
    for (int i = 0; i < 20; ++i)
        own << QFile::encodeName(dir.Write(QStringLiteral("f%1/a.mpg").arg(i), "a"));
    {
        // Views into a buffer that goes before the checks given up on (no time at all) return.
        QByteArray pool;
        for (const QByteArray& path : own)
            pool += path;
        QList<QByteArray> views;
        for (qsizetype at = 0, i = 0; i < own.size(); at += own.at(i++).size())
            views << QByteArray::fromRawData(pool.constData() + at, own.at(i).size());
        Presence_Within(views, 0);
    }
    // Once every folder answers again, all are there.
    QTRY_COMPARE(Presence_Within(own, 1000), QList<Presence>(own.size(), Presence::Present));
}
