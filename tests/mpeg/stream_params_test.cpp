// SPDX-License-Identifier: GPL-3.0-or-later
// Unlike inputs found from their first headers, and the question put before their join.
#include "mpeg/stream_params.h"

#include "support/clip_pieces.h"
#include "support/script_prompter.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace pf {
namespace {

using namespace test;

TEST(Stream_Params, TheFirstDifferenceIsNamedWithBothValues)
{
    QByteArray rate30 = Read_All(Media_Path(Ps2_24.file));  // the same pictures, told 30 a second
    for (qsizetype i = 0; (i = rate30.indexOf(QByteArray::fromHex("000001B3"), i)) >= 0; ++i)
        rate30[i + 7] = char((rate30[i + 7] & 0xF0) | 5);
    const auto clip = [](const char* name) { return Read_All(Media_Path(name)); };
    const struct {
        const char* name;
        QByteArray first, other;
        std::optional<Param_Difference> want;
    } cases[] = {
        {"alike", clip(Ps1_2.file), clip(Ps1_3.file), std::nullopt},
        {"kind", clip(Ps1_2.file), clip(Ts_2.file), {{"ｽﾄﾘｰﾑ形式", "ﾌﾟﾛｸﾞﾗﾑｽﾄﾘｰﾑ", "ﾄﾗﾝｽﾎﾟｰﾄｽﾄﾘｰﾑ"}}},
        {"version", clip(Ps1_2.file), clip(Ps2_24.file), {{"MPEG規格", "MPEG-1", "MPEG-2"}}},
        {"size", clip(Ps2_24.file), clip(Ps2_36.file), {{"画面ｻｲｽﾞ", "320×240", "352×288"}}},
        {"frame rate", clip(Ps2_24.file), rate30, {{"ﾌﾚｰﾑﾚｰﾄ", "25 fps", "30 fps"}}},
        {"sound", clip("mpeg1_2s.mpg"), clip("mpeg1_2s_silent.mpg"), {{"音声", "MPEG-1 ﾚｲﾔｰ2 44.1 kHz ﾓﾉﾗﾙ", "なし"}}},
        {"elementary", clip(Es1_2.file), clip(Es1_2.file), std::nullopt},
    };
    for (const auto& c : cases) {
        Memory_Source first(c.first), other(c.other);
        EXPECT_EQ(First_Difference(Read_Stream_Params(first), Read_Stream_Params(other)), c.want) << c.name;
    }
}

TEST(Stream_Params, UnlikeInputsAskBeforeTheJoinPassingOverUnreadableOnes)
{
    const QStringList inputs{Media_Path("not_video.mpg"), Media_Path(Ps2_24.file), Media_Path(Ps2_24.file),
                             Media_Path(Ps2_36.file), Media_Path(Ts_2.file)};
    const auto unlike = Find_Unlike_Input(inputs);
    ASSERT_TRUE(unlike);
    EXPECT_EQ(Unlike_Question(*unlike),
              QStringLiteral("最初のﾌｧｲﾙと形式が違うﾌｧｲﾙがあります！\n最初のﾌｧｲﾙ: %1\n違うﾌｧｲﾙ: %2\n"
                             "画面ｻｲｽﾞ: 320×240 と 352×288\n\n"
                             "結合したﾌｧｲﾙは正しく再生できないことがあります。このまま結合しますか？")
                  .arg(inputs[1], inputs[3]));
    const struct {
        std::optional<Unlike_Input> unlike;
        QList<int> answers;
        bool joins;
        int asked;
    } cases[] = {{unlike, {Answer_Yes}, true, 1}, {unlike, {Answer_No}, false, 1}, {std::nullopt, {}, true, 0}};
    for (const auto& c : cases) {
        Script_Prompter prompts;
        prompts.answers = c.answers;
        EXPECT_EQ(Join_Anyway(c.unlike, prompts), c.joins);
        EXPECT_EQ(prompts.styles, QList<int>(c.asked, Msg_Yes_No | Msg_Exclamation));
    }
    EXPECT_FALSE(Find_Unlike_Input({Media_Path(Ps1_2.file), Media_Path("not_video.mpg"), Media_Path(Ps1_3.file)}));
}

}  // namespace
}  // namespace pf
