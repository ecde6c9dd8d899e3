// The application-wide settings record and its place in Parlo_film.ini (section "Section").
// The main window loads it once at start-up and writes it back only at exit with save;
// in between the record is the only copy, changed by the dialogs and the layout buttons.
#pragma once

#include <QString>

#include <optional>

namespace pf {

inline const QString Ini_Section = QStringLiteral("Section");
inline const QString Ini_File_Name = QStringLiteral("Parlo_film.ini");

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

    bool operator==(const Settings&) const = default;
};

// A number as the settings file holds it: a blank before a non-negative value ("1" is " 1").
QString Number_Text(int value);

// A stored number: blanks allowed around it, rounded down, within the 16-bit range;
// nothing for text that is not such a number.
std::optional<qint16> Read_Number(const QString& text);

// Reads the main window's keys in their fixed order, with the defaults for empty values,
// and switches automatic naming off when its folder has gone.
Settings Load_Settings(const QString& iniFile, const QString& appFolder);

// The two writes of exit with save: the keys before the groups are written, and after.
bool Write_Main_Keys(const Settings& s, const QString& iniFile);
bool Write_Order_Keys(const Settings& s, const QString& iniFile);

}  // namespace pf
