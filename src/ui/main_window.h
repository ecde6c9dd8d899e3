// SPDX-License-Identifier: GPL-3.0-or-later
// The main window Parlo_film_S: borderless, skinned, in a wide and a compact layout. It holds
// the controls and shows Main_State (lists, label states, settings); everything it does is
// forwarded: command-label releases go through its Command_Router (other subsystems register
// their handlers there), list clicks, double clicks and drops and group-button presses leave
// as signals. Only the layout, the order markers and the three ways out are handled here.
#pragma once

#include "core/settings.h"
#include "lists/group_file.h"
#include "ui/command_button.h"
#include "ui/main_layout.h"

#include <QStringList>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class QLabel;

namespace pf {

class Main_State;
class Prompter;
class Picture;
class Exit_Image;
class Tile_Box;
class Path_List_View;
class Window_Chrome;
class Choice_Group;
class Input_Gate;

class Parlo_film_S : public QWidget {
    Q_OBJECT
public:
    // Without a prompter the window asks through message boxes of its own.
    explicit Parlo_film_S(Main_State& state, Prompter* prompter = nullptr, QWidget* parent = nullptr);
    ~Parlo_film_S() override;

    // The load sequence: window size, list extents, settings and lists, backgrounds, pictures,
    // group buttons, markers and captions, then the stored layout. Shows nothing by itself.
    void Load();

    // A layout button: stores `layout` in Skin and applies it.
    void Img_Skin_Click(Layout layout);

    // Registers what the release of command label `cmd` does; see Command_Router.
    void Set_Command(Cmd cmd, Command_Router::Handler handler);
    const Command_Router& Commands() const { return router_; }

    // Marks the current group of each selector and writes both group captions.
    void Show_Groups();

    // Exit with save: settings and both current groups, then close; when something could not
    // be saved, one question naming it all decides whether to close anyway.
    void Save_And_Exit();

    // While busy (a join or a group switch under way) the window takes no input: clicks and keys
    // wait until it is done (Input_Gate); it still repaints, and the other windows (the progress
    // dialog among them) take input as ever. Counted.
    void Set_Busy(bool busy);
    bool Busy() const;

    Main_State& State() { return state_; }
    Prompter& Prompts() { return *prompter_; }
    Path_List_View* List_View(List_Id id) const { return lists_[size_t(id)]; }
    Command_Label* Cmd_Label(Cmd cmd) const;
    Picture* Group_Button(Group_Kind kind, int group) const;

signals:
    void listClicked(pf::List_Id list, int row);
    void listDoubleClicked(pf::List_Id list, int row);
    void filesDropped(pf::List_Id list, const QStringList& paths);
    // Mouse-down on a group button: the group to switch to.
    void groupPressed(pf::Group_Kind kind, int group);

protected:
    void closeEvent(QCloseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    void Build_Chrome();
    void Build_Pages();
    void Build_Commands();
    Choice_Group* Build_Order_Markers(List_Id list, const QString& name);
    void Show_Layout(Layout layout);
    void Create_Group_Buttons();
    void Show_Label_States();
    QWidget* Container(Place_In place) const;

    Main_State& state_;
    std::unique_ptr<Prompter> ownPrompter_;
    Prompter* prompter_;
    Command_Router router_;
    std::unique_ptr<Window_Chrome> chrome_;

    Picture* Image_head_ = nullptr;
    std::array<Picture*, 2> Img_Skin_{};
    QLabel* lbl_h_ = nullptr;
    Exit_Image* ImgExit_ = nullptr;
    Tile_Box* Pic_B_ = nullptr;
    std::array<Tile_Box*, 3> Pic_C_{};
    std::array<Tile_Box*, 2> Pic_G_{};
    std::array<Picture*, 3> Img_T_{};
    std::array<Path_List_View*, 3> lists_{};
    std::array<Command_Label*, Command_Label_Count> lbl_Cmd_{};
    Choice_Group* Play_ = nullptr;
    Choice_Group* PlayF_ = nullptr;
    std::array<QLabel*, 2> lbl_G_{};
    std::array<std::array<Picture*, Group_Count>, 2> groups_{};
    Input_Gate* gate_;
};

}  // namespace pf
