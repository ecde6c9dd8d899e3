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
    Stream_Timeline exact, sampled;
    exact.parts = {{0, 10, 2.0, 0, 25}};
    exact.exact = true;
    sampled.parts = {{0, 10, 3725.4, 0, 25}};
    const struct {
        Stream_Timeline timeline;
        Stream_Params params;
        qint64 size;
        const char* want;
    } cases[] = {
        {exact,
         {.kind = Stream_Kind::Program, .mpegVersion = 1, .width = 320, .height = 240},
         100352,
         "長さ: 0:00:02\nｻｲｽﾞ: 98.0 KB (100,352 ﾊﾞｲﾄ)\n形式: ﾌﾟﾛｸﾞﾗﾑｽﾄﾘｰﾑ (MPEG-1)\n画面ｻｲｽﾞ: 320×240"},
        {sampled,
         {.kind = Stream_Kind::Transport, .mpegVersion = 2, .width = 720, .height = 480},
         1610612736,
         "長さ: 約 1:02:05\nｻｲｽﾞ: 1.5 GB (1,610,612,736 ﾊﾞｲﾄ)\n形式: ﾄﾗﾝｽﾎﾟｰﾄｽﾄﾘｰﾑ (MPEG-2)\n画面ｻｲｽﾞ: 720×480"},
        {{}, {}, 500, "長さ: 不明\nｻｲｽﾞ: 500 ﾊﾞｲﾄ\n形式: MPEG ではありません"},
        {{}, {}, -1, "ﾌｧｲﾙを読み込めません"},
    };
    for (auto c : cases) {
        c.timeline.Finish();
        EXPECT_EQ(Facts_Text(c.timeline, c.params, c.size), QString::fromUtf8(c.want));
    }
}

TEST(Entry_Facts, AFileIsReadAgainOnlyOnceItHasChanged)
{
    Temp_Dir dir;
    const QByteArray clip = Read_All(Media_Path(Ps1_2.file));
    const auto write = [&dir](const QByteArray& bytes) {
        QFile f(dir.write(QStringLiteral("a.mpg"), bytes));
        EXPECT_TRUE(f.open(QIODevice::ReadWrite)
                    && f.setFileTime(QDateTime::fromSecsSinceEpoch(1e9), QFile::FileModificationTime));
        return f.fileName();
    };
    Entry_Facts facts;
    QSignalSpy ready(&facts, &Entry_Facts::factsGathered);
    const auto ask = [&](const QString& path) {
        facts.Request(path);
        EXPECT_TRUE(ready.wait(10000));
        return ready.isEmpty() ? QString() : ready.takeFirst().at(1).toString();
    };
    const QString path = write(clip), first = ask(path);
    EXPECT_TRUE(first.startsWith(QStringLiteral("長さ: 0:00:02\n"))) << first.toStdString();
    write(QByteArray(clip.size(), 'x'));  // other bytes, the same size and time: remembered
    EXPECT_EQ(ask(path), first);
    write(clip + clip);
    EXPECT_TRUE(ask(path).startsWith(QStringLiteral("長さ: 0:00:04\n")));
}

}  // namespace
}  // namespace pf
