#include "core/settings.h"

#include "core/profile.h"
#include "util/paths.h"

#include <cmath>

namespace pf {

QString Number_Text(int value)
{
    return value >= 0 ? u' ' + QString::number(value) : QString::number(value);
}

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

namespace {

class Reader {
public:
    Reader(const QString& iniFile) : profile_(iniFile) {}

    void text(const char* key, QString& field, const QString& fallback) const
    {
        const QString v = profile_.value(Ini_Section, QLatin1String(key));
        field = v.isEmpty() ? fallback : v;
    }

    void number(const char* key, qint16& field, qint16 fallback) const
    {
        const QString v = profile_.value(Ini_Section, QLatin1String(key));
        if (v.isEmpty()) {
            field = fallback;
            return;
        }
        if (const auto n = Read_Number(v))
            field = *n;
    }

private:
    Profile_File profile_;
};

}  // namespace

Settings Load_Settings(const QString& iniFile, const QString& appFolder)
{
    const Reader r(iniFile);
    Settings s;
    r.text("Add_Path", s.Add_Path, appFolder);
    r.text("List_Path", s.List_Path, appFolder);
    r.number("Way", s.Way, 1);
    r.number("Size", s.Size, 1);
    r.number("Rep", s.Rep, 0);
    r.number("Size_X", s.Size_X, 640);
    r.number("Size_Y", s.Size_Y, 480);
    r.number("Group_File", s.Group_File, 0);
    r.number("Inlist", s.Inlist, 1);
    r.number("Auto", s.Auto, 0);
    r.text("AutoFolder", s.AutoFolder, QString());
    if (s.Auto == 1 && !Folder_Exists(s.AutoFolder)) {
        s.Auto = 0;
        s.AutoFolder.clear();
    }
    r.number("Favorite_File", s.Favorite_File, 0);
    r.number("Play", s.Play, 1);
    r.number("PlayF", s.PlayF, 1);
    r.number("Skin", s.Skin, 1);
    return s;
}

bool Write_Main_Keys(const Settings& s, const QString& iniFile)
{
    Profile_File p(iniFile);
    p.setValue(Ini_Section, QStringLiteral("Add_Path"), s.Add_Path);
    p.setValue(Ini_Section, QStringLiteral("List_Path"), s.List_Path);
    p.setValue(Ini_Section, QStringLiteral("Way"), Number_Text(s.Way));
    p.setValue(Ini_Section, QStringLiteral("Size"), Number_Text(s.Size));
    p.setValue(Ini_Section, QStringLiteral("Rep"), Number_Text(s.Rep));
    p.setValue(Ini_Section, QStringLiteral("Size_X"), Number_Text(s.Size_X));
    p.setValue(Ini_Section, QStringLiteral("Size_Y"), Number_Text(s.Size_Y));
    p.setValue(Ini_Section, QStringLiteral("Group_File"), Number_Text(s.Group_File));
    p.setValue(Ini_Section, QStringLiteral("Inlist"), Number_Text(s.Inlist));
    p.setValue(Ini_Section, QStringLiteral("Auto"), Number_Text(s.Auto));
    p.setValue(Ini_Section, QStringLiteral("AutoFolder"), s.AutoFolder);
    p.setValue(Ini_Section, QStringLiteral("Favorite_File"), Number_Text(s.Favorite_File));
    return p.save();
}

bool Write_Order_Keys(const Settings& s, const QString& iniFile)
{
    Profile_File p(iniFile);
    p.setValue(Ini_Section, QStringLiteral("Play"), Number_Text(s.Play));
    p.setValue(Ini_Section, QStringLiteral("PlayF"), Number_Text(s.PlayF));
    p.setValue(Ini_Section, QStringLiteral("Skin"), Number_Text(s.Skin));
    return p.save();
}

}  // namespace pf
