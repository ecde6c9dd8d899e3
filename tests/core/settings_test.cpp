// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings.h"

#include "core/profile.h"
#include "support/temp_dir.h"

#include <QFileInfo>

#include <gtest/gtest.h>

using namespace pf;

TEST(Settings, NumbersAsStored)
{
    struct Case {
        const char* text;
        std::optional<qint16> want;
    };
    const Case cases[] = {
        {" 1", 1},
        {"2.7", 2},
        {"-1.5", -2},
        {"  -3  ", -3},
        {"32767", 32767},
        {"-32768", -32768},
        {"32768", std::nullopt},
        {"-32769", std::nullopt},
        {"abc", std::nullopt},
        {"12abc", std::nullopt},
        {"", std::nullopt},
        {"1e2", 100},
        {"inf", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Read_Number(QString::fromUtf8(c.text)), c.want) << c.text;
    EXPECT_EQ(Number_Text(1), QStringLiteral(" 1"));
    EXPECT_EQ(Number_Text(0), QStringLiteral(" 0"));
    EXPECT_EQ(Number_Text(-7), QStringLiteral("-7"));
}

TEST(Settings, EmptyFileGivesTheDefaults)
{
    test::Temp_Dir dir;
    const QString ini = dir.Write(QStringLiteral("Parlo_film.ini"), "");
    const Settings s = Load_Settings(ini, dir.Path());
    Settings want;
    want.Add_Path = want.List_Path = dir.Path();
    want.Way = 1;
    want.Size = 1;
    want.Size_X = 640;
    want.Size_Y = 480;
    want.Inlist = 1;
    want.Play = want.PlayF = want.Skin = 1;
    EXPECT_EQ(s, want);
}

TEST(Settings, ValuesThatAreNotNumbersLeaveZero)
{
    test::Temp_Dir dir;
    const QString ini = dir.Write(QStringLiteral("Parlo_film.ini"),
                                  "[Section]\r\nWay=letters\r\nSize=99999\r\nSize_X=2.7\r\nSize_Y=-1.5\r\n"
                                  "Skin= 5\r\nAdd_Path="
                                      + QByteArray(300, 'a') + "\r\n");
    const Settings s = Load_Settings(ini, dir.Path());
    EXPECT_EQ(s.Way, 0);  // not the default: only an empty value gives that
    EXPECT_EQ(s.Size, 0);
    EXPECT_EQ(s.Size_X, 2);
    EXPECT_EQ(s.Size_Y, -2);
    EXPECT_EQ(s.Skin, 5);
    EXPECT_EQ(s.Add_Path, QString(300, u'a'));  // paths are read whole
}

TEST(Settings, AutomaticNamingNeedsItsFolder)
{
    test::Temp_Dir dir;
    const QString out = dir.Mkdir(QStringLiteral("out"));
    const QString ini = dir.File(QStringLiteral("Parlo_film.ini"));
    SetIniValue(Ini_Section, QStringLiteral("Auto"), QStringLiteral(" 1"), ini);
    SetIniValue(Ini_Section, QStringLiteral("AutoFolder"), out, ini);
    Settings s = Load_Settings(ini, dir.Path());
    EXPECT_EQ(s.Auto, 1);
    EXPECT_EQ(s.AutoFolder, out);

    SetIniValue(Ini_Section, QStringLiteral("AutoFolder"), dir.File(QStringLiteral("gone")), ini);
    s = Load_Settings(ini, dir.Path());
    EXPECT_EQ(s.Auto, 0);
    EXPECT_EQ(s.AutoFolder, QString());

    SetIniValue(Ini_Section, QStringLiteral("AutoFolder"), QString(), ini);
    EXPECT_EQ(Load_Settings(ini, dir.Path()).Auto, 0);  // an empty folder is no folder
}

TEST(Settings, PathsReadBackExactlyAndInjectNothing)
{
    test::Temp_Dir dir;
    const QString odd = dir.Mkdir(QStringLiteral(" \"x\" \nWay=0\r "));  // blanks, quotes, a line break
    const QString longFolder = dir.Mkdir(QString(200, u'a') + u'/' + QString(100, u'動'));
    const QString ini = dir.File(QStringLiteral("Parlo_film.ini"));
    for (const QString& folder : {odd, longFolder, QStringLiteral("/home/u/夏の動画")}) {
        Settings s = Load_Settings(ini, dir.Path());
        s.Add_Path = s.List_Path = folder + u'/';
        s.AutoFolder = QFileInfo::exists(folder) ? folder : QString();
        s.Auto = QFileInfo::exists(folder) ? 1 : 0;
        s.Way = 1;
        ASSERT_TRUE(Write_Exit_Keys(s, ini));
        EXPECT_EQ(Load_Settings(ini, dir.Path()), s) << folder.toStdString();
    }
}

TEST(Settings, WrittenKeysReadBackUnchanged)
{
    test::Temp_Dir dir;
    const QString ini = dir.File(QStringLiteral("Parlo_film.ini"));
    Settings s;
    s.Add_Path = QStringLiteral("/home/u/動画");
    s.List_Path = QStringLiteral("/home/u/out put");
    s.Way = 0;
    s.Size = 2;
    s.Rep = 1;
    s.Size_X = 320;
    s.Size_Y = -1;
    s.Group_File = 12;
    s.Inlist = 3;
    s.Favorite_File = 79;
    s.Play = 0;
    s.PlayF = 1;
    s.Skin = 0;
    s.Stamps = 1;
    ASSERT_TRUE(Write_Exit_Keys(s, ini));
    EXPECT_EQ(test::Read_All(ini),
              QByteArray("[Section]\r\nAdd_Path=/home/u/動画\r\nList_Path=/home/u/out put\r\nWay= 0\r\n"
                         "Size= 2\r\nRep= 1\r\nSize_X= 320\r\nSize_Y=-1\r\nGroup_File= 12\r\nInlist= 3\r\n"
                         "Auto= 0\r\nAutoFolder=\r\nFavorite_File= 79\r\nPlay= 0\r\nPlayF= 1\r\nSkin= 0\r\n"
                         "Stamps= 1\r\n"));
    EXPECT_EQ(Load_Settings(ini, dir.Path()), s);
}

TEST(Settings, NumbersOutsideTheirValuesActAsTheyAlwaysHave)
{
    for (const qint16 n : {-1, 4}) {
        Settings s;
        s.Way = s.Size = s.Rep = s.Inlist = s.Auto = s.Play = s.PlayF = s.Skin = s.Stamps = n;
        EXPECT_EQ(s.Player(), Play_Way::Associated);
        EXPECT_EQ(s.Picture_Size(), std::nullopt);
        EXPECT_FALSE(s.Repeats());
        EXPECT_EQ(s.Inputs_After_Join(), After_Join::Keep);
        EXPECT_EQ(s.Join_Naming(), Naming::Automatic);
        EXPECT_EQ(s.Chosen_Naming(), std::nullopt);
        EXPECT_EQ(s.Order(List_Id::Favorite), Play_Order::Random);
        EXPECT_EQ(s.Window_Layout(), Layout::Compact);
        EXPECT_EQ(s.Stamping(), Join_Stamps::Bytes);
    }
}
