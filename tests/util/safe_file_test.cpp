// SPDX-License-Identifier: GPL-3.0-or-later
#include "util/safe_file.h"
#include "util/system_error.h"

#include "support/temp_dir.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cerrno>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace pf;

namespace {

enum class Kind { Missing, Regular, Link_To_Regular, Fifo, Folder, Dangling_Link, Link_To_Fifo, Device };

struct Made {
    QString path;
    QString target;  // what a link names
    bool skipped = false;
};

Made Make(const test::Temp_Dir& dir, Kind kind)
{
    Made m{dir.File(QStringLiteral("thing")), dir.File(QStringLiteral("target")), false};
    const QByteArray p = QFile::encodeName(m.path), t = QFile::encodeName(m.target);
    switch (kind) {
    case Kind::Missing: break;
    case Kind::Regular: dir.Write(QStringLiteral("thing"), "old"); break;
    case Kind::Link_To_Regular:
        dir.Write(QStringLiteral("target"), "old");
        (void)::symlink(t, p);
        break;
    case Kind::Fifo: ::mkfifo(p, 0600); break;
    case Kind::Folder: dir.Mkdir(QStringLiteral("thing")); break;
    case Kind::Dangling_Link: (void)::symlink(t, p); break;
    case Kind::Link_To_Fifo:
        ::mkfifo(t, 0600);
        (void)::symlink(t, p);
        break;
    case Kind::Device:
        // A node of /dev/null's kind inside the temporary folder: a fault replaces only this copy.
        m.skipped = ::mknod(t, S_IFCHR | 0666, makedev(1, 3)) != 0 || ::symlink(t, p) != 0;
        break;
    }
    return m;
}

mode_t Type_At(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & S_IFMT : 0;
}

}  // namespace

TEST(Safe_File, Reads_And_Replaces_Only_Regular_Files)
{
    struct Case {
        Kind kind;
        File_Status read, write;
        const char* name;
    };
    const Case cases[] = {
        {Kind::Missing, File_Status::Missing, File_Status::Ok, "missing"},
        {Kind::Regular, File_Status::Ok, File_Status::Ok, "regular"},
        {Kind::Link_To_Regular, File_Status::Ok, File_Status::Ok, "link to a regular file"},
        {Kind::Fifo, File_Status::Not_Regular, File_Status::Not_Regular, "fifo"},
        {Kind::Folder, File_Status::Not_Regular, File_Status::Not_Regular, "folder"},
        {Kind::Dangling_Link, File_Status::Missing, File_Status::Not_Regular, "dangling link"},
        {Kind::Link_To_Fifo, File_Status::Not_Regular, File_Status::Not_Regular, "link to a fifo"},
        {Kind::Device, File_Status::Not_Regular, File_Status::Not_Regular, "link to a device"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::Temp_Dir dir;
        const Made m = Make(dir, c.kind);
        if (m.skipped) {
            std::printf("skipped %s: mknod needs root\n", c.name);
            continue;
        }
        const mode_t before = Type_At(m.path), targetBefore = Type_At(m.target);
        const Read_Result r = Read_Regular_File(m.path, 1024);
        EXPECT_EQ(r.status, c.read);
        if (c.read == File_Status::Ok) {
            EXPECT_EQ(r.bytes, "old");
        }

        EXPECT_EQ(Write_File_Atomically(m.path, "new"), c.write);
        if (c.write == File_Status::Ok) {
            EXPECT_EQ(Read_Regular_File(m.path, 1024).bytes, "new");
            if (c.kind == Kind::Link_To_Regular) {
                EXPECT_EQ(Type_At(m.path), mode_t(S_IFLNK));  // the link stays
                EXPECT_EQ(test::Read_All(m.target), "new");
            }
        } else {
            EXPECT_EQ(Type_At(m.path), before);
            EXPECT_EQ(Type_At(m.target), targetBefore);
        }
        EXPECT_FALSE(QFileInfo::exists(dir.File(QStringLiteral(".thing.part"))));
        EXPECT_FALSE(QFileInfo::exists(dir.File(QStringLiteral(".target.part"))));
    }
}

TEST(Safe_File, Limits_Permissions_And_Fresh_Files)
{
    test::Temp_Dir dir;
    const QString big = dir.Write(QStringLiteral("big"), QByteArray(2000, 'x'));
    EXPECT_EQ(Read_Regular_File(big, 1999).status, File_Status::Too_Large);
    EXPECT_EQ(Read_Regular_File(big, 2000).bytes.size(), 2000);

    ::chmod(QFile::encodeName(big).constData(), 0600);
    ASSERT_EQ(Write_File_Atomically(big, "y"), File_Status::Ok);
    struct stat st {};
    ::stat(QFile::encodeName(big).constData(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // A link where a fresh file is to be made is removed, never written through.
    const QString victim = dir.Write(QStringLiteral("victim"), "keep");
    const QString fresh = dir.File(QStringLiteral("File.tmp"));
    ASSERT_EQ(::symlink(QFile::encodeName(victim).constData(), QFile::encodeName(fresh).constData()), 0);
    Open_Result out = Create_Fresh(fresh);
    ASSERT_EQ(out.status, File_Status::Ok);
    ASSERT_EQ(::write(out.fd.Get(), "z", 1), 1);
    EXPECT_EQ(test::Read_All(victim), "keep");
    EXPECT_EQ(Type_At(fresh), mode_t(S_IFREG));

    EXPECT_EQ(Remove_File(dir.Mkdir(QStringLiteral("sub"))), File_Status::Not_Regular);
    EXPECT_EQ(Remove_File(fresh), File_Status::Ok);
    EXPECT_EQ(Remove_File(fresh), File_Status::Ok);  // already gone
}

TEST(Safe_File, Failures_Read_In_Japanese)
{
    const std::pair<int, const char*> cases[] = {
        {ENOENT, "見つかりません"}, {ENOTDIR, "ﾌｫﾙﾀﾞではない"}, {ENOSPC, "空きがありません"},
        {EACCES, "ｱｸｾｽ権"},         {EROFS, "読み取り専用"},    {12345, "ｼｽﾃﾑｴﾗｰ 12345"},
    };
    for (const auto& [code, words] : cases)
        EXPECT_TRUE(Japanese_System_Error(code).contains(QString::fromUtf8(words))) << code;
}
