// SPDX-License-Identifier: GPL-3.0-or-later
// Both player windows while playing, under a real X server: the picture area shows the clip (its
// many colours, not a plain fill). The screenshots are kept as test artifacts.
#include "player_support.h"

#include "support/script_prompter.h"
#include "support/temp_dir.h"
#include "ui/parlo_film_g.h"
#include "ui/parlo_film_r.h"

#include <QDir>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace pf::test {

namespace {

// Waits until `picture` inside `window` shows the clip, then saves the window's screenshot.
void Shoot_While_Playing(QWidget* window, QWidget* picture, const QString& file)
{
    const auto shot = [&] { return window->screen()->grabWindow(window->winId()).toImage(); };
    const auto area = [&] { return QRect(picture->pos(), picture->size()).adjusted(4, 4, -4, -4); };
    const auto shown = [&] {
        const QImage image = shot();
        // The clip's colours in the picture, the head strip's shades above it.
        return picture->isVisible() && Colours(image, area()) > 8
            && Colours(image, QRect(0, 2, window->width(), 16)) > 1;
    };
    EXPECT_TRUE(QTest::qWaitFor(shown, 15000)) << file.toStdString();
    const QString out = QStringLiteral(PF_ARTIFACT_DIR);
    ASSERT_TRUE(QDir().mkpath(out));
    EXPECT_TRUE(shot().save(out + u'/' + file));
    QTest::keyClick(window, Qt::Key_Escape);
}

}  // namespace

TEST(Player_Windows_Xvfb, Screenshots_Show_The_Clip_In_Each_Window)
{
    Register_Mpeg_Driver(Silent);
    Temp_Dir dir;
    Script_Prompter prompter;
    Settings settings;
    settings.Size = 1;
    settings.Rep = 1;
    Parlo_film_G video(settings, Clip("mpeg1_1s.mpg"), prompter, dir.File(QStringLiteral("Parlo_film.ini")));
    While_Open(&video, [&] { Shoot_While_Playing(&video, video.picVideo(), QStringLiteral("video_window.png")); });
    EXPECT_EQ(video.Run(), Play_End::Stopped_By_User);

    // The 2-second clip eight times over, so that it is still playing when the picture is taken.
    const QString list = dir.Write(QStringLiteral("long.ram"), (Clip("clip.rm") + u'\n').repeated(8).toUtf8());
    Parlo_film_R real(list, Silent.audioOutput, dir.File(QStringLiteral("Parlo_film.ini")));
    While_Open(&real, [&] { Shoot_While_Playing(&real, real.RealSC(), QStringLiteral("realmedia_window.png")); });
    EXPECT_EQ(real.Run(), Play_End::Stopped_By_User);
}

}  // namespace pf::test
