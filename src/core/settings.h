// SPDX-License-Identifier: GPL-3.0-or-later
// The application-wide settings record and its place in Parlo_film.ini (section "Section").
// The main window loads it once at start-up and writes it back only at exit with save;
// in between the record is the only copy, changed by the dialogs and the layout buttons.
// Settings_Table declares every key of the file once: its name, its field, its default, its
// kind and which write stores it; loading, the writes at exit and the windows' own position
// keys all go through it. The fields keep the numbers the file stores and the dialogs choose;
// the code that acts on a number asks the typed accessors beside the table what it means.
#pragma once

#include "core/profile_text.h"
#include "lists/command_labels.h"

#include <QString>

#include <optional>

namespace pf {

inline const QString Ini_Section = QStringLiteral("Section");
inline const QString Ini_File_Name = QStringLiteral("Parlo_film.ini");

// What the numbers mean. Each enumerator's value is the number stored for it; what any other
// number does (as it always has) is said beside each.
enum class Play_Way { Associated, Own_Window };        // Way: 1 the own window, else the association
enum class Video_Size { Full_Screen, Movie, Custom };  // Size: else the picture stays as it is
enum class After_Join { Keep, Clear, Delete, Trash };  // Inlist: else Keep
enum class Naming { Save_As, Automatic };              // Auto: 0 Save-As, else automatic
enum class Play_Order { Sequential, Random };          // Play, PlayF: 0 in order, else random
enum class Layout { Compact, Wide };                   // Skin: 1 wide, else compact
enum class Join_Stamps { Bytes, Continuous };          // Stamps: 1 one clock, else bytes as they are

struct Settings {
    QString Add_Path;
    QString List_Path;
    qint16 Way = 0;
    qint16 Size = 0;
    qint16 Rep = 0;
    qint16 Size_X = 0;
    qint16 Size_Y = 0;
    qint16 Group_File = 0;
    qint16 Inlist = 0;
    qint16 Auto = 0;
    QString AutoFolder;
    qint16 Favorite_File = 0;
    qint16 Play = 0;
    qint16 PlayF = 0;
    qint16 Skin = 0;
    qint16 Stamps = 0;

    Play_Way Player() const { return Way == 1 ? Play_Way::Own_Window : Play_Way::Associated; }
    std::optional<Video_Size> Picture_Size() const;
    bool Repeats() const { return Rep == 1; }
    After_Join Inputs_After_Join() const;
    Naming Join_Naming() const { return Auto == 0 ? Naming::Save_As : Naming::Automatic; }
    // The naming the join settings' markers show: nothing for a number none stands for. Only
    // their automatic choice has a folder that start-up and the dialog check; Join_Naming takes
    // another non-zero number as automatic too, into a folder nobody checked.
    std::optional<Naming> Chosen_Naming() const;
    // The play order of List_Join (Play) or List_Favorite (PlayF).
    Play_Order Order(List_Id list) const;
    Layout Window_Layout() const { return Skin == 1 ? Layout::Wide : Layout::Compact; }
    Join_Stamps Stamping() const { return Stamps == 1 ? Join_Stamps::Continuous : Join_Stamps::Bytes; }

    bool operator==(const Settings&) const = default;
};

// The top and left edge of one secondary window, in twips; no field in Settings. With no top
// the window is centred; the players then still take the left key, the dialogs ignore it.
struct Position_Keys {
    const char* top;
    const char* left;
    bool leftWhenCentred;
};

inline constexpr Position_Keys Video_Window_Keys{"FormTop", "FormLeft", true};
inline constexpr Position_Keys Real_Window_Keys{"rFormTop", "rFormLeft", true};
inline constexpr Position_Keys Join_Dialog_Keys{"FormJ_Top", "FormJ_Left", false};
inline constexpr Position_Keys Play_Dialog_Keys{"FormP_Top", "FormP_Left", false};

enum class Key_Kind {
    Number,    // a 16-bit field, stored with a blank before a non-negative value
    Path,      // a text field, stored so that it reads back exactly
    Position,  // a window edge in twips, read and written by its window
};

// Which write stores a key: exit with save, or the window the key belongs to, when it closes.
enum class Saved_By { Exit, Own_Window };

struct Setting_Key {
    const char* name;
    Key_Kind kind;
    Saved_By saved;
    qint16 Settings::*number = nullptr;
    QString Settings::*path = nullptr;
    qint16 fallback = 0;     // the default of a number
    bool appFolder = false;  // a path whose default is the application folder (else empty)
};

// Every key, in the order the main window's keys are loaded and written.
inline constexpr Setting_Key Settings_Table[] = {
    {"Add_Path", Key_Kind::Path, Saved_By::Exit, nullptr, &Settings::Add_Path, 0, true},
    {"List_Path", Key_Kind::Path, Saved_By::Exit, nullptr, &Settings::List_Path, 0, true},
    {"Way", Key_Kind::Number, Saved_By::Exit, &Settings::Way, nullptr, 1},
    {"Size", Key_Kind::Number, Saved_By::Exit, &Settings::Size, nullptr, 1},
    {"Rep", Key_Kind::Number, Saved_By::Exit, &Settings::Rep, nullptr, 0},
    {"Size_X", Key_Kind::Number, Saved_By::Exit, &Settings::Size_X, nullptr, 640},
    {"Size_Y", Key_Kind::Number, Saved_By::Exit, &Settings::Size_Y, nullptr, 480},
    {"Group_File", Key_Kind::Number, Saved_By::Exit, &Settings::Group_File, nullptr, 0},
    {"Inlist", Key_Kind::Number, Saved_By::Exit, &Settings::Inlist, nullptr, 1},
    {"Auto", Key_Kind::Number, Saved_By::Exit, &Settings::Auto, nullptr, 0},
    {"AutoFolder", Key_Kind::Path, Saved_By::Exit, nullptr, &Settings::AutoFolder, 0, false},
    {"Favorite_File", Key_Kind::Number, Saved_By::Exit, &Settings::Favorite_File, nullptr, 0},
    {"Play", Key_Kind::Number, Saved_By::Exit, &Settings::Play, nullptr, 1},
    {"PlayF", Key_Kind::Number, Saved_By::Exit, &Settings::PlayF, nullptr, 1},
    {"Skin", Key_Kind::Number, Saved_By::Exit, &Settings::Skin, nullptr, 1},
    {"Stamps", Key_Kind::Number, Saved_By::Exit, &Settings::Stamps, nullptr, 0},
    {Video_Window_Keys.top, Key_Kind::Position, Saved_By::Own_Window},
    {Video_Window_Keys.left, Key_Kind::Position, Saved_By::Own_Window},
    {Real_Window_Keys.top, Key_Kind::Position, Saved_By::Own_Window},
    {Real_Window_Keys.left, Key_Kind::Position, Saved_By::Own_Window},
    {Join_Dialog_Keys.top, Key_Kind::Position, Saved_By::Own_Window},
    {Join_Dialog_Keys.left, Key_Kind::Position, Saved_By::Own_Window},
    {Play_Dialog_Keys.top, Key_Kind::Position, Saved_By::Own_Window},
    {Play_Dialog_Keys.left, Key_Kind::Position, Saved_By::Own_Window},
};

// A stored number: blanks allowed around it, rounded down, within the 16-bit range;
// nothing for text that is not such a number.
std::optional<qint16> Read_Number(const QString& text);

// Reads the main window's keys with the defaults for empty values, and switches automatic
// naming off when its folder has gone.
Settings Read_Settings(const Profile_Text& profile, const QString& appFolder);
Settings Load_Settings(const QString& iniFile, const QString& appFolder);

// The write of exit with save: every key of Settings, in table order, in one replacement of the
// file, so that a program killed meanwhile leaves the old file or the new one, never a mix.
// False when the file was not replaced.
bool Write_Exit_Keys(const Settings& s, const QString& iniFile);

}  // namespace pf
