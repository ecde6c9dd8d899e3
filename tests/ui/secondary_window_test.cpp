// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/secondary_window.h"

#include "core/profile.h"
#include "core/settings.h"
#include "support/temp_dir.h"
#include "ui/chrome.h"

#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

using namespace pf;

TEST(Window_Place, Opening_Position_From_The_Keys)
{
    struct Case {
        const char* top;
        const char* left;
        QPoint expected;
    };
    // A 465 x 297 window on a 1024 x 768 screen, created at 5, 6.
    const Case cases[] = {
        {"", "", {279, 235}},       // centred: twips halves with the remainder dropped
        {"", " 3000", {200, 235}},  // a player with no top: centred, then the left applies
        {" 1500", " 3000", {200, 100}}, {" 1500", "", {5, 100}},
        {"abc", " 3000", {200, 6}},  // a top that is no number leaves the top alone
        {"-300", "-150", {-10, -20}},   {" 40000", " 60000", {4000, 2666}},  // twips beyond 16 bits are fine
    };
    for (const Case& c : cases)
        EXPECT_EQ(Opening_Position(QString::fromUtf8(c.top), QString::fromUtf8(c.left), {465, 297}, {1024, 768}, {5, 6},
                                   true),
                  c.expected)
            << c.top << "/" << c.left;
    // A dialog with no top: centred on both axes, its left key ignored.
    EXPECT_EQ(Opening_Position({}, QStringLiteral(" 3000"), {465, 297}, {1024, 768}, {5, 6}, false), QPoint(279, 235));
    EXPECT_EQ(Edge_Twips(200), 3000);
    EXPECT_EQ(Edge_Twips(-1), -15);
}

TEST(Window_Place, A_Head_Strip_Out_Of_Reach_Goes_To_The_Nearest_Screen)
{
    // Two screens side by side, the second with a panel taking its top 30 rows.
    const QList<QRect> two{{0, 0, 1024, 768}, {1024, 30, 1280, 994}};
    struct Case {
        QRect window;
        QList<QRect> screens;
        QPoint expected;
    };
    const Case cases[] = {
        {{100, 100, 320, 260}, two, {100, 100}},     // in sight: stays
        {{1000, 500, 320, 260}, two, {1000, 500}},   // across both screens: stays
        {{-288, 700, 320, 260}, two, {-288, 700}},   // 32 pixels of the strip on the first: stays
        {{-300, 700, 320, 260}, two, {0, 508}},      // 20 pixels: pulled in
        {{3000, -900, 320, 260}, two, {1984, 30}},   // the second screen is nearest; under its panel
        {{1200, 10, 320, 260}, two, {1200, 30}},     // strip under the panel
        {{5000, 5000, 2000, 1200}, two, {664, 30}},  // larger: centred across, at the top
        {{-5000, 100, 100, 50}, two, {0, 100}},      // a narrow window pulled in on one axis only
        {{-5000, 100, 100, 50}, {}, {-5000, 100}},   // no screens known
    };
    for (const Case& c : cases)
        EXPECT_EQ(In_Sight(c.window, c.screens), c.expected) << c.window.x() << "," << c.window.y();
}

TEST(Secondary_Window, Every_Way_Of_Closing_Writes_The_Position_Once)
{
    enum Way { Reject, Accept, Close, Exit_Image };
    for (Way way : {Reject, Accept, Close, Exit_Image}) {
        test::Temp_Dir dir;
        const QString ini = dir.File(QStringLiteral("Parlo_film.ini"));
        Secondary_Window w(ini, Join_Dialog_Keys, 465);
        w.resize(465, 297);
        w.Place_From_Keys();
        w.move(100, 60);
        QTimer::singleShot(0, &w, [&] {
            switch (way) {
            case Reject: w.reject(); break;
            case Accept: w.accept(); break;
            case Close: w.close(); break;
            case Exit_Image:
                QTest::mousePress(w.Chrome().Exit(), Qt::LeftButton);
                QTest::mouseRelease(w.Chrome().Exit(), Qt::LeftButton);
                break;
            }
        });
        w.exec();
        EXPECT_EQ(GetIniValue(Ini_Section, QStringLiteral("FormJ_Top"), ini), QStringLiteral("900")) << way;
        EXPECT_EQ(GetIniValue(Ini_Section, QStringLiteral("FormJ_Left"), ini), QStringLiteral("1500")) << way;
        EXPECT_EQ(w.result(), way == Accept ? QDialog::Accepted : QDialog::Rejected);
    }
}
