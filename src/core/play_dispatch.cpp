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

Play_Dispatch::Play_Dispatch(const Settings& settings, Player_Host& host) : settings_(settings), host_(host) {}

void Play_Dispatch::Input_List_Play(const QString& selected)
{
    if (selected.isEmpty())
        return;
    // No extension test: the input list holds MPEG files only.
    if (settings_.Player() == Play_Way::Own_Window) {
        Set_Screen_Pointer(Screen_Pointer::Hourglass);
        host_.Show_Video(selected);
    } else {
        host_.Open_Associated(selected);
    }
}

void Play_Dispatch::Single_File_Play(const QString& selected)
{
    if (selected.isEmpty())
        return;
    Set_Screen_Pointer(Screen_Pointer::Hourglass);
    const QString key = Ext_Key(selected);
    if (Is_Mpeg_Key(key)) {
        if (settings_.Player() == Play_Way::Own_Window) {
            host_.Show_Video(selected);
        } else {
            Set_Screen_Pointer(Screen_Pointer::Default);
            host_.Open_Associated(selected);
        }
    } else if (Is_RealMedia_Key(key)) {
        host_.Show_RealMedia(selected);
    }
    Set_Screen_Pointer(Screen_Pointer::Default);
}

Play_End Play_Dispatch::Per_File_Play(const QString& entry)
{
    const QString key = Ext_Key(entry);
    if (Is_Mpeg_Key(key))
        return host_.Show_Video(entry);
    if (Is_RealMedia_Key(key))
        return host_.Show_RealMedia(entry);
    return Play_End::Natural;
}

}  // namespace pf
