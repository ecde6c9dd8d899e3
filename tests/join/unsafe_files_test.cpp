// SPDX-License-Identifier: GPL-3.0-or-later
// Links, FIFOs, devices and folders where the join expects files: File.tmp is never written
// through a link, an output that is an input is refused before anything is written, and an
// input that is not a regular file is neither listed nor read (nor makes the join hang).
#include "join/input_list.h"
#include "join/join_commands.h"

#include "join_support.h"

#include <QDir>

#include <gtest/gtest.h>

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace pf;
using pf::test::Join_Fixture;
using pf::test::Read_All;

namespace {

bool Link(const QString& target, const QString& link)
{
    return ::symlink(qPrintable(target), qPrintable(link)) == 0;
}
bool Fifo(const QString& path)
{
    return ::mkfifo(qPrintable(path), 0666) == 0;
}
// A device node of /dev/null's kind; root only.
bool Device(const QString& path)
{
    return ::mknod(qPrintable(path), S_IFCHR | 0666, makedev(1, 3)) == 0;
}
ino_t Inode(const QString& path)
{
    struct stat st {};
    return ::lstat(qPrintable(path), &st) == 0 ? st.st_ino : 0;
}

}  // namespace

TEST(UnsafeFiles, TemporaryOutputNeverGoesThroughALinkNorOverAnInput)
{
    const struct {
        const char* what;
        std::function<bool(const QString& tmp, const QString& dir)> spoil;
        bool joins;
    } cases[] = {
        {"link to a file", [](auto& tmp, auto& dir) { return Link(dir + "/victim", tmp); }, true},
        {"dangling link", [](auto& tmp, auto& dir) { return Link(dir + "/none", tmp); }, true},
        {"link to an input", [](auto& tmp, auto& dir) { return Link(dir + "/a.mpg", tmp); }, false},
        {"hard link of an input",
         [](auto& tmp, auto& dir) { return ::link(qPrintable(dir + "/a.mpg"), qPrintable(tmp)) == 0; }, false},
        {"input linked to it",
         [](auto& tmp, auto& dir) { return QFile::rename(dir + "/b.mpg", tmp) && Link(tmp, dir + "/b.mpg"); }, false},
        {"FIFO", [](auto& tmp, auto&) { return Fifo(tmp); }, false},
        {"device", [](auto& tmp, auto&) { return ::geteuid() == 0 && Device(tmp); }, false},
        {"folder", [](auto& tmp, auto&) { return QDir().mkdir(tmp); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Join_Fixture f;
        Join_Commands commands(f.state, f.prompter);
        // Saved as, with no folder of its own to write in first: File.tmp, whose name is known.
        f.prompter.savePath = f.dir.File("out.mpg");
        f.dir.Write("victim", "keep");
        f.state.lstFiles.Add_All({f.Make("a.mpg", 3, 'a'), f.Make("b.mpg", 2, 'b')});
        const QString tmp = f.state.Temp_Path();
        if (!c.spoil(tmp, f.dir.Path())) {
            EXPECT_NE(::geteuid(), 0u) << "scene not set up";
            continue;
        }
        const ino_t before = Inode(tmp);
        pf::test::Run_And_Wait(commands);
        EXPECT_EQ(Read_All(f.dir.File("victim")) + Read_All(f.dir.File("a.mpg")) + Read_All(f.dir.File("b.mpg")),
                  "keepaaabb");
        EXPECT_FALSE(QFileInfo::exists(f.dir.File("none")));
        EXPECT_EQ(f.state.List_Join.Count(), c.joins ? 1 : 0);
        EXPECT_EQ(f.prompter.messages.size(), c.joins ? 0 : 1);
        EXPECT_TRUE(c.joins || Inode(tmp) == before);  // a refusal removed and wrote nothing
    }
}

TEST(UnsafeFiles, InputsMustBeRegularFiles)
{
    Join_Fixture f;
    const QString good = f.Make("good.mpg", 4), linked = f.dir.File("linked.mpg"), fifo = f.dir.File("fifo.mpg");
    QStringList odd{fifo, f.dir.File("to_fifo.mpg"), f.dir.Mkdir("folder.mpg"), f.dir.File("dangling.mpg")};
    ASSERT_TRUE(Link(good, linked) && Fifo(fifo) && Link(fifo, odd[1]) && Link("none", odd[3]));
    if (::geteuid() == 0 && Device(f.dir.File("null.mpg")))
        odd << f.dir.File("null.mpg");

    Input_List list(f.state, f.prompter);
    EXPECT_EQ(Dropped_Mpeg_Files(QStringList{good, linked} + odd), (QStringList{good, linked}));
    f.prompter.files = odd + QStringList{good, linked};
    list.Add_Files_Dialog();
    EXPECT_EQ(f.state.lstFiles.Entries(), (QStringList{good, linked}));
    ASSERT_EQ(f.prompter.messages.size(), 1);
    EXPECT_EQ(f.prompter.messages[0].count(f.dir.Path()), odd.size());
    list.Clear();
    f.prompter.folder = f.dir.Path();
    list.Add_Folder_Files();
    EXPECT_EQ(f.state.lstFiles.Entries(), (QStringList{good, linked}));
    // Unreadable, so refused as such; root reads any, so it looks as nobody (this thread alone).
    f.prompter.files = {f.Make("locked.mpg", 1)};
    QFile::setPermissions(f.prompter.files[0], {});
    ::setfsuid(::geteuid() == 0 ? 65534 : ::geteuid());
    list.Add_Files_Dialog();
    ::setfsuid(::geteuid());
    EXPECT_TRUE(f.prompter.messages.value(1).startsWith(QStringLiteral("読み込めないため")));

    // Listed while a file, something else by the time of the join: refused at once.
    for (const QString& spoilt : odd) {
        Join_Fixture j;
        Join_Commands commands(j.state, j.prompter);
        j.state.lstFiles.Add_All({good, spoilt});
        pf::test::Run_And_Wait(commands);
        EXPECT_EQ(j.prompter.messages.value(0).contains(spoilt), true) << spoilt.toStdString();
        EXPECT_FALSE(QFileInfo::exists(j.state.Temp_Path()));
    }
    EXPECT_NE(Inode(fifo), 0u);
}
