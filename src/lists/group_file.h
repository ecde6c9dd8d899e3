// The group files of the joined-files list and the favourites list: one file per group
// (Parlo_filmNN.rdm, FavoriteNN.rdm) in the application folder, a plain run of 255-byte
// records, each one UTF-8 path left-aligned and padded with blanks. An empty group has no file.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace pf {

enum class Group_Kind { Joined, Favorite };

constexpr int Record_Length = 255;
constexpr int Group_Count = 80;

// Application folder + "/Parlo_film" or "/Favorite" + two-digit group number + ".rdm".
QString Group_File_Path(const QString& appFolder, Group_Kind kind, int group);

// One record: the path's UTF-8 bytes, cut at a character boundary to 255 bytes, padded with blanks.
QByteArray Fav_Record(const QString& path);

// Records of the file, trimmed, kept only when a file exists at the path; a partial tail is ignored.
QStringList Load_Group(const QString& file);

// Replaces the file atomically by the records of `paths`, or removes it when `paths` is empty.
// False (and the old file untouched) when it could not be written.
bool Write_Group(const QString& file, const QStringList& paths);

}  // namespace pf
