// SPDX-License-Identifier: GPL-3.0-or-later
// Any file name reaches the device as one word, and a clip named with quotation marks plays;
// commands with 32-bit extremes are answered, not crashed on (the sanitizer build checks).
#include "mci/mci_api.h"
#include "mci/mci_errors.h"
#include "mci/mci_service.h"
#include "playback/mpeg_video_device.h"

#include "support/temp_dir.h"

#include <QTest>

#include <gtest/gtest.h>

namespace pf {
namespace {

TEST(Any_Name, ClipNamedWithQuotesPlaysAndExtremesAreAnswered)
{
    Register_Mpeg_Driver({"null"});
    test::Temp_Dir dir;
    const QString name = QStringLiteral("映像 \"引用\" \"\".mpg");
    const QString clip = dir.Write(name, test::Read_All(QStringLiteral(PF_TEST_MEDIA_DIR "/mpeg1_2s.mpg")));
    clsMCIApi mci;
    // A name that tries to add words is one missing file, not another alias.
    EXPECT_EQ(mci.OpenDevice("MPEGVideo", "device1", clip + "\" alias evil \"", 0, "0"), 1);
    EXPECT_EQ(mci.ErrorNumber(), MCIERR_FILE_NOT_FOUND);
    ASSERT_EQ(mci.OpenDevice("MPEGVideo", "device1", clip, 0, "1073741824"), 0) << mci.ErrorNumber();
    EXPECT_EQ(mci.cmdGetName("device1"), name);
    mci.cmdTimeFormat("device1", "ms");
    mci.cmdRate("device1", 4000);
    ASSERT_EQ(mci.cmdPlay("device1", -1, -1, 0), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return mci.cmdGetPosition("device1") == mci.TotalTime(); }, 20000));

    constexpr std::int64_t Any = -1;  // whatever the device answers, as long as it is described
    const struct {
        const char* command;
        std::int64_t code;
    } cases[] = {
        {"put device1 window at 2147483647 2147483647 2147483647 2147483647", MCIERR_OUTOFRANGE},
        {"put device1 window at 16777215 16777215 0 0", MCI_OK},
        {"play device1 from 2147483647 to -2147483648", Any},
        {"seek device1 to -2147483648", Any},
        {"setaudio device1 volume to -2147483648", Any},
    };
    for (const auto& c : cases) {
        const std::uint32_t code = Mci_Service::Instance().Send_String(QString::fromUtf8(c.command));
        EXPECT_TRUE(c.code == Any ? code == 0 || !Mci_Error_Text(code).empty() : code == c.code) << c.command;
    }
    EXPECT_EQ(mci.CloseDevice("device1"), 0);
}

}  // namespace
}  // namespace pf
