// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/group_file.h"

#include "support/temp_dir.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

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
    EXPECT_EQ(Group_File_Path(QStringLiteral("/app"), Group_Kind::Joined, 123),
              QStringLiteral("/app/Parlo_film123.rdm"));
    EXPECT_EQ(Group_File_Path(QStringLiteral("/app"), Group_Kind::Joined, -1),
              QStringLiteral("/app/Parlo_film-01.rdm"));
    // Captions show the number as the file name does.
    const std::pair<int, const char*> captions[]
        = {{7, "ｸﾞﾙｰﾌﾟ 07"}, {79, "ｸﾞﾙｰﾌﾟ 79"}, {-5, "ｸﾞﾙｰﾌﾟ -05"}, {123, "ｸﾞﾙｰﾌﾟ 123"}};
    for (const auto& [group, caption] : captions)
        EXPECT_EQ(Group_Caption(group), QString::fromUtf8(caption));
}

TEST(GroupFile, LoadCountsWholeRecordsAndDropsMissingFiles)
{
    test::Temp_Dir dir;
    const QString a = dir.Write(QStringLiteral("a.mpg"), "a");
    const QString b = dir.Write(QStringLiteral("b c.mpg"), "b");
    const QString c = dir.Write(QStringLiteral("c.mpg"), "c");
    const QByteArray ra = Record(a.toUtf8()), rb = Record("   " + b.toUtf8()), rc = Record(c.toUtf8());

    // A missing folder stands for an unplugged drive; a FIFO for a file that cannot be read.
    const QString away = dir.File(QStringLiteral("drive/x.mpg")), fifo = dir.File(QStringLiteral("f.mpg"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QStringList many;  // enough names for one listing of their folder, one of them a folder
    QByteArray manyRecords;
    for (int i = 0; i < 20; ++i) {
        many << (i == 3 ? dir.Mkdir(QStringLiteral("many/3")) : dir.Write(QStringLiteral("many/%1").arg(i), "m"));
        manyRecords += Record(many.last().toUtf8());
    }
    struct Case {
        QByteArray bytes;
        QStringList want, away = {};
    };
    const Case cases[] = {
        {ra + rb + rc + QByteArray(10, 'x'), {a, b, c}},  // 3 x 255 + 10: the tail is ignored
        {ra + rb, {a, b}},                                // 510 bytes
        {ra + rb + QByteArray(90, ' '), {a, b}},          // 600 bytes
        {ra + Record(dir.File(QStringLiteral("gone.mpg")).toUtf8()) + rc, {a, c}},
        {Record(a.toUtf8() + QByteArray("\0 /phantom", 10)) + Record(QByteArray("\0", 1) + c.toUtf8()), {a}},
        {QByteArray(254, ' '), {}},
        {Record(away.toUtf8()) + rc + Record(fifo.toUtf8()) + Record(away.toUtf8()), {c, fifo}, {away, away}},
        {manyRecords + Record(dir.File(QStringLiteral("many/gone")).toUtf8()), many.mid(0, 3) + many.mid(4)},
    };
    for (const Case& k : cases) {
        const QString file = dir.Write(QStringLiteral("Parlo_film00.rdm"), k.bytes);
        QStringList kept;
        EXPECT_EQ(Load_Group(file, &kept), k.want) << k.bytes.size();
        EXPECT_EQ(kept, k.away);
    }
    EXPECT_EQ(Load_Group(dir.File(QStringLiteral("none.rdm"))), QStringList());
}

TEST(GroupFile, WriteIsExactAndAnEmptyGroupHasNoFile)
{
    test::Temp_Dir dir;
    const QString file = dir.File(QStringLiteral("Favorite05.rdm"));
    ASSERT_TRUE(Write_Group(file, {QStringLiteral("/x/b.mpg"), QStringLiteral("/x/a.mpg")}).Ok());
    EXPECT_EQ(test::Read_All(file), Record("/x/b.mpg") + Record("/x/a.mpg"));
    // The same entries again: the file is not replaced (no sync for a switch that changed nothing).
    const auto inode = [&] {
        struct stat st {};
        return ::stat(QFile::encodeName(file).constData(), &st) == 0 ? st.st_ino : 0;
    };
    const auto before = inode();
    ASSERT_TRUE(Write_Group(file, {QStringLiteral("/x/b.mpg"), QStringLiteral("/x/a.mpg")}).Ok());
    EXPECT_EQ(inode(), before);
    ASSERT_TRUE(Write_Group(file, {}).Ok());
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_TRUE(Write_Group(file, {}).Ok());  // nothing there is no failure
    EXPECT_FALSE(Write_Group(dir.File(QStringLiteral("gone/Favorite05.rdm")), {QStringLiteral("/x")}).Ok());
}

TEST(GroupFile, PathsTooLongForARecordStayOutOfTheFileAndAreNamed)
{
    // 3-byte characters: 85 fill 255 bytes exactly.
    const QString fits = QString(85, u'動'), longer = QStringLiteral("/") + fits;
    EXPECT_TRUE(Fav_Record(fits) && Fav_Record(QString(255, u'a')));
    EXPECT_FALSE(Fav_Record(longer) || Fav_Record(QString(256, u'a')));
    test::Temp_Dir dir;
    const QString file = dir.File(QStringLiteral("Parlo_film00.rdm"));
    const Group_Write w = Write_Group(file, {QStringLiteral("/x/a.mpg"), longer, QStringLiteral("/x/b.mpg")});
    EXPECT_TRUE(w.status == File_Status::Ok && w.unfit == QStringList{longer});
    EXPECT_EQ(test::Read_All(file), Record("/x/a.mpg") + Record("/x/b.mpg"));
    EXPECT_TRUE(Group_Write_Message(file, w).contains(longer));
    EXPECT_TRUE(Group_Write_Message(file, Write_Group(file, {})).isEmpty());
}

TEST(GroupFile, OnlyRegularFilesAreReadOrReplaced)
{
    enum Kind { Link_To_Regular, Fifo, Folder, Link_To_Device };
    struct Case {
        Kind kind;
        bool written;
    };
    for (const Case c :
         {Case{Link_To_Regular, true}, Case{Fifo, false}, Case{Folder, false}, Case{Link_To_Device, false}}) {
        SCOPED_TRACE(c.kind);
        test::Temp_Dir dir;
        const QString media = dir.Write(QStringLiteral("a.mpg"), "a");
        const QString file = dir.File(QStringLiteral("Favorite01.rdm")), target = dir.File(QStringLiteral("target"));
        const QByteArray f = QFile::encodeName(file), t = QFile::encodeName(target);
        switch (c.kind) {
        case Link_To_Regular: dir.Write(QStringLiteral("target"), "old"); break;
        case Fifo: ASSERT_EQ(::mkfifo(t, 0600), 0); break;
        case Folder: dir.Mkdir(QStringLiteral("target")); break;
        case Link_To_Device:
            // Of /dev/null's kind, but inside the temporary folder.
            if (::mknod(t, S_IFCHR | 0666, makedev(1, 3)) != 0)
                GTEST_SKIP() << "mknod needs root";
            break;
        }
        ASSERT_EQ(::symlink(t, f), 0);
        const Group_Write w = Write_Group(file, {media, media});
        EXPECT_EQ(w.status, c.written ? File_Status::Ok : File_Status::Not_Regular);
        // Loading never blocks on a FIFO and reads nothing from a device or folder.
        EXPECT_EQ(Load_Group(file), c.written ? (QStringList{media, media}) : QStringList());
        // An empty group empties a file's target; anything else is no group file and stays.
        EXPECT_EQ(Write_Group(file, {}).status, File_Status::Ok);
        EXPECT_EQ(QFileInfo(target).isFile(), c.written);
        EXPECT_TRUE(QFileInfo(file).isSymLink());  // the link stays in every case
        EXPECT_TRUE(!c.written || QFileInfo(target).size() == 0);
        EXPECT_EQ(Group_Write_Message(file, w).contains(file), !c.written);
    }
}
