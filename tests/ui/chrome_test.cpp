// SPDX-License-Identifier: GPL-3.0-or-later
// Dragging borderless windows by their head strip, and the zoom outline's rectangles.
#include "ui_fixture.h"

#include "ui/animate.h"
#include "ui/chrome.h"

#include <QMouseEvent>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

namespace pf::test {

TEST(Head_Drag, Follows_The_Cursor_Exactly_From_A_Left_Press)
{
    Head_Drag d;
    EXPECT_FALSE(d.Move({500, 500}));  // no press, no drag
    d.Press(Qt::LeftButton, {130, 47}, {100, 40});
    ASSERT_TRUE(d.Dragging());
    EXPECT_EQ(d.Move({130, 47}), QPoint(100, 40));
    EXPECT_EQ(d.Move({131, 52}), QPoint(101, 45));
    EXPECT_EQ(d.Move({20, 3}), QPoint(-10, -4));  // beyond the screen's corner too
    d.Release();
    EXPECT_FALSE(d.Dragging());
    EXPECT_FALSE(d.Move({400, 400}));
}

TEST(Head_Drag, Other_Buttons_Do_Not_Start_A_Drag)
{
    Head_Drag d;
    d.Press(Qt::RightButton, {130, 47}, {100, 40});
    d.Press(Qt::MiddleButton, {130, 47}, {100, 40});
    EXPECT_FALSE(d.Dragging());
    EXPECT_FALSE(d.Move({200, 200}));
}

TEST(Head_Drag, An_Offset_Beyond_16_Bits_Keeps_The_Last_One)
{
    Head_Drag d;
    d.Press(Qt::LeftButton, {110, 50}, {100, 40});  // offsets 150 and 150 twips
    d.Release();
    // 3000 pixels from the corner is 45000 twips: that offset cannot be kept, the old one stays.
    d.Press(Qt::LeftButton, {3100, 55}, {100, 40});
    EXPECT_EQ(d.Move({3100, 55}), QPoint(3090, 40));
}

namespace {

void Send(QWidget* w, QEvent::Type type, Qt::MouseButton button, QPoint global)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent e(type, w->mapFromGlobal(QPointF(global)), QPointF(global), button, held, {});
    QCoreApplication::sendEvent(w, &e);
}

}  // namespace

TEST(Main_Window_Drag, Head_Strip_And_Title_Move_The_Window_By_The_Cursor_Movement)
{
    Main_Window_Fixture f;
    f.Start();
    Parlo_film_S& w = *f.window;
    w.move(100, 80);
    w.show();
    for (const char* handle : {"Image_head", "lbl_h"}) {
        SCOPED_TRACE(handle);
        QWidget* h = f.Find<QWidget>(QLatin1String(handle));
        const QPoint start = w.pos();
        const QPoint grab = h->mapToGlobal(QPoint(5, 5));
        Send(h, QEvent::MouseButtonPress, Qt::LeftButton, grab);
        Send(h, QEvent::MouseMove, Qt::LeftButton, grab + QPoint(37, -12));
        EXPECT_EQ(w.pos(), start + QPoint(37, -12));
        Send(h, QEvent::MouseMove, Qt::LeftButton, grab + QPoint(-3, 25));
        EXPECT_EQ(w.pos(), start + QPoint(-3, 25));
        Send(h, QEvent::MouseButtonRelease, Qt::LeftButton, grab + QPoint(-3, 25));
        Send(h, QEvent::MouseMove, Qt::NoButton, grab + QPoint(90, 90));
        EXPECT_EQ(w.pos(), start + QPoint(-3, 25));

        // A right press is no drag.
        const QPoint still = w.pos();
        Send(h, QEvent::MouseButtonPress, Qt::RightButton, grab);
        Send(h, QEvent::MouseMove, Qt::RightButton, grab + QPoint(50, 50));
        EXPECT_EQ(w.pos(), still);
        Send(h, QEvent::MouseButtonRelease, Qt::RightButton, grab + QPoint(50, 50));
    }
}

TEST(Animate, Zoom_Runs_From_The_Point_To_The_Window_And_Cleans_Up)
{
    const QRect point(QPoint(300, 200), QPoint(300, 200));
    const QRect window(QPoint(100, 50), QPoint(500, 350));
    EXPECT_EQ(Zoom_Rect(point, window, 0), point);
    EXPECT_EQ(Zoom_Rect(point, window, 1), window);
    EXPECT_EQ(Zoom_Rect(window, point, 0.5), QRect(QPoint(200, 125), QPoint(400, 275)));

    QWidget target;
    target.setGeometry(window);
    target.show();
    const QWidgetList before = QApplication::topLevelWidgets();
    Animate_Open(&target, point.topLeft());
    Animate_Close(&target, point.topLeft());
    // Both return at once; their outlines go away by themselves.
    QList<QPointer<QWidget>> outlines;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (!before.contains(w))
            outlines << w;
    EXPECT_EQ(outlines.size(), 2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return outlines.count(nullptr) == outlines.size(); }, 5000));
}

}  // namespace pf::test
