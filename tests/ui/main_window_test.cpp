// SPDX-License-Identifier: GPL-3.0-or-later
// The main window over a temporary application folder: start-up on a first run and with
// restored groups, the designed places, both layouts, the order markers, group buttons,
// the pressed look of the command buttons and the ways out.
#include "ui_fixture.h"

#include "lists/group_file.h"
#include "ui/chrome.h"
#include "ui/path_list_view.h"
#include "ui/skin.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace pf::test {

namespace {

bool Shows(const Picture* p, const QPixmap& stock)
{
    return p && p->Pixmap().cacheKey() == stock.cacheKey();
}

QList<int> Enabled_Labels(const Parlo_film_S& w)
{
    QList<int> on;
    for (int i = 0; i < Command_Label_Count; ++i)
        if (w.Cmd_Label(Cmd(i)) && w.Cmd_Label(Cmd(i))->isEnabled())
            on.append(i);
    return on;
}

QList<int> Marked_Groups(const Parlo_film_S& w, Group_Kind kind)
{
    QList<int> marked;
    for (int i = 0; i < Group_Count; ++i)
        if (Shows(w.Group_Button(kind, i), Stock().Img_Opt_On))
            marked.append(i);
    return marked;
}

void Click(QWidget* w)
{
    QTest::mousePress(w, Qt::LeftButton);
    QTest::mouseRelease(w, Qt::LeftButton);
}

const QList<int> Start_Up_Row = {0, 1, 18, 22, 23, 24, 25, 26, 27, 28};

}  // namespace

TEST(Main_Window, First_Run_Starts_Wide_With_Empty_Lists_And_Group_00)
{
    Main_Window_Fixture f;
    f.Start();
    Parlo_film_S& w = *f.window;

    EXPECT_EQ(w.size(), QSize(805, 569));
    EXPECT_EQ(Enabled_Labels(w), Start_Up_Row);
    EXPECT_EQ(f.state->List_Join.Count() + f.state->List_Favorite.Count() + f.state->lstFiles.Count(), 0);
    EXPECT_EQ(f.Find<QLabel>("lbl_G0")->text(), QStringLiteral("ｸﾞﾙｰﾌﾟ 00"));
    EXPECT_EQ(f.Find<QLabel>("lbl_G1")->text(), QStringLiteral("ｸﾞﾙｰﾌﾟ 00"));
    EXPECT_EQ(Marked_Groups(w, Group_Kind::Joined), QList<int>{0});
    EXPECT_EQ(Marked_Groups(w, Group_Kind::Favorite), QList<int>{0});
    // Random order by default on both lists.
    EXPECT_TRUE(Shows(f.Find<Picture>("Play1"), Stock().Img_Opt_On));
    EXPECT_TRUE(Shows(f.Find<Picture>("Play0"), Stock().Img_Opt_Off));
    EXPECT_TRUE(Shows(f.Find<Picture>("PlayF1"), Stock().Img_Opt_On));
    EXPECT_FALSE(f.Find<QWidget>("Pic_C2")->isHidden());
    EXPECT_EQ(f.Find<QLabel>("lbl_h")->text(), QStringLiteral("Parlo_film Viewer   Ver.1.5.0"));
    // Start-up writes nothing.
    EXPECT_TRUE(QDir(f.dir.Path()).entryList(QDir::Files).isEmpty());
}

TEST(Main_Window, Restores_Both_Current_Groups_Sorted_And_Marks_Them)
{
    Main_Window_Fixture f;
    const QString b = f.Media(QStringLiteral("b.mpg")), bigA = f.Media(QStringLiteral("A.mpg")),
                  c = f.Media(QStringLiteral("c.mpg")), fav = f.Media(QStringLiteral("お気に入り.mpg"));
    ASSERT_TRUE(Write_Group(f.dir.File(QStringLiteral("Parlo_film12.rdm")),
                            {c, f.dir.File(QStringLiteral("media/gone.mpg")), bigA, b}));
    ASSERT_TRUE(Write_Group(f.dir.File(QStringLiteral("Favorite03.rdm")), {fav}));
    f.dir.Write(QStringLiteral("Parlo_film.ini"),
                "[Section]\r\nGroup_File= 12\r\nFavorite_File= 3\r\nPlay= 0\r\nPlayF= 1\r\nSkin= 5\r\n");
    f.Start();
    Parlo_film_S& w = *f.window;

    EXPECT_EQ(f.state->List_Join.Entries(), (QStringList{bigA, b, c}));
    const auto* view = w.List_View(List_Id::Joined);
    ASSERT_EQ(view->model()->rowCount(), 3);
    EXPECT_EQ(view->model()->index(0, 0).data().toString(), bigA);
    EXPECT_EQ(f.state->List_Favorite.Entries(), QStringList{fav});

    QList<int> expected = Start_Up_Row;
    expected << 10 << 11 << 16 << 17;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Enabled_Labels(w), expected);

    EXPECT_EQ(f.Find<QLabel>("lbl_G0")->text(), QStringLiteral("ｸﾞﾙｰﾌﾟ 12"));
    EXPECT_EQ(f.Find<QLabel>("lbl_G1")->text(), QStringLiteral("ｸﾞﾙｰﾌﾟ 03"));
    EXPECT_EQ(Marked_Groups(w, Group_Kind::Joined), QList<int>{12});
    EXPECT_EQ(Marked_Groups(w, Group_Kind::Favorite), QList<int>{3});
    EXPECT_TRUE(Shows(f.Find<Picture>("Play0"), Stock().Img_Opt_On));
    EXPECT_TRUE(Shows(f.Find<Picture>("PlayF1"), Stock().Img_Opt_On));

    // Skin 5 is the compact layout and stays 5 until a layout button is used.
    EXPECT_EQ(w.size(), QSize(497, 569));
    EXPECT_EQ(f.state->settings.Skin, 5);
}

TEST(Main_Window, Controls_Lie_At_Their_Designed_Places)
{
    Main_Window_Fixture f;
    f.Start();
    const auto at = [&](const char* name, const char* parent, QRect r) {
        SCOPED_TRACE(name);
        QWidget* w = f.Find<QWidget>(QLatin1String(name));
        ASSERT_TRUE(w);
        EXPECT_EQ(w->parentWidget()->objectName(), QLatin1String(parent));
        EXPECT_EQ(w->geometry(), r);
    };
    at("Image_head", "Parlo_film_S", {0, 0, 803, 22});
    at("Img_Skin0", "Parlo_film_S", {8, 4, 18, 16});
    at("Img_Skin1", "Parlo_film_S", {28, 4, 18, 16});
    at("ImgExit", "Parlo_film_S", {780, 4, 15, 15});
    at("Pic_B", "Parlo_film_S", {0, 20, 805, 549});
    at("Pic_C0", "Pic_B", {12, 12, 469, 177});
    at("Pic_C1", "Pic_B", {12, 200, 377, 333});
    at("Pic_C2", "Pic_B", {412, 200, 377, 333});
    at("lstFiles", "Pic_C0", {12, 36, 349, 95});
    at("List_Join", "Pic_C1", {12, 40, 349, 160});
    at("List_Favorite", "Pic_C2", {12, 40, 349, 160});
    at("Img_T0", "Pic_C0", {12, 8, 95, 22});
    at("Play0", "Pic_C1", {264, 20, 13, 13});
    at("PlayF1", "Pic_C2", {312, 20, 13, 13});
    at("Pic_G0", "Pic_C1", {8, 248, 353, 73});
    at("Pic_G1", "Pic_C2", {12, 248, 353, 73});
    at("GG0", "Pic_G0", {4, 4, 13, 13});
    at("GG5", "Pic_G0", {92, 4, 13, 13});
    at("FF79", "Pic_G1", {332, 52, 13, 13});
    at("lbl_Cmd0", "Pic_C0", {368, 40, 85, 17});
    at("Img_Cmd0", "Pic_C0", {368, 36, 85, 22});
    at("lbl_Cmd6", "Pic_C0", {368, 144, 85, 17});
    at("lbl_Cmd11", "Pic_C1", {168, 16, 85, 17});
    at("Img_Cmd15", "Pic_C2", {188, 208, 85, 22});
    at("lbl_Cmd19", "Pic_B", {392, 300, 17, 17});
    at("Img_Cmd20", "Pic_B", {392, 320, 18, 20});
    at("Img_Cmd22", "Pic_B", {492, 40, 95, 22});
    at("lbl_Cmd25", "Pic_B", {492, 168, 95, 17});
    at("Img_Cmd28", "Pic_C1", {368, 300, 85, 22});
    EXPECT_EQ(f.window->findChildren<Picture*>(QRegularExpression(QStringLiteral("^GG\\d+$"))).size(), 80);
    EXPECT_EQ(f.window->findChildren<Picture*>(QRegularExpression(QStringLiteral("^FF\\d+$"))).size(), 80);
    EXPECT_EQ(f.window->findChildren<Command_Label*>().size(), 27);
    // Every list scrolls sideways over the input list's width plus 600 pixels.
    for (List_Id id : {List_Id::Input, List_Id::Joined, List_Id::Favorite})
        EXPECT_EQ(f.window->List_View(id)->Horizontal_Extent(), 949);
}

TEST(Main_Window, Layout_Buttons_Switch_Sizes_And_Visibility_And_Keep_The_Corner)
{
    Main_Window_Fixture f;
    f.Start();
    Parlo_film_S& w = *f.window;
    const QString fav = f.Media(QStringLiteral("keep.mpg"));
    f.state->List_Favorite.Add(fav);
    w.move(40, 30);
    w.show();

    const auto check = [&](bool wide) {
        SCOPED_TRACE(wide ? "wide" : "compact");
        EXPECT_EQ(w.size(), QSize(wide ? 805 : 497, 569));
        EXPECT_EQ(w.pos(), QPoint(40, 30));
        EXPECT_EQ(f.Find<QWidget>("Pic_B")->width(), wide ? 805 : 497);
        EXPECT_EQ(f.Find<QWidget>("Image_head")->width(), wide ? 803 : 495);
        EXPECT_EQ(f.Find<QWidget>("ImgExit")->x(), wide ? 780 : 472);
        EXPECT_EQ(f.Find<QWidget>("Pic_C1")->width(), wide ? 377 : 469);
        EXPECT_EQ(f.Find<QWidget>("Pic_C2")->isVisible(), wide);
        for (int i : {22, 23, 24, 25, 18, 26, 27, 28}) {
            const bool onBody = i >= 22 && i <= 25;
            EXPECT_EQ(w.Cmd_Label(Cmd(i))->isVisible(), onBody == wide) << i;
            EXPECT_EQ(w.Cmd_Label(Cmd(i))->Image()->isVisible(), onBody == wide) << i;
        }
        // The body's kept image covers the body.
        const auto* body = static_cast<Tile_Box*>(f.Find<QWidget>("Pic_B"));
        EXPECT_GE(body->Image().width(), body->width());
    };
    check(true);
    Click(f.Find<QWidget>("Img_Skin0"));
    EXPECT_EQ(f.state->settings.Skin, 0);
    check(false);
    Click(f.Find<QWidget>("Img_Skin1"));
    EXPECT_EQ(f.state->settings.Skin, 1);
    check(true);
    EXPECT_EQ(w.List_View(List_Id::Favorite)->model()->index(0, 0).data().toString(), fav);
}

TEST(Main_Window, Order_Markers_And_Captions_Choose_On_Mouse_Down)
{
    Main_Window_Fixture f;
    f.Start();
    QTest::mousePress(f.Find<QWidget>("lbl_Play0"), Qt::LeftButton);
    EXPECT_EQ(f.state->settings.Play, 0);
    EXPECT_TRUE(Shows(f.Find<Picture>("Play0"), Stock().Img_Opt_On));
    EXPECT_TRUE(Shows(f.Find<Picture>("Play1"), Stock().Img_Opt_Off));
    QTest::mousePress(f.Find<QWidget>("Play1"), Qt::RightButton);
    EXPECT_EQ(f.state->settings.Play, 1);
    EXPECT_TRUE(Shows(f.Find<Picture>("Play1"), Stock().Img_Opt_On));

    QTest::mousePress(f.Find<QWidget>("PlayF0"), Qt::LeftButton);
    EXPECT_EQ(f.state->settings.PlayF, 0);
    EXPECT_EQ(f.state->settings.Play, 1);
    EXPECT_TRUE(Shows(f.Find<Picture>("PlayF0"), Stock().Img_Opt_On));
    EXPECT_TRUE(Shows(f.Find<Picture>("Play1"), Stock().Img_Opt_On));
}

TEST(Main_Window, Group_Buttons_And_Lists_Report_To_Listeners)
{
    Main_Window_Fixture f;
    f.Start();
    QSignalSpy groups(f.window.get(), &Parlo_film_S::groupPressed);
    QTest::mousePress(f.Find<QWidget>("FF41"), Qt::LeftButton);
    ASSERT_EQ(groups.count(), 1);
    EXPECT_EQ(groups.at(0).at(0).value<Group_Kind>(), Group_Kind::Favorite);
    EXPECT_EQ(groups.at(0).at(1).toInt(), 41);
    // Switching is the listener's business; the window only shows the state it is told.
    EXPECT_EQ(Marked_Groups(*f.window, Group_Kind::Favorite), QList<int>{0});
    f.state->settings.Favorite_File = 41;
    f.window->Show_Groups();
    EXPECT_EQ(Marked_Groups(*f.window, Group_Kind::Favorite), QList<int>{41});
    EXPECT_EQ(f.Find<QLabel>("lbl_G1")->text(), QStringLiteral("ｸﾞﾙｰﾌﾟ 41"));

    QSignalSpy drops(f.window.get(), &Parlo_film_S::filesDropped);
    emit f.window->List_View(List_Id::Favorite)->filesDropped({QStringLiteral("/a.mpg")});
    ASSERT_EQ(drops.count(), 1);
    EXPECT_EQ(drops.at(0).at(0).value<List_Id>(), List_Id::Favorite);
}

TEST(Main_Window, Command_Button_Shows_Pressed_Look_Then_Released_Before_Its_Command)
{
    Main_Window_Fixture f;
    f.Start();
    Command_Label* add = f.window->Cmd_Label(Cmd(0));
    QList<bool> releasedAtRun;
    f.window->Set_Command(Cmd(0),
                          [&] { releasedAtRun.append(Shows(add->Image(), Stock().Img_Off) && !add->isHidden()); });

    QTest::mousePress(add, Qt::LeftButton);
    EXPECT_TRUE(Shows(add->Image(), Stock().Img_On));
    EXPECT_TRUE(releasedAtRun.isEmpty());
    QMetaObject::invokeMethod(add, "hide", Qt::QueuedConnection);  // as a next click: after the command
    QTest::mouseRelease(add, Qt::LeftButton);
    EXPECT_TRUE(Shows(add->Image(), Stock().Img_Off));
    EXPECT_EQ(releasedAtRun, QList<bool>{true});

    // A label without a command only changes its look.
    QTest::mousePress(f.window->Cmd_Label(Cmd(1)), Qt::RightButton);
    QTest::mouseRelease(f.window->Cmd_Label(Cmd(1)), Qt::RightButton);
    EXPECT_TRUE(Shows(f.window->Cmd_Label(Cmd(1))->Image(), Stock().Img_Off));

    // A disabled label gets no mouse events at all.
    int runs = 0;
    f.window->Set_Command(Cmd(2), [&] { ++runs; });
    Command_Label* play = f.window->Cmd_Label(Cmd(2));
    ASSERT_FALSE(play->isEnabled());
    QTest::mousePress(play, Qt::LeftButton);
    EXPECT_TRUE(Shows(play->Image(), Stock().Img_Off));
    QTest::mouseRelease(play, Qt::LeftButton);
    EXPECT_EQ(runs, 0);
    // The window follows the label states of the state.
    f.state->labels.Set(Cmd(2), true);
    EXPECT_TRUE(play->isEnabled());
    Click(play);
    EXPECT_EQ(runs, 1);
}

TEST(Command_Router, Runs_Only_Registered_Existing_Indices)
{
    Command_Router r;
    QList<int> ran;
    r.Set_Command(Cmd(3), [&] { ran.append(3); });
    r.Set_Command(Cmd(12), [&] { ran.append(12); });  // no label 12
    r.Run(Cmd(3));
    r.Run(Cmd(4));
    r.Run(Cmd(12));
    r.Run(Cmd(-1));
    r.Run(Cmd(99));
    EXPECT_EQ(ran, QList<int>{3});
    EXPECT_FALSE(r.Has_Command(Cmd(12)));
    r.Set_Command(Cmd(3), {});
    r.Run(Cmd(3));
    EXPECT_EQ(ran, QList<int>{3});
}

}  // namespace pf::test
