// SPDX-License-Identifier: GPL-3.0-or-later
// The command labels' enable rules, walked event by event through the running program: clicks on
// the lists, drops, group buttons and the commands that change the lists, each followed by the
// state of all 27 labels, written out whole, so that a label that changes by mistake shows too.
// And in each layout, every label the layout shows takes a click at its place.
#include "app/main_application.h"

#include "join/join_support.h"
#include "support/temp_dir.h"
#include "support/waits.h"
#include "ui/chrome.h"
#include "ui/main_layout.h"
#include "ui/path_list_view.h"

#include <QMimeData>
#include <QTest>

#include <gtest/gtest.h>

namespace pf::test {

namespace {

// "0 1 5-7" as the labels it names, in order.
std::string Expand(const char* spec)
{
    std::string out;
    for (const QString& part : QString::fromLatin1(spec).split(u' ', Qt::SkipEmptyParts)) {
        const QStringList ends = part.split(u'-');
        for (int i = ends.first().toInt(); i <= ends.last().toInt(); ++i)
            if (Command_Label_Exists(Cmd(i)))
                out += (out.empty() ? "" : " ") + std::to_string(i);
    }
    return out;
}

class Walk {
public:
    Walk()
    {
        for (const char* name : {"in1.mpg", "in2.mpg", "in3.mpg", "j1.mpg", "j2.mpg", "f1.mpg", "notes.txt"})
            dir_.Write(QStringLiteral("media/") + QLatin1String(name), "x");
        dir_.Mkdir(QStringLiteral("app"));
        Write_Group(dir_.File(QStringLiteral("app/Parlo_film00.rdm")), {Media("j1.mpg")});
        Write_Group(dir_.File(QStringLiteral("app/Favorite01.rdm")), {Media("f1.mpg")});
        program_ = std::make_unique<Main_Application>(dir_.File(QStringLiteral("app")));
        program_->Start();
        Until_Idle(program_->Window());
    }
    ~Walk() { program_->Window().close(); }

    QString Media(const char* name) const { return dir_.File(QStringLiteral("media/") + QLatin1String(name)); }
    Settings& Setup() { return program_->State().settings; }

    // The labels that are enabled, on the screen and in the state alike.
    std::string Enabled() const
    {
        std::string out;
        for (int i = 0; i < Command_Label_Count; ++i)
            if (Command_Label* label = program_->Window().Cmd_Label(Cmd(i))) {
                EXPECT_EQ(label->isEnabled(), program_->State().labels.Enabled(Cmd(i))) << "label " << i;
                if (label->isEnabled())
                    out += (out.empty() ? "" : " ") + std::to_string(i);
            }
        return out;
    }

    void Click_Row(List_Id list, int row, Qt::MouseButton button = Qt::LeftButton)
    {
        Path_List_View* view = program_->Window().List_View(list);
        const QRect r = view->visualRect(view->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), button, {}, r.isValid() ? r.center() : QPoint(20, 5));
    }

    void Drop(List_Id list, const QStringList& paths)
    {
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString& p : paths)
            urls << QUrl::fromLocalFile(p);
        mime.setUrls(urls);
        QWidget* viewport = program_->Window().List_View(list)->viewport();
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QCoreApplication::sendEvent(viewport, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QCoreApplication::sendEvent(viewport, &drop);
    }

    void Group(Group_Kind kind, int group)
    {
        QTest::mousePress(program_->Window().Group_Button(kind, group), Qt::LeftButton);
        Until_Idle(program_->Window());
    }

    // A click on label `index`, which must be enabled to take it.
    void Press(int index)
    {
        Command_Label* label = program_->Window().Cmd_Label(Cmd(index));
        EXPECT_TRUE(label->isEnabled()) << "label " << index;
        QTest::mouseClick(label, Qt::LeftButton);
        Until_Idle(program_->Window());  // a join goes on beside the event loop
    }

    // The next save dialog is given `path` (empty: cancelled), then label `index` is pressed.
    void Press_And_Save(int index, const QString& path)
    {
        When_Modal<QFileDialog>([path](QFileDialog* d) {
            if (path.isEmpty())
                return d->reject();
            Type_Name_And_Accept(d, path);
        });
        Press(index);
    }

    Main_Application& Program() { return *program_; }
    const Temp_Dir& Dir() const { return dir_; }

private:
    Temp_Dir dir_;
    std::unique_ptr<Main_Application> program_;
};

struct Step {
    const char* event;
    std::function<void(Walk&)> act;
    const char* enabled;
};

}  // namespace

TEST(Enable_Table, Every_Label_After_Every_Event)
{
    using L = List_Id;
    // Where nothing is selected any more, the list's arrow is off too: nothing to move.
    const Step steps[] = {
        {"start-up: the joined group has an entry, the favourites none", {}, "0 1 10 11 18 22-28"},
        {"drop of two MPEG files and a text on the input list",
         [](Walk& w) {
             w.Drop(L::Input, {w.Media("in2.mpg"), w.Media("notes.txt"), w.Media("in1.mpg")});
         },
         "0 1 5 6 10 11 18 22-28"},
        {"input entry selected", [](Walk& w) { w.Click_Row(L::Input, 0); }, "0-6 10 11 18 22-28"},
        {"remove from the input list, one entry left", [](Walk& w) { w.Press(Cmd_Remove_Input); },
         "0 1 5 10 11 18 22-28"},
        {"drop on the input list, two entries", [](Walk& w) { w.Drop(L::Input, {w.Media("in3.mpg")}); },
         "0 1 5 6 10 11 18 22-28"},
        {"input entry renamed",
         [](Walk& w) {
             w.Click_Row(L::Input, 1);
             w.Press_And_Save(Cmd_Rename_Input, w.Media("in4.mpg"));
             EXPECT_EQ(w.Program().State().lstFiles.Entries(), (QStringList{w.Media("in2.mpg"), w.Media("in4.mpg")}));
         },
         "0 1 5 6 10 11 18 22-28"},
        {"joined entry selected", [](Walk& w) { w.Click_Row(L::Joined, 0); }, "0 1 5-11 18 19 22-28"},
        {"click on the empty favourites", [](Walk& w) { w.Click_Row(L::Favorite, 0); }, "0 1 5-11 18 19 22-28"},
        {"last joined entry moved right", [](Walk& w) { w.Press(Cmd_Move_Right); }, "0 1 5 6 16-18 22-28"},
        {"favourite selected", [](Walk& w) { w.Click_Row(L::Favorite, 0); }, "0 1 5 6 13-18 20 22-28"},
        {"last favourite moved left", [](Walk& w) { w.Press(Cmd_Move_Left); }, "0 1 5 6 10 11 18 22-28"},
        {"joined entry selected again", [](Walk& w) { w.Click_Row(L::Joined, 0); }, "0 1 5-11 18 19 22-28"},
        {"favourites group 01 entered, one entry", [](Walk& w) { w.Group(Group_Kind::Favorite, 1); },
         "0 1 5-11 16-19 22-28"},
        {"right button on the favourite: no selection", [](Walk& w) { w.Click_Row(L::Favorite, 0, Qt::RightButton); },
         "0 1 5-11 16-19 22-28"},
        {"favourite selected while a joined entry is", [](Walk& w) { w.Click_Row(L::Favorite, 0); },
         "0 1 5-18 20 22-28"},
        {"joined group 01 entered, empty", [](Walk& w) { w.Group(Group_Kind::Joined, 1); }, "0 1 5 6 13-18 20 22-28"},
        {"drop of an MPEG file and a text on the joined list",
         [](Walk& w) {
             w.Drop(L::Joined, {w.Media("j2.mpg"), w.Media("notes.txt")});
         },
         "0 1 5 6 10 11 13-18 20 22-28"},
        {"drop of a text only on the favourites, its selection kept",
         [](Walk& w) { w.Drop(L::Favorite, {w.Media("notes.txt")}); }, "0 1 5 6 10 11 16-18 20 22-28"},
        {"joined group 00 entered again, one entry", [](Walk& w) { w.Group(Group_Kind::Joined, 0); },
         "0 1 5 6 10 11 16-18 20 22-28"},
        {"joined entry renamed",
         [](Walk& w) {
             w.Click_Row(L::Joined, 0);
             w.Press_And_Save(Cmd_Rename_Joined, w.Media("j1b.mpg"));
             EXPECT_EQ(w.Program().State().List_Join.Entries(), QStringList{w.Media("j1b.mpg")});
         },
         "0 1 5 6 10 11 16-18 22-28"},
        {"drop on the joined list after the rename", [](Walk& w) { w.Drop(L::Joined, {w.Media("j2.mpg")}); },
         "0 1 5 6 10 11 16-18 22-28"},
        {"joined entry removed, one left",
         [](Walk& w) {
             w.Click_Row(L::Joined, 0);
             w.Press(Cmd_Remove_Joined);
         },
         "0 1 5 6 10 11 16-18 22-28"},
        {"joined list cleared", [](Walk& w) { w.Press(Cmd_Clear_Joined); }, "0 1 5 6 16-18 22-28"},
        {"favourites cleared", [](Walk& w) { w.Press(Cmd_Clear_Favorite); }, "0 1 5 6 18 22-28"},
        {"join named by Save-As, the inputs kept",
         [](Walk& w) {
             w.Setup().Inlist = 0;
             w.Press_And_Save(Cmd_Join, w.Dir().File(QStringLiteral("joined.mpg")));
             EXPECT_EQ(w.Program().State().List_Join.Count(), 1);
         },
         "0 1 5 10 11 18 22-28"},
        {"drop on the input list after the join", [](Walk& w) { w.Drop(L::Input, {w.Media("in1.mpg")}); },
         "0 1 5 6 10 11 18 22-28"},
        {"join whose Save-As was cancelled", [](Walk& w) { w.Press_And_Save(Cmd_Join, {}); }, "0 1 5 6 10 11 18 22-28"},
        {"join under an automatic name, the input list cleared",
         [](Walk& w) {
             w.Setup().Inlist = 1;
             w.Setup().Auto = 1;
             w.Setup().AutoFolder = w.Dir().Mkdir(QStringLiteral("out"));
             w.Press(Cmd_Join);
             EXPECT_EQ(w.Program().State().List_Join.Count(), 2);
         },
         "0 1 10 11 18 22-28"},
        {"input list filled and cleared",
         [](Walk& w) {
             w.Drop(L::Input, {w.Media("in1.mpg"), w.Media("in2.mpg")});
             w.Press(Cmd_Clear_Input);
         },
         "0 1 10 11 18 22-28"},
    };
    Walk w;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.event);
        if (s.act)
            s.act(w);
        EXPECT_EQ(w.Enabled(), Expand(s.enabled));
    }
}

TEST(Enable_Table, Each_Layout_Shows_Its_Labels_Where_A_Click_Reaches_Them)
{
    struct Case {
        int skin;
        const char* reached;  // the favourites page and the body's copies only in the wide layout
    };
    const Case cases[] = {{1, "0-11 13-17 19 20 22-25"}, {0, "0-11 18 26-28"}};
    Temp_Dir dir;
    Main_Application program(dir.Path());
    program.Start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.skin);
        program.Window().Img_Skin_Click(Layout(c.skin));
        std::string reached;
        for (int i = 0; i < Command_Label_Count; ++i)
            if (Command_Label* label = program.Window().Cmd_Label(Cmd(i))) {
                const QPoint centre = label->mapTo(&program.Window(), label->rect().center());
                if (label->isVisibleTo(&program.Window()) && program.Window().childAt(centre) == label)
                    reached += (reached.empty() ? "" : " ") + std::to_string(i);
            }
        EXPECT_EQ(reached, Expand(c.reached));
    }
    program.Window().close();
}

}  // namespace pf::test
