// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/play_dispatch.h"

#include "util/paths.h"
#include "util/screen_pointer.h"

namespace pf {

QString Ext_Key(const QString& path)
{
    return Extension_Of(path).toUpper().left(4).leftJustified(4, u' ');
}

bool Is_Mpeg_Key(const QString& key)
{
    return key == QLatin1String("MPG ") || key == QLatin1String("MPEG");
}

bool Is_RealMedia_Key(const QString& key)
{
    return key == QLatin1String("RM  ") || key == QLatin1String("RAM ");
}

Play_Dispatch::Play_Dispatch(const Settings& settings, Play_State& play, Player_Host& host)
    : settings_(settings), play_(play), host_(host)
{}

void Play_Dispatch::Input_List_Play(const QString& selected)
{
    if (selected.isEmpty())
        return;
    // No extension test: the input list holds MPEG files only.
    if (settings_.Player() == Play_Way::Own_Window) {
        Set_Screen_Pointer(Screen_Pointer::Hourglass);
        play_.Play_File = selected;
        host_.Show_Video();
    } else {
        host_.Open_Associated(selected);
    }
}

void Play_Dispatch::Single_File_Play(const QString& selected)
{
    if (selected.isEmpty())
        return;
    Set_Screen_Pointer(Screen_Pointer::Hourglass);
    play_.Play_File = selected;
    const QString key = Ext_Key(play_.Play_File);
    if (Is_Mpeg_Key(key)) {
        if (settings_.Player() == Play_Way::Own_Window) {
            host_.Show_Video();
        } else {
            Set_Screen_Pointer(Screen_Pointer::Default);
            host_.Open_Associated(play_.Play_File);
        }
    } else if (Is_RealMedia_Key(key)) {
        host_.Show_RealMedia();
    }
    Set_Screen_Pointer(Screen_Pointer::Default);
}

void Play_Dispatch::Per_File_Play(const QString& entry)
{
    play_.Play_File = entry;
    const QString key = Ext_Key(entry);
    if (Is_Mpeg_Key(key))
        host_.Show_Video();
    else if (Is_RealMedia_Key(key))
        host_.Show_RealMedia();
}

}  // namespace pf
