// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/profile.h"

#include "support/script_prompter.h"
#include "support/temp_dir.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cstdio>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace pf;

namespace {

// Written by hand and by other programs: a byte-order mark, a comment, Shift-JIS and bytes that
// are no UTF-8, another section, mixed line ends including lone CRs, no final line end.
const QByteArray Foreign_File = QByteArrayLiteral("\xEF\xBB\xBF; written by hand\r\n"
                                                  "[Other]\r\n"
                                                  "Way=9\r\n"
                                                  "Title=\x93\xae\x89\xe6 \xff\xfe\r\n"
                                                  "\r\n"
                                                  "[SECTION]\r\n"
                                                  "  WAY =  1  \r"
                                                  "add_path=\"/home/u/My Clips\"\n"
                                                  "Quoted=' x '\r\n"
                                                  "Half=\"open\r\n"
                                                  "Escaped=\"a%0Ab%25\"\r\n"
                                                  "Plain=a%0Ab\r\n"
                                                  "Empty=\r\n"
                                                  "Nul=ab\0cd\r\n"
                                                  "Unknown=\x82\xa0 keep me\r\n"
                                                  "; Skin=0\r\n"
                                                  "\r\n"
                                                  "[Tail]\r\n"
                                                  "A=b");

const QString S = QStringLiteral("Section");

}  // namespace

TEST(ProfileFile, ReadsLikeTheProfileFunctions)
{
    const Profile_Text p(Foreign_File);
    struct Case {
        const char* section;
        const char* key;
        QString want;
    };
    const Case cases[] = {
        {"Section", "Way", QStringLiteral("1")},  // case-blind names, blanks dropped, lone CR
        {"section", "ADD_PATH", QStringLiteral("/home/u/My Clips")},
        {"Section", "Quoted", QStringLiteral(" x ")},     // quotes go, what they enclose stays
        {"Section", "Half", QStringLiteral("\"open")},    // unmatched quote stays
        {"Section", "Escaped", QStringLiteral("a\nb%")},  // escapes only inside double quotes
        {"Section", "Plain", QStringLiteral("a%0Ab")},
        {"Section", "Nul", QStringLiteral("ab")},
        {"Section", "Empty", QString()},
        {"Section", "Missing", QString()},
        {"Section", "Skin", QString()},  // a comment is no key
        {"Other", "Way", QStringLiteral("9")},
        {"Tail", "A", QStringLiteral("b")},
        {"Nowhere", "Way", QString()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(p.Value(QLatin1String(c.section), QLatin1String(c.key)), c.want) << c.key;
}

TEST(ProfileFile, WritingChangesOnlyTheLineOfItsKey)
{
    struct Case {
        QByteArray before;
        QByteArray after;
    };
    const Case cases[] = {
        {Foreign_File,
         QByteArray(Foreign_File)
             .replace("  WAY =  1  \r", "way= 0\r")
             .replace("; Skin=0\r\n", "; Skin=0\r\nSkin= 1\r\n")
             .replace("A=b", "A=b\r\n[New]\r\nK=v\r\n")},
        {"[Section]\rWay=1\r", "[Section]\rway= 0\rSkin= 1\r[New]\rK=v\r"},  // lone CRs, one section
        {"[Section]\nWay=1", "[Section]\nway= 0\nSkin= 1\n[New]\nK=v\n"},
        {"", "[section]\r\nway= 0\r\nSkin= 1\r\n[New]\r\nK=v\r\n"},
    };
    for (const Case& c : cases) {
        Profile_Text p(c.before);
        p.setNumber(QStringLiteral("section"), QStringLiteral("way"), 0);
        p.setNumber(S, QStringLiteral("Skin"), 1);
        p.setValue(QStringLiteral("New"), QStringLiteral("K"), QStringLiteral("v"));
        EXPECT_EQ(p.Bytes(), c.after);
    }
}

TEST(ProfileFile, EveryValueReadsBackExactlyAndPlainOnesStayPlain)
{
    struct Case {
        QString value;
        QByteArray stored;
    };
    const Case cases[] = {
        {QStringLiteral("/home/u/動画"), "/home/u/動画"},
        {QStringLiteral("/a b/100%0A"), "/a b/100%0A"},
        {QStringLiteral("C:\\clips\\new"), "C:\\clips\\new"},
        {QStringLiteral("x\nWay=0"), "\"x%0AWay=0\""},
        {QStringLiteral("a\r\nb\rc"), "\"a%0D%0Ab%0Dc\""},
        {QStringLiteral(" lead"), "\" lead\""},
        {QStringLiteral("trail\t"), "\"trail\t\""},
        {QStringLiteral("\"q\""), "\"\"q\"\""},
        {QStringLiteral("'q'"), "\"'q'\""},
        {QStringLiteral(" 100%"), "\" 100%25\""},
        {QStringLiteral("\""), "\""},
        {QString(300, u'長'), QString(300, u'長').toUtf8()},
    };
    for (const Case& c : cases) {
        Profile_Text p("[Section]\r\nWay= 1\r\n");
        p.setValue(S, QStringLiteral("Add_Path"), c.value);
        EXPECT_EQ(p.Bytes(), "[Section]\r\nWay= 1\r\nAdd_Path=" + c.stored + "\r\n");
        const Profile_Text back(p.Bytes());
        EXPECT_EQ(back.Value(S, QStringLiteral("Add_Path")), c.value);
        EXPECT_EQ(back.Value(S, QStringLiteral("Way")), QStringLiteral("1"));
    }
}

TEST(ProfileFile, OnlyRegularFilesAreReadAndReplacedAndProblemsAreToldOnce)
{
    enum Kind { Fifo, Folder, Device_Link, Too_Large, Regular_Link, Missing_Folder };
    struct Case {
        Kind kind;
        const char* name;
        bool written;
    };
    const Case cases[] = {
        {Fifo, "fifo", false},       {Folder, "folder", false},    {Device_Link, "link to a device", false},
        {Too_Large, "50 MB", false}, {Regular_Link, "link", true}, {Missing_Folder, "no folder", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::Temp_Dir dir;
        test::Script_Prompter prompts;
        Set_Profile_Prompter(&prompts);
        QString ini = dir.File(QStringLiteral("Parlo_film.ini"));
        const QByteArray p = QFile::encodeName(ini), target = QFile::encodeName(dir.File(QStringLiteral("t")));
        switch (c.kind) {
        case Fifo: ::mkfifo(p, 0600); break;
        case Folder: dir.Mkdir(QStringLiteral("Parlo_film.ini")); break;
        case Device_Link:
            if (::mknod(target, S_IFCHR | 0666, makedev(1, 3)) != 0) {
                std::printf("skipped %s: mknod needs root\n", c.name);
                continue;
            }
            (void)::symlink(target, p);
            break;
        case Too_Large: {
            QFile big(ini);
            ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.write("[Section]\r\nWay=0\r\n") > 0);
            ASSERT_TRUE(big.resize(50 << 20));  // sparse
            break;
        }
        case Regular_Link:
            dir.Write(QStringLiteral("t"), "[Section]\r\nWay=0\r\n");
            (void)::symlink(target, p);
            break;
        case Missing_Folder: ini = dir.File(QStringLiteral("gone/Parlo_film.ini")); break;
        }
        const QFileInfo before(ini);
        for (int round = 0; round < 2; ++round) {
            EXPECT_EQ(GetIniValue(S, QStringLiteral("Way"), ini), c.written ? QStringLiteral("0") : QString());
            EXPECT_EQ(SetIniValue(S, QStringLiteral("Skin"), QStringLiteral("1"), ini), c.written);
        }
        const QFileInfo after(ini);
        EXPECT_EQ(std::tuple(after.isSymLink(), after.isFile(), after.size(), after.lastModified()),
                  std::tuple(before.isSymLink(), before.isFile(), c.written ? after.size() : before.size(),
                             c.written ? after.lastModified() : before.lastModified()));
        if (c.written) {
            EXPECT_EQ(test::Read_All(dir.File(QStringLiteral("t"))), "[Section]\r\nWay=0\r\nSkin=1\r\n");
            EXPECT_TRUE(prompts.messages.isEmpty());
        } else {
            ASSERT_EQ(prompts.messages.size(), 1);  // told once, naming the file
            EXPECT_TRUE(prompts.messages[0].startsWith(u"設定ﾌｧｲﾙ") && prompts.messages[0].endsWith(u'\n' + ini));
        }
        Set_Profile_Prompter(nullptr);
    }
}
