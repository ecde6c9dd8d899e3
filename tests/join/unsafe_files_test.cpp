// Links, FIFOs, devices and folders where the join expects files: File.tmp is never written
// through a link, an input that is the output is refused before anything is written, and no
// input that is not a regular file is listed or read (and none makes the join hang).
#include "join/input_list.h"
#include "join/join_commands.h"
#include "join/join_engine.h"

#include "join_support.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace pf;
using pf::test::Join_Fixture;
using pf::test::Read_All;

namespace {

int Link(const QString& target, const QString& link)
{
    return ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData());
}

// A FIFO, and as root a device node of /dev/null's kind; false when it cannot be made here.
bool Make_Node(const QString& path, bool device)
{
    const QByteArray p = QFile::encodeName(path);
    if (device)
        return ::geteuid() == 0 && ::mknod(p.constData(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    return ::mkfifo(p.constData(), 0666) == 0;
}

struct Join_Case {
    const char* what;
    // Spoils the scene: a.mpg and b.mpg are listed, victim lies outside the application folder.
    std::function<bool(Join_Fixture&, const QString& tmp, const QString& victim)> spoil;
    bool joins;
};

}  // namespace

TEST(UnsafeFiles, TemporaryOutputNeverGoesThroughALinkNorOverAnInput)
{
    const auto hard = [](const QString& a, const QString& b) { return ::link(qPrintable(a), qPrintable(b)) == 0; };
    const Join_Case cases[] = {
        {"link to a file", [](auto&, auto& tmp, auto& victim) { return Link(victim, tmp) == 0; }, true},
        {"dangling link", [](auto& f, auto& tmp, auto&) { return Link(f.dir.file("none"), tmp) == 0; }, true},
        {"link to an input", [](auto& f, auto& tmp, auto&) { return Link(f.dir.file("a.mpg"), tmp) == 0; }, false},
        {"hard link of an input", [&](auto& f, auto& tmp, auto&) { return hard(f.dir.file("b.mpg"), tmp); }, false},
        {"input linked to it",
         [](auto& f, auto& tmp, auto&) {
             f.dir.write("app/File.tmp", "old");
             QFile::remove(f.dir.file("b.mpg"));
             return Link(tmp, f.dir.file("b.mpg")) == 0;
         },
         false},
        {"FIFO", [](auto&, auto& tmp, auto&) { return Make_Node(tmp, false); }, false},
        {"device", [](auto&, auto& tmp, auto&) { return Make_Node(tmp, true); }, false},
        {"folder", [](auto&, auto& tmp, auto&) { return QDir().mkdir(tmp); }, false},
    };
    for (const Join_Case& c : cases) {
        SCOPED_TRACE(c.what);
        Join_Fixture f;
        Join_Commands commands(f.state, f.prompter);
        f.state.settings.Auto = 1;
        f.state.settings.AutoFolder = f.dir.mkdir("auto");
        const QString victim = f.dir.write("victim", "keep");
        const QString tmp = f.state.Temp_Path();
        f.state.lstFiles.addAll({f.make("a.mpg", 3, 'a'), f.make("b.mpg", 2, 'b')});
        if (!c.spoil(f, tmp, victim)) {
            EXPECT_TRUE(::geteuid() != 0) << "could not set the scene up";
            continue;  // device nodes need root
        }
        struct stat before {}, after {};
        ::lstat(QFile::encodeName(tmp).constData(), &before);
        const QByteArray a = Read_All(f.dir.file("a.mpg")), b = Read_All(f.dir.file("b.mpg"));
        commands.run(Cmd_Join);
        EXPECT_EQ(Read_All(victim), "keep");
        EXPECT_FALSE(QFileInfo::exists(f.dir.file("none")));
        EXPECT_EQ(Read_All(f.dir.file("a.mpg")), a);
        EXPECT_EQ(Read_All(f.dir.file("b.mpg")), b);
        EXPECT_EQ(f.state.List_Join.count(), c.joins ? 1 : 0);
        EXPECT_EQ(f.prompter.messages.size(), c.joins ? 0 : 1);
        if (!c.joins) {
            ::lstat(QFile::encodeName(tmp).constData(), &after);
            EXPECT_EQ(after.st_ino, before.st_ino);  // refused before anything was removed or written
            EXPECT_EQ(after.st_mode, before.st_mode);
        }
    }
}

TEST(UnsafeFiles, InputsMustBeRegularFiles)
{
    Join_Fixture f;
    const QString good = f.make("good.mpg", 4, 'g');
    const QString linked = f.dir.file("linked.mpg");
    Link(good, linked);
    QStringList odd{f.dir.file("fifo.mpg"), f.dir.file("to_fifo.mpg"), f.dir.mkdir("folder.mpg"),
                    f.dir.file("dangling.mpg")};
    Make_Node(odd[0], false);
    Link(odd[0], odd[1]);
    Link(f.dir.file("none"), odd[3]);
    if (Make_Node(f.dir.file("null.mpg"), true))
        odd << f.dir.file("null.mpg");
    const QStringList offered = QStringList{good, linked} + odd;

    Input_List list(f.state, f.prompter);
    EXPECT_EQ(Dropped_Mpeg_Files(offered), (QStringList{good, linked}));
    f.prompter.files = offered;
    list.Add_Files_Dialog();
    EXPECT_EQ(f.state.lstFiles.entries(), (QStringList{good, linked}));
    ASSERT_EQ(f.prompter.messages.size(), 1);
    for (const QString& p : odd)
        EXPECT_TRUE(f.prompter.messages[0].contains(p)) << p.toStdString();

    f.prompter.folder = f.dir.path();
    list.Clear();
    list.Add_Folder_Files();
    EXPECT_EQ(f.state.lstFiles.entries(), (QStringList{good, linked}));

    // Listed while a file, a FIFO by the time of the join: refused at once, nothing written.
    for (const QString& spoilt : odd) {
        SCOPED_TRACE(spoilt.toStdString());
        Join_Fixture j;
        Join_Commands commands(j.state, j.prompter);
        j.state.lstFiles.addAll({good, spoilt});
        commands.run(Cmd_Join);
        ASSERT_EQ(j.prompter.messages.size(), 1);
        EXPECT_TRUE(j.prompter.messages[0].contains(spoilt));
        EXPECT_FALSE(QFileInfo::exists(j.state.Temp_Path()));
    }
    struct stat fifo {};
    EXPECT_TRUE(::lstat(QFile::encodeName(odd[0]).constData(), &fifo) == 0 && S_ISFIFO(fifo.st_mode));
}
