// SPDX-License-Identifier: GPL-3.0-or-later
// The ways out of the main window: exit with save writes the settings and both current groups
// and nothing else; cancel and the exit button write nothing; every way removes File.tmp.
#include "ui_fixture.h"

#include "core/profile.h"
#include "lists/group_file.h"
#include "ui/chrome.h"
#include "ui/skin.h"

#include <QDir>
#include <QMap>
#include <QTest>

#include <gtest/gtest.h>

namespace pf::test {

namespace {

// Written by hand in another editor: a comment, a second section, an unknown key, CRLF.
const QByteArray Ini_Before = "; Parlo_film\r\n"
                              "[Section]\r\n"
                              "Group_File= 12\r\n"
                              "favorite_file= 3\r\n"
                              "Theme=blue\r\n"
                              "Play= 0\r\n"
                              "Skin= 5\r\n"
                              "[FormJ]\r\n"
                              "FormJ_Top= 1200\r\n";

struct Exit_Fixture : Main_Window_Fixture {
    QString joinedA, joinedB, fav;

    ~Exit_Fixture() { Set_Profile_Prompter(nullptr); }

    Exit_Fixture()
    {
        joinedA = Media(QStringLiteral("a.mpg"));
        joinedB = Media(QStringLiteral("B.mpg"));
        fav = Media(QStringLiteral("夏.mpg"));
        Write_Group(dir.File(QStringLiteral("Parlo_film12.rdm")), {joinedB, joinedA});
        Write_Group(dir.File(QStringLiteral("Favorite03.rdm")), {fav});
        dir.Write(QStringLiteral("Parlo_film.ini"), Ini_Before);
        Start();
        window->show();
        // Changes of this run: layout, order, one list emptied, one grown; a join left behind.
        QTest::mousePress(Find<QWidget>("Img_Skin1"), Qt::LeftButton);
        QTest::mouseRelease(Find<QWidget>("Img_Skin1"), Qt::LeftButton);
        QTest::mousePress(Find<QWidget>("lbl_PlayF0"), Qt::LeftButton);
        state->List_Favorite.Clear();
        state->List_Join.Add(Media(QStringLiteral("c.mpg")));
        dir.Write(QStringLiteral("File.tmp"), "joined bytes");
    }

    // Every file of the folder (not the media) with its bytes.
    QMap<QString, QByteArray> Files() const
    {
        QMap<QString, QByteArray> all;
        for (const QString& name : QDir(dir.Path()).entryList(QDir::Files))
            all[name] = Read_All(dir.File(name));
        return all;
    }

    void Release(QWidget* w)
    {
        QTest::mousePress(w, Qt::LeftButton);
        QTest::mouseRelease(w, Qt::LeftButton);
    }
};

QByteArray Records(const QStringList& paths)
{
    QByteArray bytes;
    for (const QString& p : paths)
        bytes += *Fav_Record(p);
    return bytes;
}

}  // namespace

class Exit_With_Save : public ::testing::TestWithParam<int> {};

TEST_P(Exit_With_Save, Writes_Settings_And_Both_Groups_Then_Closes)
{
    Exit_Fixture f;
    const QString folder = f.dir.Path();
    f.Release(f.window->Cmd_Label(Cmd(GetParam())));

    EXPECT_FALSE(f.window->isVisible());
    EXPECT_TRUE(f.prompter.messages.isEmpty());
    const QByteArray expected = "; Parlo_film\r\n"
                                "[Section]\r\n"
                                "Group_File= 12\r\n"
                                "Favorite_File= 3\r\n"
                                "Theme=blue\r\n"
                                "Play= 0\r\n"
                                "Skin= 1\r\n"
                                "Add_Path="
        + folder.toUtf8()
        + "\r\n"
          "List_Path="
        + folder.toUtf8()
        + "\r\n"
          "Way= 1\r\n"
          "Size= 1\r\n"
          "Rep= 0\r\n"
          "Size_X= 640\r\n"
          "Size_Y= 480\r\n"
          "Inlist= 1\r\n"
          "Auto= 0\r\n"
          "AutoFolder=\r\n"
          "PlayF= 0\r\n"
          "Stamps= 0\r\n"
          "[FormJ]\r\n"
          "FormJ_Top= 1200\r\n";
    EXPECT_EQ(Read_All(f.dir.File(QStringLiteral("Parlo_film.ini"))).toStdString(), expected.toStdString());
    const QString c = f.dir.File(QStringLiteral("media/c.mpg"));
    EXPECT_EQ(Read_All(f.dir.File(QStringLiteral("Parlo_film12.rdm"))), Records({f.joinedA, f.joinedB, c}));
    // The emptied favourites group leaves no file; the temporary join output is gone.
    EXPECT_EQ(f.Files().keys(), (QStringList{QStringLiteral("Parlo_film.ini"), QStringLiteral("Parlo_film12.rdm")}));
}

INSTANTIATE_TEST_SUITE_P(Both_Copies, Exit_With_Save, ::testing::Values(24, 27));

TEST(Exit_Without_Save, Cancel_And_Exit_Button_Leave_Every_File_But_File_Tmp)
{
    for (const char* way : {"lbl_Cmd25", "lbl_Cmd28", "ImgExit", "close"}) {
        SCOPED_TRACE(way);
        Exit_Fixture f;
        auto before = f.Files();
        before.remove(QStringLiteral("File.tmp"));
        if (QLatin1String(way) == QLatin1String("close"))
            f.window->close();
        else
            f.Release(f.Find<QWidget>(QLatin1String(way)));
        EXPECT_FALSE(f.window->isVisible());
        EXPECT_EQ(f.Files(), before);
    }
}

TEST(Exit_Without_Save, Exit_Button_Shows_Pressed_Then_Released_Picture)
{
    Exit_Fixture f;
    auto* exit = f.Find<Exit_Image>(QStringLiteral("ImgExit"));
    QTest::mousePress(exit, Qt::LeftButton);
    EXPECT_EQ(exit->Pixmap().cacheKey(), Stock().Exit_On.cacheKey());
    EXPECT_EQ(exit->size(), QSize(16, 15));
    EXPECT_TRUE(f.window->isVisible());
    QTest::mouseRelease(exit, Qt::LeftButton);
    EXPECT_EQ(exit->Pixmap().cacheKey(), Stock().Exit_Off.cacheKey());
    EXPECT_EQ(exit->size(), QSize(15, 15));
    EXPECT_FALSE(f.window->isVisible());
}

TEST(Exit_With_Save, Failure_To_Save_Is_One_Question_Whose_No_Keeps_The_Program_Open)
{
    for (const int answer : {Answer_No, Answer_Yes}) {
        Exit_Fixture f;
        f.prompter.answers = {answer};
        Set_Profile_Prompter(&f.prompter);  // as the program has it
        // Folders where the settings file and the favourites group should be: neither can be saved.
        QFile::remove(f.dir.File(QStringLiteral("Parlo_film.ini")));
        f.dir.Mkdir(QStringLiteral("Parlo_film.ini"));
        f.state->List_Favorite.Add(f.fav);
        QFile::remove(f.dir.File(QStringLiteral("Favorite03.rdm")));
        f.dir.Mkdir(QStringLiteral("Favorite03.rdm"));
        f.Release(f.window->Cmd_Label(Cmd(24)));
        ASSERT_EQ(f.prompter.messages.size(), 1);
        EXPECT_TRUE(f.prompter.messages.at(0).contains(f.state->Ini_File())
                    && f.prompter.messages.at(0).contains(f.fav));
        EXPECT_EQ(f.window->isVisible(), answer == Answer_No);
        EXPECT_TRUE(QFile::exists(f.dir.File(QStringLiteral("Parlo_film12.rdm"))));  // saved all the same
        EXPECT_EQ(QFile::exists(f.dir.File(QStringLiteral("File.tmp"))), answer == Answer_No);
    }
}

}  // namespace pf::test
