// SPDX-License-Identifier: GPL-3.0-or-later
// What a list entry's tool tip says, and that a file is read again only once it has changed.
#include "mpeg/entry_facts.h"

#include "support/clip_pieces.h"
#include "support/temp_dir.h"

#include <QDateTime>
#include <QFile>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace pf {
namespace {

using namespace test;

TEST(Entry_Facts, TextTellsLengthSizeKindAndPicture)
{
    const auto timeline = [](double seconds, bool exact) {
        Stream_Timeline t;
        t.parts = {{0, 10, seconds, 0, 25}};
        t.exact = exact;
        t.Finish();
        return t;
    };
    const struct {
        Stream_Timeline timeline;
        Stream_Params params;
        qint64 size;
        const char* want;
    } cases[] = {
        {timeline(2, true),
         {.kind = Stream_Kind::Program, .mpegVersion = 1, .width = 320, .height = 240},
         100352,
         "長さ: 0:00:02\nｻｲｽﾞ: 98.0 KB (100,352 ﾊﾞｲﾄ)\n形式: ﾌﾟﾛｸﾞﾗﾑｽﾄﾘｰﾑ (MPEG-1)\n画面ｻｲｽﾞ: 320×240"},
        {timeline(3725.4, false),
         {.kind = Stream_Kind::Transport, .mpegVersion = 2, .width = 720, .height = 480},
         1610612736,
         "長さ: 約 1:02:05\nｻｲｽﾞ: 1.5 GB (1,610,612,736 ﾊﾞｲﾄ)\n形式: ﾄﾗﾝｽﾎﾟｰﾄｽﾄﾘｰﾑ (MPEG-2)\n画面ｻｲｽﾞ: 720×480"},
        {{}, {}, 500, "長さ: 不明\nｻｲｽﾞ: 500 ﾊﾞｲﾄ\n形式: MPEG ではありません"},
        {{}, {}, -1, "ﾌｧｲﾙを読み込めません"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Facts_Text(c.timeline, c.params, c.size), QString::fromUtf8(c.want));
}

TEST(Entry_Facts, AFileIsReadAgainOnlyOnceItHasChanged)
{
    Temp_Dir dir;
    const QByteArray clip = Read_All(Media_Path(Ps1_2.file));
    Entry_Facts facts;
    QSignalSpy gathered(&facts, &Entry_Facts::factsGathered);
    // Each step writes the file with the same time; other bytes of the same size are not read.
    for (const auto& [bytes, length] :
         {std::pair(clip, "0:00:02"), {QByteArray(clip.size(), 'x'), "0:00:02"}, {clip + clip, "0:00:04"}}) {
        QFile f(dir.Write(QStringLiteral("a.mpg"), bytes));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite)
                    && f.setFileTime(QDateTime::fromSecsSinceEpoch(1e9), QFile::FileModificationTime));
        facts.Request(f.fileName());
        ASSERT_TRUE(gathered.wait(10000));
        EXPECT_TRUE(gathered.takeFirst().at(1).toString().startsWith(QStringLiteral("長さ: ") + length));
    }
}

}  // namespace
}  // namespace pf
