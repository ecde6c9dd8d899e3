// SPDX-License-Identifier: GPL-3.0-or-later
// The lists of finished files: drops, the label rules of their commands, group switching.
#include "core/finished_list.h"

#include "core/main_state.h"
#include "support/script_prompter.h"
#include "support/temp_dir.h"
#include "support/waits.h"

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
    Main_State state{dir.Path()};
    Finished_List joined{state, prompter, List_Id::Joined};
    Finished_List favorites{state, prompter, List_Id::Favorite};

    Lists() { test::Start_Up(state); }
    QString Media(const QString& name) const { return dir.Write(QStringLiteral("media/") + name, "x"); }
    QList<int> Enabled() const
    {
        QList<int> on;
        for (int i : {7, 8, 9, 10, 11, 13, 14, 15, 16, 17, 19, 20})
            if (state.labels.Enabled(Cmd(i)))
                on.append(i);
        return on;
    }
};

}  // namespace

TEST(Finished_List, Drops_Take_Regular_Files_Of_Four_Extensions_Among_The_First_250)
{
    Lists f;
    QStringList many;
    for (int i = 0; i < 300; ++i)
        many << f.Media(QStringLiteral("%1.mpg").arg(i, 3, 10, QLatin1Char('0')));
    const QString a = f.Media(QStringLiteral("a.mpg")), txt = f.Media(QStringLiteral("b.txt")),
                  ram = f.Media(QStringLiteral("c.RAM")), mpeg2 = f.Media(QStringLiteral("d.mpeg2")),
                  folder = f.dir.Mkdir(QStringLiteral("media/e.mpg")), fifo = f.dir.File(QStringLiteral("media/f.rm"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const struct {
        QStringList dropped, added;
    } cases[] = {
        {many, many.mid(0, 250)},
        {{a, txt, ram}, {a, ram}},
        {{mpeg2, folder, fifo, f.dir.File(QStringLiteral("gone.mpg"))}, {}},
    };
    for (const auto& c : cases) {
        for (Finished_List* list : {&f.joined, &f.favorites}) {
            list->Clear();
            list->Drop_Files(c.dropped);
            EXPECT_EQ(list->List().Entries(), c.added);
        }
    }
}

TEST(Finished_List, Commands_Keep_The_Labels_Of_Both_Pages_In_Step)
{
    Lists f;
    const QString a = f.Media(QStringLiteral("a.mpg")), b = f.Media(QStringLiteral("b.rm")),
                  c = f.Media(QStringLiteral("c.mpg"));
    f.joined.Drop_Files({b, a});
    const struct {
        const char* what;
        std::function<void()> act;
        QList<int> enabled;
        QStringList joined, favorites;
    } steps[] = {
        {"select joined", [&] { f.joined.Select(0); }, {7, 8, 9, 10, 11, 19}, {a, b}, {}},
        {"drop", [&] { f.favorites.Drop_Files({c}); }, {7, 8, 9, 10, 11, 16, 17, 19}, {a, b}, {c}},
        {"select favourite", [&] { f.favorites.Select(0); }, {7, 8, 9, 10, 11, 13, 14, 15, 16, 17, 20}, {a, b}, {c}},
        {"click without entry", [&] { f.joined.Select(-1); }, {7, 8, 9, 10, 11, 13, 14, 15, 16, 17, 20}, {a, b}, {c}},
        {"move left", [&] { f.favorites.Move_Selected_To(f.joined); }, {10, 11}, {a, b, c}, {}},
        {"move without selection", [&] { f.favorites.Move_Selected_To(f.joined); }, {10, 11}, {a, b, c}, {}},
        {"remove",
         [&] {
             f.joined.Select(2);
             f.joined.Remove_Selected();
         },
         {10, 11},
         {a, b},
         {}},
        {"move right",
         [&] {
             f.joined.Select(0);
             f.joined.Move_Selected_To(f.favorites);
         },
         {10, 11, 16, 17},
         {b},
         {a}},
        {"move the last joined entry",
         [&] {
             f.joined.Select(0);
             f.joined.Move_Selected_To(f.favorites);
         },
         {16, 17},
         {},
         {a, b}},
        {"clear",
         [&] {
             f.favorites.Select(1);
             f.favorites.Clear();
         },
         {},
         {},
         {}},
    };
    for (const auto& s : steps) {
        s.act();
        EXPECT_EQ(f.Enabled(), s.enabled) << s.what;
        EXPECT_EQ(f.joined.List().Entries(), s.joined) << s.what;
        EXPECT_EQ(f.favorites.List().Entries(), s.favorites) << s.what;
    }
}

TEST(Finished_List, Group_Switch_Writes_The_Group_Left_And_Loads_The_One_Entered)
{
    for (List_Id id : {List_Id::Joined, List_Id::Favorite}) {
        Lists f;
        Finished_List& list = id == List_Id::Joined ? f.joined : f.favorites;
        const QString a = f.Media(QStringLiteral("a.mpg")), b = f.Media(QStringLiteral("B.mpg")),
                      c = f.Media(QStringLiteral("c.ram"));
        const auto file = [&](int group) { return f.state.Group_Path(list.Kind(), group); };
        QSignalSpy switched(&list, &Finished_List::groupSwitched);
        ASSERT_TRUE(Write_Group(file(5), {c, f.dir.File(QStringLiteral("media/gone.mpg")), a}).Ok());
        list.Drop_Files({b, a});

        EXPECT_FALSE(test::Switch_Group(list, 0));  // the current group: nothing written
        EXPECT_FALSE(QFile::exists(file(0)));
        ASSERT_TRUE(test::Switch_Group(list, 5));
        EXPECT_EQ(test::Read_All(file(0)), *Fav_Record(a) + *Fav_Record(b));
        EXPECT_EQ(list.List().Entries(), (QStringList{a, c}));  // sorted, the vanished file dropped
        EXPECT_EQ(list.Group(), 5);
        EXPECT_TRUE(f.state.labels.Enabled(Page_Commands(id).last));

        list.Clear();
        ASSERT_TRUE(test::Switch_Group(list, -5));  // leaving an empty group deletes its file
        EXPECT_FALSE(QFile::exists(file(5)));
        EXPECT_FALSE(f.state.labels.Enabled(Page_Commands(id).last));
        EXPECT_EQ(switched.count(), 2);
        EXPECT_TRUE(f.prompter.messages.isEmpty());
    }
}

TEST(Finished_List, A_Group_That_Cannot_Be_Saved_Is_Left_Only_When_The_User_Says_So)
{
    const struct {
        const char* what;
        std::function<void(Lists&)> spoil;
        bool rootWritesAnyway, asks = true;
    } cases[] = {
        {"read-only application folder",
         [](Lists& f) { QFile::setPermissions(f.dir.Path(), QFile::ReadOwner | QFile::ExeOwner); }, true},
        {"group file is a folder", [](Lists& f) { f.dir.Mkdir(QStringLiteral("Favorite00.rdm")); }, false},
        {"entry too long for a record",
         [](Lists& f) {
             const QString half(50, u'動');
             f.favorites.Drop_Files({f.Media(half + u'/' + half + QStringLiteral(".mpg"))});
         },
         false},
        {"nothing to keep, group file a folder",
         [](Lists& f) {
             f.favorites.Clear();
             f.dir.Mkdir(QStringLiteral("Favorite00.rdm"));
         },
         false, false},
    };
    for (const auto& c : cases) {
        if (c.rootWritesAnyway && ::geteuid() == 0) {
            std::printf("skipped %s: root writes into read-only folders\n", c.what);
            continue;
        }
        for (const int answer : {Answer_No, Answer_Yes}) {
            Lists f;
            f.prompter.answers = {answer};
            f.favorites.Drop_Files({f.Media(QStringLiteral("a.mpg"))});
            c.spoil(f);
            const QStringList before = f.favorites.List().Entries();
            const QList<int> labels = f.Enabled();
            const bool stays = c.asks && answer == Answer_No;
            EXPECT_EQ(test::Switch_Group(f.favorites, 7), !stays) << c.what;
            QFile::setPermissions(f.dir.Path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            EXPECT_EQ(f.favorites.List().Entries(), stays ? before : QStringList()) << c.what;
            EXPECT_EQ(f.favorites.Group(), stays ? 0 : 7);
            EXPECT_TRUE(!stays || f.Enabled() == labels);
            ASSERT_EQ(f.prompter.messages.size(), c.asks ? 1 : 0) << c.what;
            EXPECT_TRUE(!c.asks || f.prompter.messages.at(0).contains(before.last()));
        }
    }
}

TEST(Finished_List, Entries_Of_A_Missing_Drive_Survive_Start_Switches_And_Save)
{
    Lists f;
    const QString away = f.dir.Write(QStringLiteral("drive/away.mpg"), "x"), here = f.Media(QStringLiteral("here.mpg"));
    const QString files[] = {f.state.Group_Path(Group_Kind::Joined, 0), f.state.Group_Path(Group_Kind::Favorite, 0)};
    for (const QString& file : files)
        ASSERT_TRUE(Write_Group(file, {away, here}).Ok());
    const QByteArray records = test::Read_All(files[0]);
    ASSERT_TRUE(QDir(f.dir.Path()).rename(QStringLiteral("drive"), QStringLiteral("unplugged")));
    test::Start_Up(f.state);
    EXPECT_EQ(f.joined.List().Entries(), QStringList{here});
    for (Finished_List* list : {&f.joined, &f.favorites})
        EXPECT_TRUE(test::Switch_Group(*list, 1) && test::Switch_Group(*list, 0));
    ASSERT_TRUE(f.state.Save_All());
    ASSERT_TRUE(QDir(f.dir.Path()).rename(QStringLiteral("unplugged"), QStringLiteral("drive")));
    for (const QString& file : files)
        EXPECT_EQ(test::Read_All(file), records);
    test::Start_Up(f.state);
    EXPECT_EQ(f.favorites.List().Entries(), (QStringList{away, here}));
}
