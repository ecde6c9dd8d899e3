// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/player_host.h"

#include "core/main_state.h"
#include "ui/parlo_film_g.h"
#include "ui/parlo_film_r.h"
#include "util/shell.h"

namespace pf {

Window_Player_Host::Window_Player_Host(Main_State& state, Prompter& prompter, QWidget* owner,
                                       const QByteArray& audioOutput)
    : state_(state), prompter_(prompter), owner_(owner), audio_(audioOutput)
{}

Play_End Window_Player_Host::Show_Video(const QString& file)
{
    Parlo_film_G window(state_.settings, file, prompter_, state_.Ini_File(), owner_);
    return window.Run();
}

Play_End Window_Player_Host::Show_RealMedia(const QString& file)
{
    Parlo_film_R window(file, audio_, state_.Ini_File(), owner_);
    return window.Run();
}

void Window_Player_Host::Open_Associated(const QString& path)
{
    Open_With_Association(path);
}

}  // namespace pf
