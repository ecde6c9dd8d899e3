// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_application.h"

#include "mci/mci_service.h"
#include "support/held_file.h"
#include "support/temp_dir.h"
#include "support/waits.h"
#include "ui/chrome.h"
#include "ui/path_list_view.h"
#include "ui/player_support.h"

#include <QApplication>
#include <QLabel>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace pf;

TEST(Main_Application, Start_Registers_The_Media_Device_And_Shows_The_Window)
{
    test::Temp_Dir dir;
    Main_Application program(dir.Path());
    program.Start();
    test::Until_Idle(program.Window());
    EXPECT_TRUE(Mci_Service::Instance().Has_Device_Type(QStringLiteral("MPEGVideo")));
    EXPECT_TRUE(program.Window().isVisible());
    EXPECT_EQ(program.Window().size(), QSize(805, 569));
    program.Window().close();
}

TEST(Main_Application, Input_List_Events_And_Labels_Reach_The_Join_Page)
{
    test::Temp_Dir dir;
    const QString b = dir.Write(QStringLiteral("in/b.MPG"), "b");
    const QString a = dir.Write(QStringLiteral("in/a.mpeg"), "a");
    const QString text = dir.Write(QStringLiteral("in/notes.txt"), "t");
    Main_Application program(dir.Path());
    program.Start();
    test::Until_Idle(program.Window());
    Parlo_film_S& window = program.Window();
    Main_State& state = program.State();

    emit window.filesDropped(List_Id::Joined, {a});  // another list's drop is not the join page's
    EXPECT_EQ(state.lstFiles.Count(), 0);
    emit window.filesDropped(List_Id::Input, {b, text, a});
    EXPECT_EQ(state.lstFiles.Entries(), (QStringList{a, b}));
    EXPECT_TRUE(state.labels.Enabled(Cmd(6)));
    EXPECT_FALSE(state.labels.Enabled(Cmd(2)));

    state.lstFiles.setSelected(1);
    emit window.listClicked(List_Id::Input, 1);
    EXPECT_TRUE(state.labels.Enabled(Cmd(2)) && state.labels.Enabled(Cmd(5)));

    ASSERT_TRUE(window.Commands().Has_Command(Cmd(5)));
    window.Commands().Run(Cmd(5));  // clear all
    EXPECT_EQ(state.lstFiles.Count(), 0);
    EXPECT_FALSE(state.labels.Enabled(Cmd(6)));
    window.close();
}

TEST(Main_Application, Files_Named_At_Start_Go_Into_The_Input_List)
{
    test::Temp_Dir dir;
    const QString a = dir.Write(QStringLiteral("in/a.mpg"), "a");
    const QString b = dir.Write(QStringLiteral("in/b.MPEG"), "b");
    const QString text = dir.Write(QStringLiteral("in/c.txt"), "c");
    Main_Application program(dir.Path());
    program.Start({b, text, a});
    test::Until_Idle(program.Window());
    EXPECT_EQ(program.State().lstFiles.Entries(), (QStringList{a, b}));
    EXPECT_TRUE(program.State().labels.Enabled(Cmd_Join));
    program.Window().close();
}

TEST(Main_Application, A_Join_Takes_The_Window_From_Its_Start_To_Its_End)
{
    test::Temp_Dir dir;
    const QStringList inputs{dir.Write(QStringLiteral("in/a.mpg"), "a"), dir.Write(QStringLiteral("in/b.mpg"), "b")};
    auto held = std::make_unique<test::Held_File>(inputs.at(1));
    Main_Application program(dir.Path());
    program.Start(inputs);
    test::Until_Idle(program.Window());
    Parlo_film_S& window = program.Window();
    QTest::mouseClick(window.Cmd_Label(Cmd_Join), Qt::LeftButton);
    EXPECT_TRUE(window.Busy());
    QTest::mouseClick(window.Cmd_Label(Cmd_Clear_Input), Qt::LeftButton);  // held, not run inside the join
    EXPECT_EQ(program.State().lstFiles.Entries(), inputs);
    program.Join().Engine().Cancel();
    EXPECT_FALSE(window.Busy());
    QTRY_COMPARE(program.State().lstFiles.Count(), 0);  // but after it
    held.reset();
    QTRY_VERIFY(!QFile::exists(program.State().Temp_Path()));
    window.close();
}

TEST(Main_Application, Finished_Lists_Take_Drops_Clicks_Arrows_Group_Buttons_And_Commands)
{
    test::Temp_Dir dir;
    const QString clip = dir.Write(QStringLiteral("media/動画 1.mpg"), "m");
    const QString other = dir.Write(QStringLiteral("media/b.rm"), "r");
    Main_Application program(dir.Path());
    program.Start();
    test::Until_Idle(program.Window());
    Parlo_film_S& window = program.Window();
    Main_State& state = program.State();

    // A file manager's drop: percent-encoded file URLs.
    QMimeData mime;
    mime.setData(QStringLiteral("text/uri-list"),
                 QUrl::fromLocalFile(clip).toEncoded() + "\r\n" + QUrl::fromLocalFile(other).toEncoded() + "\r\n");
    ASSERT_TRUE(mime.data(QStringLiteral("text/uri-list")).contains("%E5%8B%95"));
    QWidget* viewport = window.List_View(List_Id::Joined)->viewport();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(viewport, &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(viewport, &drop);
    EXPECT_EQ(state.List_Join.Entries(), (QStringList{other, clip}));
    EXPECT_TRUE(state.labels.Enabled(Cmd_Clear_Joined) && state.labels.Enabled(Cmd_Continuous_Joined));

    const Path_List_View* view = window.List_View(List_Id::Joined);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, view->visualRect(view->model()->index(1, 0)).center());
    EXPECT_EQ(state.List_Join.Selected(), 1);
    EXPECT_TRUE(state.labels.Enabled(Cmd_Play_Joined) && state.labels.Enabled(Cmd_Move_Right));
    window.Commands().Run(Cmd_Move_Right);
    EXPECT_EQ(state.List_Favorite.Entries(), QStringList{clip});

    // A group button writes the group left and shows the one entered.
    QTest::mousePress(window.Group_Button(Group_Kind::Favorite, 7), Qt::LeftButton);
    test::Until_Idle(window);
    EXPECT_EQ(state.settings.Favorite_File, 7);
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lbl_G1"))->text(), QStringLiteral("ｸﾞﾙｰﾌﾟ 07"));
    EXPECT_EQ(state.List_Favorite.Count(), 0);
    QTest::mousePress(window.Group_Button(Group_Kind::Favorite, 0), Qt::LeftButton);
    test::Until_Idle(window);
    EXPECT_EQ(state.List_Favorite.Entries(), QStringList{clip});
    window.Commands().Run(Cmd_Clear_Favorite);
    EXPECT_EQ(state.List_Favorite.Count(), 0);
    window.close();
}

TEST(Main_Application, Play_Labels_And_Double_Clicks_Open_The_Player_Of_The_File)
{
    enum How { Label, Double_Click };
    struct Case {
        How how;
        List_Id list;
        const char* clip;
        const char* window;
    };
    const Case cases[] = {
        {Label, List_Id::Input, "mpeg1_1s.mpg", "Parlo_film_G"},
        {Label, List_Id::Joined, "mpeg1_1s.mpg", "Parlo_film_G"},
        {Double_Click, List_Id::Joined, "clip.rm", "Parlo_film_R"},
        {Label, List_Id::Favorite, "clip.rm", "Parlo_film_R"},
        {Double_Click, List_Id::Favorite, "mpeg1_1s.mpg", "Parlo_film_G"},
    };
    test::Temp_Dir dir;
    Main_Application program(dir.Path(), test::Silent);
    program.Start();
    test::Until_Idle(program.Window());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clip);
        Main_State& state = program.State();
        Path_List& list = state.List(c.list);
        list.Clear();
        list.setSelected(list.Add(test::Clip(c.clip)));
        QString shown, file;
        test::While_Open(&program.Window(), [&] {
            EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }, 10000));
            if (auto* w = qobject_cast<Player_Window*>(QApplication::activeModalWidget())) {
                shown = w->objectName();
                file = w->File();
                QTest::keyClick(w, Qt::Key_Escape);
            }
        });
        if (c.how == Label)
            program.Window().Commands().Run(Page_Commands(c.list).play);
        else
            emit program.Window().listDoubleClicked(c.list, 0);
        EXPECT_EQ(shown, QString::fromLatin1(c.window));
        EXPECT_EQ(file, test::Clip(c.clip));
    }
    program.Window().close();
}

TEST(Main_Application, Continuous_Play_Runs_Real_Clips_To_Their_End_In_List_Order)
{
    test::Temp_Dir dir;
    Main_Application program(dir.Path(), test::Silent);
    program.Start();
    test::Until_Idle(program.Window());
    Main_State& state = program.State();
    state.settings.PlayF = 0;
    const QStringList clips{test::Clip("mpeg1_1s.mpg"), test::Clip("real_1s.rm")};
    program.Finished(List_Id::Favorite).Drop_Files({clips.at(1), clips.at(0)});

    // Each player window that opens, with the file it was given; nobody closes one.
    struct Shown_Players : QObject {
        QStringList played;
        bool eventFilter(QObject* o, QEvent* e) override
        {
            if (auto* player = qobject_cast<Player_Window*>(o); player && e->type() == QEvent::Show)
                played << player->objectName() + u':' + player->File();
            return false;
        }
    } shown;
    qApp->installEventFilter(&shown);
    program.Window().Commands().Run(Cmd_Continuous_Favorite);
    qApp->removeEventFilter(&shown);

    EXPECT_EQ(
        shown.played,
        (QStringList{QStringLiteral("Parlo_film_G:") + clips.at(0), QStringLiteral("Parlo_film_R:") + clips.at(1)}));
    program.Window().close();
}
