// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings.h"

#include "core/profile.h"
#include "util/paths.h"

#include <cmath>

namespace pf {

std::optional<qint16> Read_Number(const QString& text)
{
    bool ok = false;
    const double d = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return std::nullopt;
    const double down = std::floor(d);
    if (down < -32768.0 || down > 32767.0)
        return std::nullopt;
    return qint16(down);
}

std::optional<Video_Size> Settings::Picture_Size() const
{
    if (Size < 0 || Size > qint16(Video_Size::Custom))
        return std::nullopt;
    return Video_Size(Size);
}

After_Join Settings::Inputs_After_Join() const
{
    return Inlist > 0 && Inlist <= qint16(After_Join::Trash) ? After_Join(Inlist) : After_Join::Keep;
}

std::optional<Naming> Settings::Chosen_Naming() const
{
    if (Auto < 0 || Auto > qint16(Naming::Automatic))
        return std::nullopt;
    return Naming(Auto);
}

Play_Order Settings::Order(List_Id list) const
{
    return (list == List_Id::Joined ? Play : PlayF) == 0 ? Play_Order::Sequential : Play_Order::Random;
}

Settings Read_Settings(const Profile_Text& profile, const QString& appFolder)
{
    Settings s;
    for (const Setting_Key& k : Settings_Table) {
        if (k.kind == Key_Kind::Position)
            continue;
        const QString v = profile.Value(Ini_Section, QLatin1String(k.name));
        if (k.kind == Key_Kind::Path) {
            s.*k.path = !v.isEmpty() ? v : k.appFolder ? appFolder : QString();
        } else if (v.isEmpty()) {
            s.*k.number = k.fallback;
        } else if (const auto n = Read_Number(v)) {
            s.*k.number = *n;  // a text that is no number leaves the field as it was
        }
    }
    // A vanished automatic folder sends the join back to the Save-As dialog.
    if (s.Chosen_Naming() == Naming::Automatic && !Folder_Exists(s.AutoFolder)) {
        s.Auto = 0;
        s.AutoFolder.clear();
    }
    return s;
}

Settings Load_Settings(const QString& iniFile, const QString& appFolder)
{
    return Read_Settings(Profile_File(iniFile), appFolder);
}

bool Write_Exit_Keys(const Settings& s, const QString& iniFile)
{
    Profile_File p(iniFile);
    for (const Setting_Key& k : Settings_Table) {
        if (k.saved != Saved_By::Exit)
            continue;
        if (k.kind == Key_Kind::Path)
            p.setValue(Ini_Section, QLatin1String(k.name), s.*k.path);
        else
            p.setNumber(Ini_Section, QLatin1String(k.name), s.*k.number);
    }
    return p.Save() == File_Status::Ok;
}

}  // namespace pf
