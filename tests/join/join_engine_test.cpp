// SPDX-License-Identifier: GPL-3.0-or-later
#include "join/file_copy.h"
#include "join/join_commands.h"
#include "join/join_engine.h"

#include "join_support.h"
#include "support/held_file.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

#include <sys/resource.h>
#include <unistd.h>

using namespace pf;
using pf::test::Join_Fixture;
using pf::test::Read_All;

namespace {

// A join with automatic names into <tmp>/auto, Inlist 0 unless changed.
struct Auto_Join : Join_Fixture {
    Join_Commands commands{state, prompter};
    QString autoFolder = dir.Mkdir(QStringLiteral("auto"));

    Auto_Join()
    {
        state.settings.Auto = 1;
        state.settings.AutoFolder = autoFolder;
    }
    QString Name(qint64 number, const QString& ext = QStringLiteral("MPG")) const
    {
        return Automatic_Name(autoFolder, QDate::currentDate(), number, ext);
    }
    void Join() { pf::test::Run_And_Wait(commands); }
};

}  // namespace

TEST(Join, WritesTheExactBytesInListOrder)
{
    Auto_Join j;
    const QByteArray a = "0123456789", c = "abcde";
    j.state.lstFiles.Add_All({j.dir.Write("c.mpg", c), j.dir.Write("b.mpg", {}), j.dir.Write("A.mpg", a)});
    j.Join();
    ASSERT_EQ(j.state.List_Join.Entries(), QStringList{j.Name(1)});
    EXPECT_EQ(Read_All(j.Name(1)), a + c);
    EXPECT_FALSE(QFile::exists(j.state.Temp_Path()));
    EXPECT_EQ(j.state.lstFiles.Count(), 3);  // Inlist 0 keeps the inputs
    EXPECT_FALSE(j.state.labels.Enabled(Cmd(6)));
    EXPECT_TRUE(j.state.labels.Enabled(Cmd(10)));
    EXPECT_TRUE(j.state.labels.Enabled(Cmd(11)));
}

TEST(Join, LeftOverTemporaryFileIsCutFirst)
{
    Auto_Join j;
    j.dir.Write("app/File.tmp", QByteArray(1000, 'L'));
    j.state.lstFiles.Add_All({j.Make("x.mpg", 100, '1'), j.Make("y.mpg", 100, '2')});
    j.Join();
    EXPECT_EQ(Read_All(j.Name(1)), QByteArray(100, '1') + QByteArray(100, '2'));
}

TEST(Join, ExtensionMismatchProducesNothing)
{
    Auto_Join j;
    j.state.lstFiles.Add_All({j.Make("a.MPG", 3), j.Make("b.mpeg", 3)});
    j.Join();
    EXPECT_EQ(j.prompter.messages, QStringList{"入力ﾌｧｲﾙの拡張子を統一してください！"});
    EXPECT_TRUE(j.commands.Engine().Join_Error);
    EXPECT_EQ(j.state.List_Join.Count(), 0);
    EXPECT_FALSE(QFile::exists(j.state.Temp_Path()));
    EXPECT_TRUE(QDir(j.autoFolder).isEmpty());
}

TEST(Join, SequenceNumbersOfNames)
{
    const struct {
        const char* name;
        qint64 number;
    } rows[] = {{"20021130_0007.mpg", 7},      {"20021201_0002.MPEG", 2},    {"20021201-0003.mpg", 3},
                {"20021201_10000.MPG", 10000}, {"20021201_0012abc.mpg", 12}, {"movie.mpg", -1},
                {"2002_1201.mpg", -1},         {"20021201_012.mpg", -1},     {"2002120x_0001.mpg", -1},
                {"20021201_x0001.mpg", -1}};
    for (const auto& row : rows)
        EXPECT_EQ(Sequence_Number(QString::fromLatin1(row.name)), row.number) << row.name;
    EXPECT_EQ(Automatic_Name("/a", QDate(2002, 12, 1), 8, "MPG"), QStringLiteral("/a/20021201_0008.MPG"));
    EXPECT_EQ(Automatic_Name("/a", QDate(2002, 12, 1), 10000, "MPEG"), QStringLiteral("/a/20021201_10000.MPEG"));
}

TEST(Join, NumberingGoesOnFromTheHighestCountedName)
{
    Auto_Join j;
    j.Make("auto/20021130_0007.mpg", 1);
    j.Make("auto/20021201_0002.MPEG", 1);
    j.Make("auto/movie.mpg", 1);
    j.Make("auto/2002_1201.mpg", 1);
    j.Make("auto/20021201_0050.txt", 1);
    j.Make("auto/.20021201_0060.mpg", 1);
    j.dir.Mkdir("auto/sub");
    j.Make("auto/sub/20021201_0070.mpg", 1);
    j.state.lstFiles.Add_All({j.Make("a.mpg", 2), j.Make("b.MPG", 2)});
    j.Join();
    EXPECT_EQ(j.state.List_Join.Entries(), QStringList{j.Name(8)});
    EXPECT_EQ(j.commands.Engine().Join_Output, j.Name(8));

    // A read-only numbered file counts too (there is no archive bit here to tell it apart).
    QFile::setPermissions(j.Make("auto/20021201_0020.mpg", 1), QFile::ReadOwner);
    j.state.lstFiles.Clear();
    j.state.lstFiles.Add_All({j.Make("c.mpeg", 1), j.Make("d.mpeg", 1)});
    j.Join();
    EXPECT_EQ(j.state.List_Join.Entries().constLast(), j.Name(21, "MPEG"));
}

TEST(Join, NumberingGoesPast9999)
{
    Auto_Join j;
    j.Make("auto/20021201_9999.mpg", 1);
    j.state.lstFiles.Add_All({j.Make("a.mpg", 2), j.Make("b.mpg", 2)});
    j.Join();
    EXPECT_EQ(j.state.List_Join.Entries(), QStringList{j.Name(10000)});
    j.Join();
    EXPECT_EQ(j.state.List_Join.Entries().constLast(), j.Name(10001));
}

TEST(Join, TakenNameIsNeverReplaced)
{
    Auto_Join j;
    j.Make("auto/20021201_0004.mpg", 1);
    // Names the scan does not count: a folder and a dangling link.
    j.dir.Mkdir(QFileInfo(j.Name(5)).fileName().prepend("auto/"));
    ASSERT_EQ(::symlink("/nowhere", QFile::encodeName(j.Name(6)).constData()), 0);
    j.state.lstFiles.Add_All({j.Make("a.mpg", 2), j.Make("b.mpg", 2)});
    j.Join();
    EXPECT_EQ(j.state.List_Join.Entries(), QStringList{j.Name(7)});
    EXPECT_TRUE(QFileInfo(j.Name(5)).isDir());
    EXPECT_TRUE(QFileInfo(j.Name(6)).isSymLink());
    EXPECT_EQ(j.commands.Engine().Last_Number, 7);
}

TEST(Join, FailuresLeaveInputsAndListsAlone)
{
    const auto run = [](const std::function<void(Auto_Join&, QStringList&)>& spoil, const char* what) {
        Auto_Join j;
        j.state.settings.Inlist = 2;
        QStringList inputs{j.Make("a.mpg", 10), j.Make("b.mpg", 10), j.Make("c.mpg", 10)};
        j.state.lstFiles.Add_All(inputs);
        spoil(j, inputs);
        j.Join();
        EXPECT_EQ(j.prompter.messages.size(), 1) << what;
        EXPECT_EQ(j.state.lstFiles.Entries(), inputs) << what;
        EXPECT_EQ(j.state.List_Join.Count(), 0) << what;
        EXPECT_FALSE(QFile::exists(j.state.Temp_Path())) << what;
        EXPECT_EQ(QDir(j.autoFolder).entryList(QDir::Files | QDir::Hidden), QStringList()) << what;
        for (const QString& p : inputs) {
            if (QFileInfo(p).isFile()) {
                EXPECT_EQ(QFileInfo(p).size(), 10) << what;
            }
        }
    };
    run([](Auto_Join&, QStringList& in) { QFile::remove(in.at(1)); }, "vanished input");
    run(
        [](Auto_Join& j, QStringList& in) {
            QFile::remove(in.at(1));
            j.dir.Mkdir("b.mpg");  // listed, but a folder now
        },
        "input that is a folder");
    if (geteuid() != 0) {
        run([](Auto_Join&, QStringList& in) { QFile::setPermissions(in.at(2), {}); }, "unreadable input");
        run([](Auto_Join& j, QStringList&) { QFile::setPermissions(j.autoFolder, QFile::ReadOwner | QFile::ExeOwner); },
            "unwritable folder");
    }
    run([](Auto_Join& j, QStringList&) { j.state.settings.AutoFolder = j.dir.File("missing"); }, "missing folder");
    run([](Auto_Join& j, QStringList&) { j.state.settings.AutoFolder.clear(); }, "no folder set");
}

TEST(Join, AnAutomaticNameIsWrittenFirstInItsOwnFolderAndNowhereElse)
{
    for (const bool appFolderGone : {false, true}) {
        Auto_Join j;
        const QStringList inputs{j.Make("a.mpg", 10, 'a'), j.Make("b.mpg", 10, 'b')};
        j.state.lstFiles.Add_All(inputs);
        if (appFolderGone)
            QDir(j.state.App_Folder()).removeRecursively();
        auto held = std::make_unique<pf::test::Held_File>(inputs.at(1));  // the copy waits on it
        QSignalSpy ended(&j.commands.Engine(), &Join_Engine::ended);
        j.commands.Run(Cmd_Join);
        const QStringList hidden{j.state.Temp_Pattern()};
        QTRY_COMPARE(QDir(j.autoFolder).entryList(hidden, QDir::Files | QDir::Hidden).size(), 1);
        EXPECT_EQ(QDir(j.state.App_Folder()).entryList(QDir::Files | QDir::Hidden), QStringList());
        held.reset();
        ASSERT_TRUE(ended.wait(30000));
        EXPECT_EQ(QDir(j.autoFolder).entryList(QDir::Files | QDir::Hidden),
                  QStringList{QFileInfo(j.Name(1)).fileName()});
        EXPECT_EQ(Read_All(j.Name(1)), QByteArray(10, 'a') + QByteArray(10, 'b'));
    }
}

TEST(Join, WriteFailureStopsTheCopy)
{
    // A file-size limit below the input's size makes the output's writes fail with EFBIG.
    pf::test::Temp_Dir dir;
    const QString in = dir.Write("a.mpg", QByteArray(1 << 20, 'a'));
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 1 << 19;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    for (Copy_Method m : {Copy_Method::Kernel, Copy_Method::Buffered}) {
        const Copy_Outcome r = Concatenate({in}, dir.File("out"), nullptr, m);
        EXPECT_EQ(r.status, Copy_Status::Write_Failed);
        EXPECT_EQ(r.error, EFBIG);
        EXPECT_FALSE(QFileInfo::exists(dir.File("out")));  // the failed output is removed
    }
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldSignal);
}

TEST(Join, BothCopyMethodsStreamLargeInputsAlike)
{
    pf::test::Temp_Dir dir;
    QByteArray big(20 << 20, '\0');
    for (qsizetype i = 0; i < big.size(); ++i)
        big[i] = char((i * 7 + i / 4093) & 0xff);
    const QStringList in{dir.Write("a.mpg", big), dir.Write("b.mpg", "tail")};
    for (Copy_Method m : {Copy_Method::Kernel, Copy_Method::Buffered}) {
        const QString out = dir.File(m == Copy_Method::Kernel ? "k" : "b");
        const Copy_Outcome r = Concatenate(in, out, nullptr, m);
        EXPECT_TRUE(r.Ok());
        EXPECT_EQ(r.bytes, big.size() + 4);
        EXPECT_TRUE(Read_All(out) == big + "tail");
    }
}

TEST(Join, CancelRemovesTheTemporaryFileAndListsNothing)
{
    Join_Fixture f;
    f.state.settings.Auto = 1;
    f.state.settings.AutoFolder = f.dir.Mkdir("auto");
    f.state.settings.Inlist = 2;
    Join_Commands commands(f.state, f.prompter);
    QObject::connect(&commands.Engine(), &Join_Engine::progressed, &commands.Engine(), &Join_Engine::Cancel);
    const QStringList inputs{f.Make("a.mpg", 10), f.Make("b.mpg", 10), f.Make("c.mpg", 10)};
    f.state.lstFiles.Add_All(inputs);
    pf::test::Run_And_Wait(commands);
    QTRY_VERIFY(!QFile::exists(f.state.Temp_Path()));
    EXPECT_EQ(f.state.List_Join.Count(), 0);
    EXPECT_EQ(f.state.lstFiles.Entries(), inputs);
    EXPECT_TRUE(f.prompter.messages.isEmpty());
    for (const QString& p : inputs)
        EXPECT_EQ(QFileInfo(p).size(), 10);
}

TEST(Join, UnlikeInputsAreAskedAboutAndAStampedJoinTellsWhatItLeft)
{
    struct Case {
        const char* what;
        QStringList clips;
        int stamps;
        QList<int> answers;  // to the question about unlike inputs; none: not asked
        bool joined;
        bool toldUnchanged;
    };
    const Case cases[] = {
        {"like inputs", {"mpeg1_2s.mpg", "mpeg1_3s.mpg"}, 0, {}, true, false},
        {"unlike, no", {"mpeg1_2s.mpg", "ps2_36s.mpg"}, 0, {Answer_No}, false, false},
        {"unlike, yes", {"mpeg1_2s.mpg", "ps2_36s.mpg"}, 0, {Answer_Yes}, true, false},
        {"stamped, one without a clock", {"ps1_2s.mpg", "not_video.mpg"}, 1, {}, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Auto_Join j;
        j.state.settings.Stamps = qint16(c.stamps);
        j.prompter.answers = c.answers;
        QByteArray plain;
        QStringList inputs;
        for (const QString& clip : c.clips) {
            inputs << j.dir.Write(clip, Read_All(QStringLiteral(PF_TEST_MEDIA_DIR "/") + clip));
            plain += Read_All(inputs.constLast());
        }
        j.state.lstFiles.Add_All(inputs);
        j.Join();
        EXPECT_EQ(j.prompter.messages.size(), (c.answers.isEmpty() ? 0 : 1) + (c.toldUnchanged ? 1 : 0));
        EXPECT_EQ(j.prompter.messages.value(c.answers.size()).contains(inputs.at(1)), c.toldUnchanged);
        EXPECT_EQ(j.state.List_Join.Count(), c.joined ? 1 : 0);
        EXPECT_EQ(QDir(j.autoFolder).entryList(QDir::Files | QDir::Hidden).size(), c.joined ? 1 : 0);
        EXPECT_EQ(Read_All(j.Name(1)).size(), c.joined ? plain.size() : 0);  // as long as what was joined
    }
}
