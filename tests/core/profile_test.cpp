#include "core/profile.h"

#include "support/temp_dir.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace pf;

namespace {

const QByteArray Foreign_File =
    "\xEF\xBB\xBF; written by hand\r\n"
    "[Other]\r\n"
    "Way=9\r\n"
    "\r\n"
    "[SECTION]\r\n"
    "  WAY =  1  \r\n"
    "add_path=\"/home/u/My Clips\"\r\n"
    "Quoted=' x '\r\n"
    "Half=\"open\r\n"
    "Empty=\r\n"
    "Unknown=keep me\r\n"
    "; Skin=0\r\n"
    "\r\n"
    "[Tail]\r\n"
    "A=b\r\n";

}  // namespace

TEST(ProfileFile, ReadsLikeTheProfileFunctions)
{
    test::Temp_Dir dir;
    const QString ini = dir.write(QStringLiteral("p.ini"), Foreign_File);
    struct Case { const char* section; const char* key; QString want; };
    const Case cases[] = {
        {"Section", "Way", QStringLiteral("1")},               // case-blind names, blanks dropped
        {"section", "ADD_PATH", QStringLiteral("/home/u/My Clips")},
        {"Section", "Quoted", QStringLiteral(" x ")},          // quotes go, what they enclose stays
        {"Section", "Half", QStringLiteral("\"open")},         // unmatched quote stays
        {"Section", "Empty", QString()},
        {"Section", "Missing", QString()},
        {"Section", "Skin", QString()},                        // a comment is no key
        {"Other", "Way", QStringLiteral("9")},
        {"Nowhere", "Way", QString()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetIniValue(QLatin1String(c.section), QLatin1String(c.key), ini), c.want) << c.key;
    EXPECT_EQ(GetIniValue(QStringLiteral("Section"), QStringLiteral("Way"), dir.file(QStringLiteral("none.ini"))),
              QString());
}

TEST(ProfileFile, LongValuesAreCutTo255Characters)
{
    test::Temp_Dir dir;
    const QString long_value(300, u'あ');
    const QString ini = dir.file(QStringLiteral("p.ini"));
    ASSERT_TRUE(SetIniValue(QStringLiteral("Section"), QStringLiteral("Add_Path"), long_value, ini));
    EXPECT_EQ(GetIniValue(QStringLiteral("Section"), QStringLiteral("Add_Path"), ini), long_value.left(255));
}

TEST(ProfileFile, WritingKeepsEverythingElseAsItWas)
{
    test::Temp_Dir dir;
    const QString ini = dir.write(QStringLiteral("p.ini"), Foreign_File);
    ASSERT_TRUE(SetIniValue(QStringLiteral("section"), QStringLiteral("way"), QStringLiteral(" 0"), ini));
    ASSERT_TRUE(SetIniValue(QStringLiteral("Section"), QStringLiteral("Skin"), QStringLiteral(" 1"), ini));
    ASSERT_TRUE(SetIniValue(QStringLiteral("New"), QStringLiteral("K"), QStringLiteral("v"), ini));

    QByteArray want = Foreign_File;
    want.replace("  WAY =  1  \r\n", "way= 0\r\n");
    want.replace("; Skin=0\r\n", "; Skin=0\r\nSkin= 1\r\n");
    want += "[New]\r\nK=v\r\n";
    EXPECT_EQ(test::Read_All(ini), want);
}

TEST(ProfileFile, NewFilesAndLfFiles)
{
    test::Temp_Dir dir;
    const QString fresh = dir.file(QStringLiteral("fresh.ini"));
    ASSERT_TRUE(SetIniValue(QStringLiteral("Section"), QStringLiteral("Way"), QStringLiteral(" 1"), fresh));
    ASSERT_TRUE(SetIniValue(QStringLiteral("Section"), QStringLiteral("Size"), QStringLiteral(" 2"), fresh));
    EXPECT_EQ(test::Read_All(fresh), QByteArray("[Section]\r\nWay= 1\r\nSize= 2\r\n"));

    const QString lf = dir.write(QStringLiteral("lf.ini"), "[Section]\nWay=1\n");
    ASSERT_TRUE(SetIniValue(QStringLiteral("Section"), QStringLiteral("Rep"), QStringLiteral(" 0"), lf));
    EXPECT_EQ(test::Read_All(lf), QByteArray("[Section]\nWay=1\nRep= 0\n"));
}

TEST(ProfileFile, FailedWritesAreReported)
{
    test::Temp_Dir dir;
    EXPECT_FALSE(SetIniValue(QStringLiteral("Section"), QStringLiteral("Way"), QStringLiteral(" 0"),
                             dir.file(QStringLiteral("gone/p.ini"))));
    // A folder standing where the file should be is neither replaced nor reported as written.
    const QString blocked = dir.mkdir(QStringLiteral("p.ini"));
    EXPECT_FALSE(SetIniValue(QStringLiteral("Section"), QStringLiteral("Way"), QStringLiteral(" 0"), blocked));
    EXPECT_TRUE(QFileInfo(blocked).isDir());
}
