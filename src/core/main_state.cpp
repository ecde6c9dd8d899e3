// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/main_state.h"

#include "util/log.h"
#include "util/paths.h"
#include "util/safe_file.h"
#include "util/worker.h"

#include <QCryptographicHash>
#include <QDir>
#include <QRandomGenerator>

namespace pf {

namespace {

int Index(List_Id id)
{
    return id == List_Id::Joined ? 0 : 1;
}

}  // namespace

Main_State::Main_State(const QString& appFolder, QObject* parent)
    : QObject(parent),
      lstFiles(this),
      List_Join(this),
      List_Favorite(this),
      labels(this),
      appFolder_(appFolder),
      link_(std::make_shared<Job_Link>(this))
{}

Main_State::~Main_State()
{
    link_->Cut();
}

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
    // A join killed mid-way leaves its output behind; only a program owning the folder may
    // remove it, and only a regular file of that name (never a link's target, never a folder).
    Remove_Regular_File(Temp_Path());
    settings = Load_Settings(Ini_File(), appFolder_);
    Remove_Left_Temps();
    lstFiles.Clear();
    startingUp_ = 2;
    Load_Group_Into(List_Id::Joined, settings.Group_File);
    Load_Group_Into(List_Id::Favorite, settings.Favorite_File);
}

bool Main_State::Save_All(QStringList* problems)
{
    // One replacement of the settings file, so that a crash leaves the old one or the new one.
    bool ok = Write_Exit_Keys(settings, Ini_File());
    if (!ok && problems)
        problems->append(QStringLiteral("設定ﾌｧｲﾙを保存できませんでした！\n%1").arg(Ini_File()));
    for (const List_Id id : {List_Id::Joined, List_Id::Favorite}) {
        const QString file
            = Group_Path(Kind_Of_List(id), id == List_Id::Joined ? settings.Group_File : settings.Favorite_File);
        const QStringList entries = Group_Entries(id);
        const Group_Write written = Write_Group(file, entries);
        if (!written.Ok() && problems)
            problems->append(Group_Write_Message(file, written, entries));
        ok = written.Ok() && ok;
    }
    return ok;
}

QString Main_State::Temp_Path() const
{
    return Join_Path(appFolder_, QStringLiteral("File.tmp"));
}

QString Main_State::Temp_Pattern() const
{
    // Named after this application folder, so that a program kept elsewhere leaves them alone.
    const QByteArray folder = QCryptographicHash::hash(appFolder_.toUtf8(), QCryptographicHash::Sha1).toHex().left(8);
    return QStringLiteral(".Parlo_film-%1-*.tmp").arg(QString::fromLatin1(folder));
}

QString Main_State::New_Temp_In(const QString& folder) const
{
    const QString unique = QString::number(QRandomGenerator::system()->generate64(), 36);
    return Join_Path(folder, QString(Temp_Pattern()).replace(u'*', unique));
}

void Main_State::Unload()
{
    // File.tmp always has this one name, so a leftover of an earlier run goes too.
    Remove_Regular_File(Temp_Path());
    if (!Temp_Join_File.isEmpty() && Temp_Join_File != Temp_Path())
        Start_Detached([temp = Temp_Join_File] { Remove_Regular_File(temp); });
}

void Main_State::Remove_Left_Temps() const
{
    Start_Detached([pattern = Temp_Pattern(), folders = QStringList{settings.AutoFolder, settings.List_Path}] {
        for (const QString& folder : folders) {
            if (folder.isEmpty())
                continue;
            const QDir dir(folder);
            for (const QString& name : dir.entryList({pattern}, QDir::Files | QDir::Hidden | QDir::System))
                Remove_Regular_File(dir.filePath(name));  // never what a link of that name points to
        }
    });
}

void Main_State::Load_Group_Into(List_Id id, int group)
{
    const int ticket = ++tickets_[Index(id)];
    Start_Detached([this, link = link_, file = Group_Path(Kind_Of_List(id), group), id, ticket] {
        QStringList away;
        const QStringList shown = Load_Group(file, &away, Presence_Bound_Ms);
        link->Post([this, id, ticket, shown, away] { Group_Loaded(id, ticket, shown, away); });
    });
}

void Main_State::Group_Loaded(List_Id id, int ticket, const QStringList& shown, const QStringList& away)
{
    if (ticket != tickets_[Index(id)])
        return;  // a later load of this list is under way
    if (!away.isEmpty())
        qCInfo(Log_Groups).noquote() << away.size() << "entries kept aside: their folders are missing or do not answer";
    (id == List_Id::Joined ? awayJoined_ : awayFavorite_) = away;
    Path_List& list = List(id);
    list.Clear();
    list.Add_All(shown);
    emit groupLoaded(id);
    if (startingUp_ > 0 && --startingUp_ == 0) {
        labels.Apply_Start_Up(List_Join.Count(), List_Favorite.Count());
        emit groupsRestored();
    }
}

void Main_State::Set_Order(List_Id list, Play_Order order)
{
    (list == List_Id::Joined ? settings.Play : settings.PlayF) = qint16(order);
}

const QStringList& Main_State::Away(List_Id id) const
{
    return id == List_Id::Joined ? awayJoined_ : awayFavorite_;
}

QStringList Main_State::Group_Entries(List_Id id) const
{
    const Path_List& list = id == List_Id::Joined ? List_Join : List_Favorite;
    return Path_List::Merged(list.Entries(), Away(id));
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
