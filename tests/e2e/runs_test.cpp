// SPDX-License-Identifier: GPL-3.0-or-later
// End-to-end runs: the shipped program in a folder of its own on Xvfb, driven only by X pointer
// and key events on its real windows, with clips made by ffmpeg. Each run checks the outcome on
// disk (settings file, group files, joined files, the trash) and on the screen, and keeps a
// screenshot of every step under build/artifacts/e2e/<run>.
#include "program.h"

#include "support/colours.h"
#include "support/temp_dir.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

// Texts in failure messages as text.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace pf::e2e {

namespace {

const QString Join_Dialog = QStringLiteral("結合時の設定");
const QString Play_Dialog = QStringLiteral("再生時の設定");
const QString Add_Dialog = QStringLiteral("ﾌｧｲﾙの追加");
const QString Save_Dialog = QStringLiteral("ﾌｧｲﾙ名を付けて保存");
const QString Folder_Dialog = QStringLiteral("ﾌｫﾙﾀﾞをｸﾘｯｸして選択状態にしてから ＯＫ を押してください");

// Controls of the settings dialogs, in their bodies (which start under the 20-pixel strip).
QRect Inlist_Marker(int i)
{
    return {28, 40 + 20 * i, 13, 13};
}
QRect Auto_Marker(int i)
{
    return {28, 160 + 20 * i, 13, 13};
}
constexpr QRect Join_Browse{420, 200, 27, 17};
constexpr QRect Join_Ok{276, 240, 85, 17};
QRect Way_Marker(int i)
{
    return {28, 40 + 20 * i, 13, 13};
}
QRect Size_Marker(int i)
{
    return {44 + 32, 80 + 40 + 20 * i, 13, 13};
}
QRect Rep_Marker(int i)
{
    return {44 + 32, 80 + 136 + 20 * i, 13, 13};
}
constexpr QRect Play_Ok{108, 280, 85, 17};

QPoint In_Dialog(const X_Window& dialog, const QRect& control)
{
    return dialog.rect.topLeft() + QPoint(0, 20) + control.center();
}

// A group file as the program writes it: each path in a record of 255 bytes.
QByteArray Records(const QStringList& paths)
{
    QByteArray bytes;
    for (const QString& p : paths)
        bytes += p.toUtf8().leftJustified(255, ' ');
    return bytes;
}

QString Ini_Value(const QString& ini, const char* key)
{
    const QRegularExpression line(QStringLiteral("(?m)^%1=(.*?)\\r?$").arg(QLatin1String(key)));
    return line.match(QString::fromUtf8(test::Read_All(ini))).captured(1);
}

// The one file in `folder` whose name matches `pattern`, once it is there.
QString Wait_File(const QString& folder, const QString& pattern)
{
    QStringList found;
    (void)QTest::qWaitFor([&] { return !(found = QDir(folder).entryList({pattern}, QDir::Files)).isEmpty(); }, 20000);
    return found.size() == 1 ? folder + u'/' + found.constFirst() : QString();
}

// True when `rect` of `shot` holds text: a pixel much darker than the list's white.
bool Has_Text(const QImage& shot, const QRect& rect)
{
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (qGray(shot.pixel(x, y)) < 96)
                return true;
    return false;
}

class Run : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(x.Ok()) << "no X display"; }

    // Adds `files` through the add dialog: their paths typed, quoted, then Enter.
    void Add_By_Dialog(Program& p, const QStringList& files)
    {
        p.Press(Cmd_Add_Files);
        ASSERT_TRUE(p.Wait_Window(Add_Dialog));
        x.Type(u'"' + files.join(QStringLiteral("\" \"")) + u'"');
        p.Shot(QStringLiteral("add_dialog"));
        x.Key("Return");
        ASSERT_TRUE(p.Wait_Window_Gone(Add_Dialog));
    }

    // Opens the join settings with `label`, chooses, optionally a folder, and presses OK.
    void Join_Settings(Program& p, int label, int inlist, int automatic, const QString& folder = {})
    {
        p.Press(label);
        const auto dialog = p.Wait_Window(Join_Dialog);
        ASSERT_TRUE(dialog);
        x.Click(In_Dialog(*dialog, Inlist_Marker(inlist)));
        x.Click(In_Dialog(*dialog, Auto_Marker(automatic)));
        if (!folder.isEmpty()) {
            x.Click(In_Dialog(*dialog, Join_Browse));
            ASSERT_TRUE(p.Wait_Window(Folder_Dialog));
            x.Type(folder);
            x.Key("Return");
            ASSERT_TRUE(p.Wait_Window_Gone(Folder_Dialog));
        }
        p.Shot(QStringLiteral("join_settings"));
        x.Click(In_Dialog(*dialog, Join_Ok));
        ASSERT_TRUE(p.Wait_Window_Gone(Join_Dialog));
    }

    // The files the next `count` player windows play, each waited for until it closes by itself.
    QStringList Played(Program& p, const QStringList& candidates, int count, const QString& step)
    {
        QStringList played;
        unsigned long last = 0;
        for (int i = 0; i < count; ++i) {
            const auto w = p.Wait_Player(last);
            if (!w)
                break;
            played << p.Playing(candidates);
            // On the screen: the clip's picture under the player's head strip.
            EXPECT_TRUE(QTest::qWaitFor(
                [&] {
                    const auto now = x.Find([&](const X_Window& o) { return o.id == w->id; });
                    return now && now->rect.height() > 60
                        && test::Colours(x.Grab(), now->rect.adjusted(0, 22, 0, -30)) > 8;
                },
                10000))
                << step.toStdString();
            p.Shot(QStringLiteral("%1_%2").arg(step).arg(i + 1), false);
            last = w->id;
        }
        EXPECT_TRUE(last && p.Wait_Closed(last));
        return played;
    }

    X_Session x;
};

}  // namespace

// Add by dialog, join under automatic names, play a result to its end, continuous play of the
// joined list in both orders, move to the favourites, switch groups on both lists, exit with
// save, and find it all back at the next start.
TEST_F(Run, Join_Play_Move_Switch_Save_Restart)
{
    Program p(x, QStringLiteral("join_play_move_switch_save_restart"));
    const QString a = p.Clip("mpeg1_1s.mpg", QStringLiteral("media/a.mpg"));
    const QString b = p.Clip("mpeg1_1s.mpg", QStringLiteral("media/b.mpg"));
    const QString c = p.Clip("mpeg1_1s.mpg", QStringLiteral("media/c.mpg"));
    const QString out = p.Folder(QStringLiteral("out"));
    ASSERT_TRUE(p.Start());
    const QImage first = p.Shot(QStringLiteral("first_start"));
    // The marker looks of the first start: group 00 chosen, 01 not.
    const QRgb on = first.pixel(p.Group_Button(Group_Kind::Joined, 0));
    const QRgb off = first.pixel(p.Group_Button(Group_Kind::Joined, 1));
    ASSERT_NE(on, off);

    // This run's files go to joined group 03 and favourites group 05.
    x.Click(p.Group_Button(Group_Kind::Joined, 3));
    x.Click(p.Group_Button(Group_Kind::Favorite, 5));
    Join_Settings(p, Cmd_Join_Settings_Body, 0, 1, out);

    Add_By_Dialog(p, {a, b});
    p.Press(Cmd_Join);
    const QString joined1 = Wait_File(out, QStringLiteral("*_0001.MPG"));
    ASSERT_FALSE(joined1.isEmpty());
    EXPECT_EQ(test::Read_All(joined1), test::Read_All(a) + test::Read_All(b));
    Add_By_Dialog(p, {c});
    p.Press(Cmd_Join);
    const QString joined2 = Wait_File(out, QStringLiteral("*_0002.MPG"));
    ASSERT_FALSE(joined2.isEmpty());
    EXPECT_EQ(test::Read_All(joined2), test::Read_All(a) + test::Read_All(b) + test::Read_All(c));
    EXPECT_EQ(QDir(p.App()).entryList({QStringLiteral("File.tmp")}).size(), 0);
    p.Shot(QStringLiteral("joined_twice"));

    // The first result, double-clicked, plays in the video window to its end.
    x.Click(p.Select_Row(List_Id::Joined, 0), 2);
    const QStringList results{joined1, joined2};
    EXPECT_EQ(Played(p, results, 1, QStringLiteral("double_click")), QStringList{joined1});

    // Continuous play: at random, each once; in order, the list's order.
    x.Click(p.Order_Marker(List_Id::Joined, 1));
    p.Press(Cmd_Continuous_Joined);
    QStringList random = Played(p, results, 2, QStringLiteral("random"));
    random.sort();
    EXPECT_EQ(random, results);
    x.Click(p.Order_Marker(List_Id::Joined, 0));
    p.Press(Cmd_Continuous_Joined);
    EXPECT_EQ(Played(p, results, 2, QStringLiteral("in_order")), results);

    // The first result to the favourites, which play in order too.
    p.Select_Row(List_Id::Joined, 0);
    p.Press(Cmd_Move_Right);
    x.Click(p.Order_Marker(List_Id::Favorite, 0));
    // Leaving a group writes it; coming back shows it again.
    const QString group3 = p.App_File(QStringLiteral("Parlo_film03.rdm"));
    const QString fav5 = p.App_File(QStringLiteral("Favorite05.rdm"));
    x.Click(p.Group_Button(Group_Kind::Joined, 4));
    x.Click(p.Group_Button(Group_Kind::Favorite, 6));
    EXPECT_TRUE(QTest::qWaitFor([&] { return test::Read_All(fav5) == Records({joined1}); }, 10000));
    EXPECT_EQ(test::Read_All(group3), Records({joined2}));
    p.Shot(QStringLiteral("groups_04_06"));
    x.Click(p.Group_Button(Group_Kind::Joined, 3));
    x.Click(p.Group_Button(Group_Kind::Favorite, 5));
    const QRect favPage = p.List_Rect(List_Id::Favorite).adjusted(-12, -40, 16, 133);
    const QImage wide = p.Shot(QStringLiteral("groups_03_05"));

    // The compact layout, left by its own exit-with-save label.
    x.Click(p.Layout_Button(0));
    ASSERT_TRUE(p.Wait_Painted(497));
    const QRect joinedPage = p.List_Rect(List_Id::Joined).adjusted(-12, -40, 108, 133);
    const QImage compact = p.Shot(QStringLiteral("compact_before_exit"));
    p.Press(Cmd_Exit_Save);
    ASSERT_TRUE(p.Wait_Exit());

    const QString ini = p.App_File(QStringLiteral("Parlo_film.ini"));
    const std::pair<const char*, QString> keys[] = {
        {"Group_File", QStringLiteral(" 3")},
        {"Favorite_File", QStringLiteral(" 5")},
        {"Inlist", QStringLiteral(" 0")},
        {"Auto", QStringLiteral(" 1")},
        {"AutoFolder", out},
        {"Add_Path", p.Root() + QStringLiteral("/media")},
        {"Play", QStringLiteral(" 0")},
        {"PlayF", QStringLiteral(" 0")},
        {"Skin", QStringLiteral(" 0")},
    };
    for (const auto& [key, value] : keys)
        EXPECT_EQ(Ini_Value(ini, key), value) << key;
    EXPECT_EQ(test::Read_All(group3), Records({joined2}));
    EXPECT_EQ(test::Read_All(fav5), Records({joined1}));
    EXPECT_FALSE(QFile::exists(p.App_File(QStringLiteral("File.tmp"))));

    // The next start shows it all again: layout, lists, groups, markers, order selectors.
    ASSERT_TRUE(p.Start());
    EXPECT_EQ(p.Main()->rect.width(), 497);
    const QImage again = p.Shot(QStringLiteral("restarted_compact"));
    EXPECT_EQ(again.copy(joinedPage), compact.copy(joinedPage));
    EXPECT_EQ(again.pixel(p.Group_Button(Group_Kind::Joined, 3)), on);
    EXPECT_EQ(again.pixel(p.Group_Button(Group_Kind::Joined, 0)), off);
    x.Click(p.Layout_Button(1));
    ASSERT_TRUE(p.Wait_Painted(805));
    EXPECT_EQ(p.Shot(QStringLiteral("restarted_wide")).copy(favPage), wide.copy(favPage));
    const auto saved = p.App_Files();
    p.Press(Cmd_Cancel_Body);
    ASSERT_TRUE(p.Wait_Exit());
    EXPECT_EQ(p.App_Files(), saved);
}

// Save-As names the join, `Inlist` 3 sends the inputs to the desktop trash, where they are found.
TEST_F(Run, Save_As_Into_The_Trash)
{
    Program p(x, QStringLiteral("save_as_into_the_trash"));
    const QString a = p.Clip("mpeg1_1s.mpg", QStringLiteral("media/a.mpg"));
    const QString b = p.Clip("mpeg1_2s.mpg", QStringLiteral("media/b.mpg"));
    const QByteArray bytesA = test::Read_All(a), bytesB = test::Read_All(b);
    const QString out = p.Folder(QStringLiteral("out"));
    ASSERT_TRUE(p.Start());
    Join_Settings(p, Cmd_Join_Settings_Body, 3, 0);
    Add_By_Dialog(p, {a, b});

    p.Press(Cmd_Join);
    ASSERT_TRUE(p.Wait_Window(Save_Dialog));
    x.Type(out + QStringLiteral("/saved"));  // the dialog adds the extension
    p.Shot(QStringLiteral("save_as"));
    x.Key("Return");
    const QString saved = out + QStringLiteral("/saved.mpg");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !QFile::exists(a) && !QFile::exists(b); }, 20000));
    EXPECT_EQ(test::Read_All(saved), bytesA + bytesB);
    for (const auto& [input, bytes] : {std::pair{a, bytesA}, std::pair{b, bytesB}}) {
        const QString name = QFileInfo(input).fileName();
        EXPECT_EQ(test::Read_All(p.Trash() + QStringLiteral("/files/") + name), bytes) << name.toStdString();
        const QByteArray info = test::Read_All(p.Trash() + QStringLiteral("/info/") + name + ".trashinfo");
        EXPECT_TRUE(info.contains("Path=" + QUrl::toPercentEncoding(input, "/"))) << info.constData();
    }
    EXPECT_FALSE(QFile::exists(p.App_File(QStringLiteral("File.tmp"))));
    const QImage shot = p.Shot(QStringLiteral("saved_inputs_in_trash"));
    EXPECT_FALSE(Has_Text(shot, p.List_Rect(List_Id::Input).adjusted(4, 4, -4, -20)));

    x.Click(p.Select_Row(List_Id::Joined, 0), 2);
    EXPECT_EQ(Played(p, {saved}, 1, QStringLiteral("double_click")), QStringList{saved});
    p.Press(Cmd_Exit_Save_Body);
    ASSERT_TRUE(p.Wait_Exit());
    const QString ini = p.App_File(QStringLiteral("Parlo_film.ini"));
    EXPECT_EQ(Ini_Value(ini, "Inlist"), QStringLiteral(" 3"));
    EXPECT_EQ(Ini_Value(ini, "Auto"), QStringLiteral(" 0"));
    EXPECT_EQ(Ini_Value(ini, "List_Path"), out);
    EXPECT_EQ(test::Read_All(p.App_File(QStringLiteral("Parlo_film00.rdm"))), Records({saved}));

    ASSERT_TRUE(p.Start());
    EXPECT_TRUE(Has_Text(p.Shot(QStringLiteral("restarted")), p.List_Rect(List_Id::Joined).adjusted(4, 4, -4, -20)));
    p.Press(Cmd_Cancel_Body);
    EXPECT_TRUE(p.Wait_Exit());
}

// Both settings dialogs changed and accepted, the order changed, then exit with cancel: every
// file of the application folder as it was (a start only adds the folder's lock file).
TEST_F(Run, Dialogs_Then_Cancel)
{
    Program p(x, QStringLiteral("dialogs_then_cancel"));
    const QString clip = p.Clip("mpeg1_1s.mpg", QStringLiteral("media/clip.mpg"));
    p.Write(QStringLiteral("app/Parlo_film00.rdm"), Records({clip}));
    p.Write(QStringLiteral("app/Parlo_film.ini"),
            "[Section]\r\nSkin= 0\r\nInlist= 1\r\nWay= 1\r\nSize= 1\r\n"
            "FormJ_Top= 3000\r\nFormJ_Left= 3000\r\n"
            "FormP_Top= 3000\r\nFormP_Left= 9000\r\n");
    auto before = p.App_Files();
    ASSERT_TRUE(p.Start());
    p.Shot(QStringLiteral("start_compact"));

    p.Press(Cmd_Join_Settings);
    const auto join = p.Wait_Window(Join_Dialog);
    ASSERT_TRUE(join);
    EXPECT_EQ(join->rect.topLeft(), QPoint(200, 200));
    x.Click(In_Dialog(*join, Inlist_Marker(2)));
    p.Shot(QStringLiteral("join_settings_changed"));
    x.Click(In_Dialog(*join, Join_Ok));
    ASSERT_TRUE(p.Wait_Window_Gone(Join_Dialog));

    p.Press(Cmd_Play_Settings);
    const auto play = p.Wait_Window(Play_Dialog);
    ASSERT_TRUE(play);
    for (const QRect& marker : {Way_Marker(0), Size_Marker(2), Rep_Marker(1)})
        x.Click(In_Dialog(*play, marker));
    p.Shot(QStringLiteral("play_settings_changed"));
    x.Click(In_Dialog(*play, Play_Ok));
    ASSERT_TRUE(p.Wait_Window_Gone(Play_Dialog));
    x.Click(p.Order_Marker(List_Id::Joined, 0));
    p.Shot(QStringLiteral("before_cancel"));

    p.Press(Cmd_Cancel);
    ASSERT_TRUE(p.Wait_Exit());
    before.insert(QStringLiteral(".Parlo_film.lock"), {});
    EXPECT_EQ(p.App_Files(), before);
}

// A .rm clip and a .ram list in the favourites: each played by a double-click, then both by
// continuous play in list order; each player window closes by itself at the end.
TEST_F(Run, RealMedia_In_The_Favourites)
{
    Program p(x, QStringLiteral("realmedia_in_the_favourites"));
    const QString rm = p.Clip("clip.rm", QStringLiteral("media/clip.rm"));
    const QString real = p.Clip("real_1s.rm", QStringLiteral("media/real_1s.rm"));
    const QString ram = p.Write(QStringLiteral("media/list.ram"),
                                "# two locations\n\nfile://" + p.Root().toUtf8() + "/media/missing.rm\nfile://"
                                    + real.toUtf8() + "\n");
    p.Write(QStringLiteral("app/Favorite00.rdm"), Records({ram, rm}));
    p.Write(QStringLiteral("app/Parlo_film.ini"), "[Section]\r\nPlayF= 0\r\n");
    ASSERT_TRUE(p.Start());

    const QStringList clips{rm, real};
    x.Click(p.Select_Row(List_Id::Favorite, 0), 2);
    EXPECT_EQ(Played(p, clips, 1, QStringLiteral("clip_rm")), QStringList{rm});
    x.Click(p.Select_Row(List_Id::Favorite, 1), 2);
    EXPECT_EQ(Played(p, clips, 1, QStringLiteral("list_ram")), QStringList{real});
    p.Press(Cmd_Continuous_Favorite);
    EXPECT_EQ(Played(p, clips, 2, QStringLiteral("continuous")), clips);
    p.Press(Cmd_Cancel_Body);
    EXPECT_TRUE(p.Wait_Exit());
}

// A second start on the same folder says so, raises the running window and ends, touching no file.
TEST_F(Run, Second_Start)
{
    Program p(x, QStringLiteral("second_start"));
    p.Write(QStringLiteral("app/Parlo_film00.rdm"), Records({p.Clip("mpeg1_1s.mpg", QStringLiteral("media/a.mpg"))}));
    ASSERT_TRUE(p.Start());
    // Something else over the running window.
    const unsigned long cover = x.Cover(p.Main()->rect.adjusted(100, 100, 0, 0));
    const auto stack = [&] {
        QList<unsigned long> ids;
        for (const X_Window& w : x.Windows())
            ids << w.id;
        return ids;
    };
    ASSERT_GT(stack().indexOf(cover), stack().indexOf(p.Main()->id));
    const auto before = p.App_Files();

    const auto second = p.Start_Another();
    const auto box = x.Wait_For([&](const X_Window& w) {
        return w.name == QLatin1String("Parlo_film") && w.pid == second->processId() && x.Has_Focus(w.id);
    });
    ASSERT_TRUE(box);
    p.Shot(QStringLiteral("already_running"));
    x.Key("Return");
    ASSERT_TRUE(QTest::qWaitFor([&] { return second->state() == QProcess::NotRunning; }, 20000));
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return stack().indexOf(p.Main()->id) > stack().indexOf(cover); }, 10000));
    p.Shot(QStringLiteral("raised"));
    EXPECT_EQ(p.App_Files(), before);

    p.Press(Cmd_Cancel_Body);
    EXPECT_TRUE(p.Wait_Exit());
}

}  // namespace pf::e2e
