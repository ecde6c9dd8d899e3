// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file on disk: Profile_Text (core/profile_text.h says how values are read and
// written: plain values as the classic profile functions write them, any value that would not
// read back exactly in double quotation marks with "%0D", "%0A" and "%25") over a file that is
// read and replaced only when it is a regular file. Reading never blocks (a FIFO, device or
// folder reads as empty) and stops at Profile_File_Limit; a file that was not read whole (not a
// regular file, too large, unreadable) is never replaced, so nothing the program did not read
// can be lost. Saves go through a link to the regular file it names and replace the file
// atomically. Every such problem is told to the user once per file and run, in a message box
// titled "Parlo_film" that names the file, through the prompter the program sets at start-up
// (or by the caller that holds them quiet, in a message of its own).
#pragma once

#include "core/profile_text.h"
#include "util/safe_file.h"

#include <QString>

namespace pf {

class Prompter;

// A settings file beyond this is not read and not rewritten.
constexpr qint64 Profile_File_Limit = qint64(1) << 20;

// Where problems with profile files are told; nullptr (the default) only returns them.
void Set_Profile_Prompter(Prompter* prompter);

// While one lives, problems with profile files count as told without a box of their own: its
// owner names them in a message of its own (the question that ends an exit with save does).
class Quiet_Profile_Problems {
public:
    Quiet_Profile_Problems();
    ~Quiet_Profile_Problems();
    Quiet_Profile_Problems(const Quiet_Profile_Problems&) = delete;
    Quiet_Profile_Problems& operator=(const Quiet_Profile_Problems&) = delete;
};

class Profile_File : public Profile_Text {
public:
    // Reads the file at once; a missing file reads as empty, any other problem is told.
    explicit Profile_File(const QString& path);

    // How the read went: Ok, Missing, Not_Regular, Too_Large or Failed.
    File_Status Status() const { return status_; }

    // Replaces the file with the current text; refused (and told) when the file was not read
    // whole or cannot be replaced. Ok when written.
    File_Status Save();

private:
    QString path_;
    File_Status status_;
};

// One key read from `file`; the empty text when the key, its section or the file is missing.
QString GetIniValue(const QString& section, const QString& key, const QString& file);

// One key written to `file`, so that GetIniValue reads `value` back exactly; false when the
// file was not replaced.
bool SetIniValue(const QString& section, const QString& key, const QString& value, const QString& file);
// The same for a number, in its stored form (a blank before a non-negative value).
bool Set_Ini_Number(const QString& section, const QString& key, qint64 number, const QString& file);

}  // namespace pf
