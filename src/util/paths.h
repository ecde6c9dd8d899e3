// SPDX-License-Identifier: GPL-3.0-or-later
// Path text and existence tests shared by every window.
// Plain functions without state: they never throw, never show a message, and the
// existence tests answer false for anything they cannot confirm.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace pf {

// The path without its last element and without a trailing "/"; "/a.mpg" gives "/"
// (the root has no shorter spelling), "a.mpg" gives the empty text.
QString Parent_Folder(const QString& path);

// Trailing blanks removed and exactly one "/" at the end; the empty path gives "/".
QString Add_Backslash(const QString& path);

// True for an existing folder; one trailing "/" does not matter, nor do trailing blanks unless
// a folder's name ends in them. The empty path names no folder.
bool Folder_Exists(const QString& path);

// True for an existing folder this user may create files in.
bool Folder_Writable(const QString& path);

// True when a regular file exists there and can be opened for reading (or another program
// holds it with a lease, which only delays reading).
// One trailing "/" is dropped first; a folder is not a file.
bool File_Exists(const QString& path);

// The text after the last "." of the last path element, empty when it has none.
QString Extension_Of(const QString& path);

// What the lists take, by the whole extension in any letter case: MPG and MPEG are MPEG files,
// RM and RAM RealMedia; anything else ("a.mpeg2" too) is Other.
enum class File_Kind { Other, Mpeg, Real_Media };
File_Kind Kind_Of_File(const QString& path);

// The regular files of `folder` (links followed) whose extension is of `kind`, dot-files left
// out, from one listing: a file is looked at on its own only when the listing does not say what
// it is. Empty when the folder cannot be listed.
QStringList Files_Of_Kind_In(const QString& folder, File_Kind kind);

// `text` without its trailing run of `c`.
QString Trim_Trailing(const QString& text, QChar c);

// `folder` + "/" + `name` without doubling the separator.
QString Join_Path(const QString& folder, const QString& name);

}  // namespace pf
