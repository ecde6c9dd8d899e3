// SPDX-License-Identifier: GPL-3.0-or-later
// The "MPEGVideo" device drawing into a native window on a real X server (run under xvfb-run):
// the picture appears inside the parent window, where "put … window at" places it.
#include "mci/mci_api.h"
#include "mci/mci_service.h"
#include "playback/mpeg_video_device.h"
#include "support/colours.h"

#include <QCoreApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace pf {
namespace {

using test::Colours;

TEST(Mpeg_Device_Xvfb, DrawsThePictureWhereItWasPutInsideTheParent)
{
    Register_Mpeg_Driver({"null"});
    QWidget parent;
    parent.setAttribute(Qt::WA_NativeWindow);
    parent.setStyleSheet("background: black");
    parent.resize(400, 300);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));

    clsMCIApi mci;
    ASSERT_EQ(
        mci.OpenDevice("MPEGVideo", "device1", PF_TEST_MEDIA_DIR "/mpeg1_3s.mpg", qint32(parent.winId()), "1073741824"),
        0)
        << mci.ErrorDescription().toStdString();
    EXPECT_EQ(mci.cmdGetSize("device1"), "320 240");
    ASSERT_EQ(mci.cmdResize("device1", 0, 0, 200, 150), 0);
    EXPECT_EQ(mci.cmdGetSize("device1"), "200 150");
    ASSERT_EQ(mci.cmdPlay("device1", -1, -1, 0), 0);

    // The picture comes to be there, and there only (the first frames may be drawn before the
    // window system has placed it).
    QImage shot;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            shot = parent.screen()->grabWindow(parent.winId()).toImage();
            return Colours(shot, QRect(10, 10, 180, 130)) > 4 && Colours(shot, QRect(220, 170, 170, 120)) == 1;
        },
        10000));
    EXPECT_EQ(mci.CloseDevice("device1"), 0);
}

}  // namespace
}  // namespace pf
