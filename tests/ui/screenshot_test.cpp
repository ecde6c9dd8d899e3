// SPDX-License-Identifier: GPL-3.0-or-later
// Screenshots of both layouts under a real X server, kept as test artifacts for review.
#include "ui_fixture.h"

#include "lists/group_file.h"
#include "ui/main_layout.h"

#include <QDir>
#include <QPixmap>
#include <QTest>

#include <gtest/gtest.h>

namespace pf::test {

TEST(Main_Window_Xvfb, Screenshots_Of_Both_Layouts)
{
    Main_Window_Fixture f;
    QStringList joined, favorites;
    for (const char* name : {"kyoto_2024_03.mpg", "Beach_day.mpeg", "花火大会_全編.mpg", "birthday_0412.mpg",
                             "trip/Okinawa_part1.mpg", "trip/Okinawa_part2.mpg"})
        joined.append(f.Media(QString::fromUtf8(name)));
    for (const char* name :
         {"favourites/夏祭り.mpg", "favourites/concert_live_long_title_take_two.mpeg", "favourites/clip.rm"})
        favorites.append(f.Media(QString::fromUtf8(name)));
    ASSERT_TRUE(Write_Group(Group_File_Path(f.dir.Path(), Group_Kind::Joined, 5), joined));
    ASSERT_TRUE(Write_Group(Group_File_Path(f.dir.Path(), Group_Kind::Favorite, 12), favorites));
    f.dir.Write(QStringLiteral("Parlo_film.ini"),
                "[Section]\r\nGroup_File= 5\r\nFavorite_File= 12\r\nPlay= 1\r\nSkin= 1\r\n");
    f.Start();
    f.state->lstFiles.Add(f.Media(QStringLiteral("input/part_a.mpg")));
    f.state->lstFiles.Add(f.Media(QStringLiteral("input/part_b.mpg")));
    f.state->List_Join.setSelected(2);

    const QString out = QStringLiteral(PF_ARTIFACT_DIR);
    ASSERT_TRUE(QDir().mkpath(out));
    f.window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.window.get()));

    const auto shoot = [&](Layout layout, const char* file) {
        f.window->Img_Skin_Click(layout);
        // Once the window has settled in its new layout: two pictures in a row alike.
        QImage shot = f.window->grab().toImage();
        (void)QTest::qWaitFor(
            [&] {
                const QImage again = f.window->grab().toImage();
                return std::exchange(shot, again) == again;
            },
            5000);
        EXPECT_EQ(shot.size(), QSize(Layout_For(layout).bodyWidth, 569));
        EXPECT_TRUE(shot.save(out + u'/' + QLatin1String(file)));
    };
    shoot(Layout::Wide, "main_wide.png");
    shoot(Layout::Compact, "main_compact.png");
    // A pressed command button, for the look of the pressed picture.
    QTest::mousePress(f.window->Cmd_Label(Cmd(0)), Qt::LeftButton);
    EXPECT_TRUE(f.window->grab().save(out + QStringLiteral("/main_compact_pressed.png")));
    f.window->close();
}

}  // namespace pf::test
