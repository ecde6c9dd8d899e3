// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_application.h"

#include "core/profile.h"
#include "dialogs/parlo_film_j.h"
#include "dialogs/parlo_film_p.h"
#include "playback/mpv_session.h"
#include "ui/first_paint.h"

#include <QApplication>

namespace pf {

Main_Application::Main_Application(const QString& appFolder, const Mpeg_Driver_Options& media)
    : state_(appFolder),
      window_(state_),
      join_(state_, window_.Prompts()),
      joinProgress_(join_.Engine(), &window_),
      players_(state_, window_.Prompts(), &window_, media.audioOutput),
      dispatch_(state_.settings, players_),
      joined_(state_, window_.Prompts(), List_Id::Joined),
      favorites_(state_, window_.Prompts(), List_Id::Favorite),
      continuous_([this](const QString& entry) { return dispatch_.Per_File_Play(entry); })
{
    Set_Profile_Prompter(&window_.Prompts());
    Wire_Join_Page();
    Wire_Dialogs();
    Wire_Players(media);
    Wire_Lists();
}

Main_Application::~Main_Application()
{
    Set_Profile_Prompter(nullptr);
}

void Main_Application::Start(const QStringList& files)
{
    window_.Load();
    // The player's libraries load once the window has painted, so that they do not slow its
    // start, and before the first play asks for them.
    After_First_Paint(&window_, [] { Mpv_Session::Preload(); });
    window_.show();
    // After the start-up row of the labels, which the groups' arrival sets.
    if (!files.isEmpty())
        QObject::connect(
            &state_, &Main_State::groupsRestored, &join_, [this, files] { join_.filesDropped(files); },
            Qt::SingleShotConnection);
}

void Main_Application::Raise()
{
    window_.showNormal();
    // Raising the main window over its own modal dialog would leave the dialog hidden behind it.
    QWidget* front = QApplication::activeModalWidget();
    if (!front)
        front = &window_;
    front->raise();
    front->activateWindow();
}

void Main_Application::Wire_Join_Page()
{
    QObject::connect(&join_.Engine(), &Join_Engine::started, &window_, [this] { window_.Set_Busy(true); });
    QObject::connect(&join_.Engine(), &Join_Engine::ended, &window_, [this] { window_.Set_Busy(false); });
    for (Cmd cmd : Join_Commands::Indices())
        window_.Set_Command(cmd, [this, cmd] { join_.Run(cmd); });
    QObject::connect(&window_, &Parlo_film_S::listClicked, &join_, [this](List_Id id, int row) {
        if (id == List_Id::Input)
            join_.filesClicked(row);
    });
    QObject::connect(&window_, &Parlo_film_S::listDoubleClicked, &join_, [this](List_Id id, int row) {
        if (id == List_Id::Input)
            join_.filesDoubleClicked(row);
    });
    QObject::connect(&window_, &Parlo_film_S::filesDropped, &join_, [this](List_Id id, const QStringList& paths) {
        if (id == List_Id::Input)
            join_.filesDropped(paths);
    });
}

void Main_Application::Wire_Dialogs()
{
    const auto join = [this] { Parlo_film_J(state_.settings, state_.Ini_File(), nullptr, &window_).exec(); };
    const auto play = [this] { Parlo_film_P(state_.settings, state_.Ini_File(), &window_).exec(); };
    window_.Set_Command(Cmd_Join_Settings, join);
    window_.Set_Command(Cmd_Join_Settings_Body, join);
    window_.Set_Command(Cmd_Play_Settings, play);
    window_.Set_Command(Cmd_Play_Settings_Body, play);
}

void Main_Application::Wire_Players(const Mpeg_Driver_Options& media)
{
    // The media device type before anything can be played.
    Register_Mpeg_Driver(media);
    join_.setPlayHandler([this](const QString& file) { dispatch_.Input_List_Play(file); });
    for (List_Id id : {List_Id::Joined, List_Id::Favorite})
        window_.Set_Command(Page_Commands(id).play,
                            [this, id] { dispatch_.Single_File_Play(state_.List(id).Selected_Path()); });
    QObject::connect(&window_, &Parlo_film_S::listDoubleClicked, &window_, [this](List_Id id, int) {
        if (id != List_Id::Input)
            dispatch_.Single_File_Play(state_.List(id).Selected_Path());
    });
}

void Main_Application::Wire_Lists()
{
    for (Finished_List* list : {&joined_, &favorites_}) {
        const Page_Cmds page = Page_Commands(list->Id());
        window_.Set_Command(page.remove, [list] { list->Remove_Selected(); });
        window_.Set_Command(page.clear, [list] { list->Clear(); });
        window_.Set_Command(page.last, [this, list] { continuous_.Run(list->List().Entries(), list->Order()); });
        QObject::connect(list, &Finished_List::groupSwitched, &window_, &Parlo_film_S::Show_Groups);
        QObject::connect(list, &Finished_List::switchStarted, &window_, [this] { window_.Set_Busy(true); });
        QObject::connect(list, &Finished_List::switchEnded, &window_, [this] { window_.Set_Busy(false); });
    }
    window_.Set_Command(Cmd_Move_Right, [this] { joined_.Move_Selected_To(favorites_); });
    window_.Set_Command(Cmd_Move_Left, [this] { favorites_.Move_Selected_To(joined_); });
    QObject::connect(&window_, &Parlo_film_S::listClicked, &window_, [this](List_Id id, int row) {
        if (id != List_Id::Input)
            Finished(id).Select(row);
    });
    QObject::connect(&window_, &Parlo_film_S::filesDropped, &window_, [this](List_Id id, const QStringList& paths) {
        if (id != List_Id::Input)
            Finished(id).Drop_Files(paths);
    });
    QObject::connect(&window_, &Parlo_film_S::groupPressed, &window_, [this](Group_Kind kind, int group) {
        Finished(kind == Group_Kind::Joined ? List_Id::Joined : List_Id::Favorite).Switch_Group(group);
    });
}

}  // namespace pf
