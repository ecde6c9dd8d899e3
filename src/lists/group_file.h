// SPDX-License-Identifier: GPL-3.0-or-later
// The group files of the joined-files list and the favourites list: one file per group
// (Parlo_filmNN.rdm, FavoriteNN.rdm) in the application folder, a plain run of 255-byte
// records, each one UTF-8 path left-aligned and padded with blanks. An empty group has no file.
// Only regular files are read and replaced (util/safe_file.h): a group file that links to a
// regular file is written through; a FIFO, device or folder is never read, written or removed.
#pragma once

#include "util/safe_file.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace pf {

enum class Group_Kind { Joined, Favorite };

constexpr int Record_Length = 255;
constexpr int Group_Count = 80;

// The group number as file names and captions show it: two digits at least, a sign when
// negative ("05", "-05", "123").
QString Group_Number_Text(int group);

// "ｸﾞﾙｰﾌﾟ " followed by the group number.
QString Group_Caption(int group);

// Application folder + "/Parlo_film" or "/Favorite" + group number + ".rdm".
QString Group_File_Path(const QString& appFolder, Group_Kind kind, int group);

// One record: the path's UTF-8 bytes padded with blanks; nothing when they exceed 255 bytes.
std::optional<QByteArray> Fav_Record(const QString& path);

// The paths of whole records: each ends at its first NUL, loses its blanks at both ends, and
// is left out when nothing remains. A partial tail is ignored.
QStringList Parse_Group_Records(const QByteArray& bytes);

// The records of the file whose files are there (readable or not), in file order. A record
// whose folder is missing (an unmounted drive) is not shown but kept: it goes to `away`, also
// in file order, to be written back with the group. Only a record whose folder is there without
// its file is dropped. Anything but a regular file (or a link to one) gives no entries; nothing
// blocks on a FIFO. With a `boundMs`, a folder that has not answered within it (a hung drive)
// counts as missing; without, a hung folder holds the call. Call it off the GUI thread.
QStringList Load_Group(const QString& file, QStringList* away = nullptr, int boundMs = -1);

struct Group_Write {
    File_Status status = File_Status::Ok;
    int error = 0;      // errno of a Failed status
    QStringList unfit;  // entries too long for a record: not in the file
    bool Ok() const { return status == File_Status::Ok && unfit.isEmpty(); }
    explicit operator bool() const { return Ok(); }
};

// Replaces the file atomically by the records of the entries that fit, or removes it when
// none is left (a link to a regular file is emptied instead, and stays; anything else but a
// regular file stays as it is, which is no failure then). On failure the old file is untouched.
Group_Write Write_Group(const QString& file, const QStringList& paths);

// What the user is told about a write of `entries` that was not complete, naming the entries it
// could not keep; empty when it was complete.
QString Group_Write_Message(const QString& file, const Group_Write& result, const QStringList& entries = {});

}  // namespace pf
