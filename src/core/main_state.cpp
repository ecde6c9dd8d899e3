#include "core/main_state.h"

#include "util/paths.h"

#include <QFile>

namespace pf {

Main_State::Main_State(const QString& appFolder, QObject* parent)
    : QObject(parent), lstFiles(this), List_Join(this), List_Favorite(this), labels(this), appFolder_(appFolder)
{}

QString Main_State::Ini_File() const
{
    return Join_Path(appFolder_, Ini_File_Name);
}

QString Main_State::Group_Path(Group_Kind kind, int group) const
{
    return Group_File_Path(appFolder_, kind, group);
}

void Main_State::Start_Up()
{
    settings = Load_Settings(Ini_File(), appFolder_);
    lstFiles.Clear();
    List_Join.Clear();
    List_Favorite.Clear();
    List_Join.Add_All(Load_Group(Group_Path(Group_Kind::Joined, settings.Group_File)));
    List_Favorite.Add_All(Load_Group(Group_Path(Group_Kind::Favorite, settings.Favorite_File)));
    labels.Apply_Start_Up(List_Join.count(), List_Favorite.count());
}

bool Main_State::Save_All(QStringList* problems)
{
    // One replacement of the settings file, so that a crash leaves the old one or the new one.
    bool ok = Write_Exit_Keys(settings, Ini_File());
    const auto group = [&](Group_Kind kind, int number, const Path_List& list) {
        const QString file = Group_Path(kind, number);
        const Group_Write written = Write_Group(file, list.entries());
        if (!written.ok() && problems)
            problems->append(Group_Write_Message(file, written));
        ok = written.ok() && ok;
    };
    group(Group_Kind::Joined, settings.Group_File, List_Join);
    group(Group_Kind::Favorite, settings.Favorite_File, List_Favorite);
    return ok;
}

QString Main_State::Temp_Path() const
{
    return Join_Path(appFolder_, QStringLiteral("File.tmp"));
}

void Main_State::Unload()
{
    // The temporary file always has this one name, so a leftover of an earlier run goes too.
    if (File_Exists(Temp_Path()))
        QFile::remove(Temp_Path());
}

Path_List& Main_State::List(List_Id id)
{
    switch (id) {
    case List_Id::Joined: return List_Join;
    case List_Id::Favorite: return List_Favorite;
    case List_Id::Input: break;
    }
    return lstFiles;
}

}  // namespace pf
