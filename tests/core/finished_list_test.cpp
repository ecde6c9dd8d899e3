// The lists of finished files: drops, the label rules of their commands, group switching.
#include "core/finished_list.h"

#include "core/main_state.h"
#include "support/script_prompter.h"
#include "support/temp_dir.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>

#include <functional>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace pf;

namespace {

struct Lists {
    test::Temp_Dir dir;
    test::Script_Prompter prompter;
    Main_State state{dir.path()};
    Finished_List joined{state, prompter, List_Id::Joined};
    Finished_List favorites{state, prompter, List_Id::Favorite};

    Lists() { state.Start_Up(); }
    Finished_List& operator[](List_Id id) { return id == List_Id::Joined ? joined : favorites; }
    QString Media(const QString& name) const { return dir.write(QStringLiteral("media/") + name, "x"); }
};

// The enabled labels of the two finished pages and the arrows.
QList<int> Enabled(const Command_Labels& labels)
{
    QList<int> on;
    for (int i : {7, 8, 9, 10, 11, 13, 14, 15, 16, 17, 19, 20})
        if (labels.enabled(i))
            on.append(i);
    return on;
}

QStringList Sorted(QStringList paths)
{
    std::stable_sort(paths.begin(), paths.end(), PathList::Less);
    return paths;
}

QByteArray Records(const QStringList& paths)
{
    QByteArray bytes;
    for (const QString& p : paths)
        bytes += *Fav_Record(p);
    return bytes;
}

}  // namespace

TEST(Finished_List, Drops_Take_Regular_Files_Of_Four_Extensions_Among_The_First_250)
{
    // "f:" a file, "d:" a folder, "p:" a FIFO, "-:" nothing there.
    QStringList many;
    QList<int> first250;
    for (int i = 0; i < 300; ++i) {
        many << QStringLiteral("f:%1.mpg").arg(i, 3, 10, QLatin1Char('0'));
        if (i < 250)
            first250 << i;
    }
    const struct {
        const char* what;
        QStringList names;
        QList<int> taken;
    } cases[] = {
        {"300 MPEG files", many, first250},
        {"mpg, txt, RAM", {"f:a.mpg", "f:b.txt", "f:c.RAM"}, {0, 2}},
        {"mpeg2", {"f:d.mpeg2"}, {}},
        {"other kinds", {"f:e.MPEG", "f:f.rm", "d:g.mpg", "p:h.mpg", "-:i.mpg", "f:j.ram.txt"}, {0, 1}},
    };
    for (const auto& c : cases) {
        for (List_Id id : {List_Id::Joined, List_Id::Favorite}) {
            SCOPED_TRACE(c.what);
            Lists f;
            const QString kept = f.Media(QStringLiteral("kept.mpg"));
            f[id].Drop_Files({kept});
            f[id].Select(0);
            QStringList dropped, want{kept};
            for (const QString& name : c.names) {
                const QString path = f.dir.file(QStringLiteral("drop/") + name.mid(2));
                QDir().mkpath(f.dir.file(QStringLiteral("drop")));
                if (name.startsWith(u'f'))
                    f.dir.write(QStringLiteral("drop/") + name.mid(2), "x");
                else if (name.startsWith(u'd'))
                    QDir().mkpath(path);
                else if (name.startsWith(u'p'))
                    ::mkfifo(QFile::encodeName(path).constData(), 0600);
                dropped << path;
            }
            for (int i : c.taken)
                want << dropped.at(i);
            f[id].Drop_Files(dropped);
            EXPECT_EQ(f[id].List().entries(), Sorted(want));
            // Play, remove and rename wait for a new selection; clear and continuous play stay on;
            // the arrow stays only while the selection does (nothing was added).
            QList<int> labels = id == List_Id::Joined ? QList<int>{10, 11, 19} : QList<int>{16, 17, 20};
            if (!c.taken.isEmpty())
                labels.removeLast();
            EXPECT_EQ(Enabled(f.state.labels), labels);
        }
    }
}

TEST(Finished_List, Commands_Keep_The_Labels_Of_Both_Pages_In_Step)
{
    Lists f;
    const QString a = f.Media(QStringLiteral("a.mpg")), b = f.Media(QStringLiteral("b.rm")),
                  c = f.Media(QStringLiteral("c.mpg"));
    f.joined.Drop_Files({b, a});
    f.favorites.Drop_Files({c});
    const struct {
        const char* what;
        std::function<void()> act;
        QList<int> enabled;
        QStringList joined, favorites;
    } steps[] = {
        {"select joined", [&] { f.joined.Select(0); }, {7, 8, 9, 10, 11, 16, 17, 19}, {a, b}, {c}},
        {"select favourite", [&] { f.favorites.Select(0); }, {7, 8, 9, 10, 11, 13, 14, 15, 16, 17, 20}, {a, b}, {c}},
        {"click without entry", [&] { f.joined.Select(-1); }, {7, 8, 9, 10, 11, 13, 14, 15, 16, 17, 20}, {a, b}, {c}},
        {"move left", [&] { f.favorites.Move_Selected_To(f.joined); }, {10, 11}, {a, b, c}, {}},
        {"move without selection", [&] { f.favorites.Move_Selected_To(f.joined); }, {10, 11}, {a, b, c}, {}},
        {"select the last", [&] { f.joined.Select(2); }, {7, 8, 9, 10, 11, 19}, {a, b, c}, {}},
        {"remove", [&] { f.joined.Remove_Selected(); }, {10, 11}, {a, b}, {}},
        {"remove without selection", [&] { f.joined.Remove_Selected(); }, {10, 11}, {a, b}, {}},
        {"move right", [&] { f.joined.Select(0); f.joined.Move_Selected_To(f.favorites); }, {10, 11, 16, 17}, {b}, {a}},
        {"move the last joined entry", [&] { f.joined.Select(0); f.joined.Move_Selected_To(f.favorites); },
         {16, 17}, {}, {a, b}},
        {"clear favourites", [&] { f.favorites.Select(1); f.favorites.Clear(); }, {}, {}, {}},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.what);
        s.act();
        EXPECT_EQ(Enabled(f.state.labels), s.enabled);
        EXPECT_EQ(f.joined.List().entries(), s.joined);
        EXPECT_EQ(f.favorites.List().entries(), s.favorites);
    }
}

TEST(Finished_List, Group_Switch_Writes_The_Group_Left_And_Loads_The_One_Entered)
{
    for (List_Id id : {List_Id::Joined, List_Id::Favorite}) {
        Lists f;
        Finished_List& list = f[id];
        const QString a = f.Media(QStringLiteral("a.mpg")), b = f.Media(QStringLiteral("B.mpg")),
                      c = f.Media(QStringLiteral("c.ram"));
        const auto file = [&](int group) { return f.state.Group_Path(list.Kind(), group); };
        const Page_Cmds page = Page_Commands(id);
        QSignalSpy switched(&list, &Finished_List::groupSwitched);
        ASSERT_TRUE(Write_Group(file(5), {c, f.dir.file(QStringLiteral("media/gone.mpg")), a}).ok());
        list.Drop_Files({b, a});

        EXPECT_FALSE(list.Switch_Group(0));  // the current group: nothing written
        EXPECT_FALSE(QFile::exists(file(0)));
        ASSERT_TRUE(list.Switch_Group(5));
        EXPECT_EQ(test::Read_All(file(0)), Records({a, b}));
        EXPECT_EQ(list.List().entries(), (QStringList{a, c}));  // sorted, the vanished file dropped
        EXPECT_EQ(list.Group(), 5);
        EXPECT_TRUE(f.state.labels.enabled(page.clear) && f.state.labels.enabled(page.last));

        list.Clear();
        ASSERT_TRUE(list.Switch_Group(-5));  // leaving an empty group deletes its file
        EXPECT_FALSE(QFile::exists(file(5)));
        EXPECT_TRUE(list.List().entries().isEmpty());
        EXPECT_FALSE(f.state.labels.enabled(page.clear) || f.state.labels.enabled(page.last));
        list.Drop_Files({a});
        ASSERT_TRUE(list.Switch_Group(5));
        EXPECT_EQ(test::Read_All(file(-5)), Records({a}));  // as a hand-edited settings file may have it
        EXPECT_TRUE(list.List().entries().isEmpty());
        EXPECT_EQ(switched.count(), 3);
        EXPECT_TRUE(f.prompter.messages.isEmpty());
    }
}

TEST(Finished_List, A_Group_That_Cannot_Be_Saved_Is_Not_Left)
{
    const struct {
        const char* what;
        std::function<void(Lists&)> spoil;
        bool needsNonRoot;
    } cases[] = {
        {"read-only application folder",
         [](Lists& f) { QFile::setPermissions(f.dir.path(), QFile::ReadOwner | QFile::ExeOwner); }, true},
        {"group file is a folder", [](Lists& f) { f.dir.mkdir(QStringLiteral("Favorite00.rdm")); }, false},
        {"entry too long for a record",
         [](Lists& f) { 
             const QString half(50, u'動');
             f.favorites.Drop_Files({f.Media(half + u'/' + half + QStringLiteral(".mpg"))});
         }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.needsNonRoot && ::geteuid() == 0) {
            std::printf("skipped %s: root writes into read-only folders\n", c.what);
            continue;
        }
        Lists f;
        const QString a = f.Media(QStringLiteral("a.mpg"));
        ASSERT_TRUE(Write_Group(f.state.Group_Path(Group_Kind::Favorite, 7), {a}).ok());
        f.favorites.Drop_Files({a});
        c.spoil(f);
        const QStringList before = f.favorites.List().entries();
        const QList<int> labels = Enabled(f.state.labels);

        EXPECT_FALSE(f.favorites.Switch_Group(7));
        QFile::setPermissions(f.dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        EXPECT_EQ(f.favorites.List().entries(), before);
        EXPECT_EQ(f.favorites.Group(), 0);
        EXPECT_EQ(Enabled(f.state.labels), labels);
        ASSERT_EQ(f.prompter.messages.size(), 1);
        EXPECT_TRUE(f.prompter.messages.at(0).contains(f.state.Group_Path(Group_Kind::Favorite, 0)));
        EXPECT_EQ(f.prompter.styles.at(0), Msg_Exclamation);
    }
}
