#include "lists/group_file.h"

#include "support/temp_dir.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace pf;

namespace {

QByteArray Record(const QByteArray& text)
{
    return text + QByteArray(Record_Length - text.size(), ' ');
}

}  // namespace

TEST(GroupFile, Names)
{
    EXPECT_EQ(Group_File_Path(QStringLiteral("/app"), Group_Kind::Joined, 3), QStringLiteral("/app/Parlo_film03.rdm"));
    EXPECT_EQ(Group_File_Path(QStringLiteral("/app"), Group_Kind::Favorite, 79), QStringLiteral("/app/Favorite79.rdm"));
    EXPECT_EQ(Group_File_Path(QStringLiteral("/app"), Group_Kind::Joined, 123), QStringLiteral("/app/Parlo_film123.rdm"));
    EXPECT_EQ(Group_File_Path(QStringLiteral("/app"), Group_Kind::Joined, -1), QStringLiteral("/app/Parlo_film-01.rdm"));
}

TEST(GroupFile, LoadCountsWholeRecordsAndDropsMissingFiles)
{
    test::Temp_Dir dir;
    const QString a = dir.write(QStringLiteral("a.mpg"), "a");
    const QString b = dir.write(QStringLiteral("b c.mpg"), "b");
    const QString c = dir.write(QStringLiteral("c.mpg"), "c");
    const QByteArray ra = Record(a.toUtf8()), rb = Record("   " + b.toUtf8()), rc = Record(c.toUtf8());

    struct Case { QByteArray bytes; QStringList want; };
    const Case cases[] = {
        {ra + rb + rc + QByteArray(10, 'x'), {a, b, c}},       // 3 x 255 + 10: the tail is ignored
        {ra + rb, {a, b}},                                     // 510 bytes
        {ra + rb + QByteArray(90, ' '), {a, b}},               // 600 bytes
        {ra + Record(dir.file(QStringLiteral("gone.mpg")).toUtf8()) + rc, {a, c}},
        {QByteArray(254, ' '), {}},
    };
    for (const Case& k : cases) {
        const QString file = dir.write(QStringLiteral("Parlo_film00.rdm"), k.bytes);
        EXPECT_EQ(Load_Group(file), k.want) << k.bytes.size();
    }
    EXPECT_EQ(Load_Group(dir.file(QStringLiteral("none.rdm"))), QStringList());
}

TEST(GroupFile, WriteIsExactAndAnEmptyGroupHasNoFile)
{
    test::Temp_Dir dir;
    const QString file = dir.file(QStringLiteral("Favorite05.rdm"));
    ASSERT_TRUE(Write_Group(file, {QStringLiteral("/x/b.mpg"), QStringLiteral("/x/a.mpg")}));
    EXPECT_EQ(test::Read_All(file), Record("/x/b.mpg") + Record("/x/a.mpg"));
    ASSERT_TRUE(Write_Group(file, {}));
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_TRUE(Write_Group(file, {}));  // nothing there is no failure
    EXPECT_FALSE(Write_Group(dir.file(QStringLiteral("gone/Favorite05.rdm")), {QStringLiteral("/x")}));
}

TEST(GroupFile, LongPathsAreCutAtCharacterBoundaries)
{
    // 3-byte characters: 85 fill 255 bytes exactly, so one ASCII byte in front forces a cut inside the 85th.
    const QString japanese = QStringLiteral("/") + QString(100, u'動');
    const QByteArray rec = Fav_Record(japanese);
    ASSERT_EQ(rec.size(), Record_Length);
    const QByteArray kept = rec.trimmed();
    EXPECT_EQ(kept.size(), 1 + 84 * 3);
    EXPECT_EQ(QString::fromUtf8(kept), japanese.left(85));
    EXPECT_EQ(QString::fromUtf8(kept).toUtf8(), kept);  // no broken sequence

    const QString ascii = QStringLiteral("/") + QString(300, u'a');
    EXPECT_EQ(Fav_Record(ascii), ascii.left(255).toUtf8());
}
