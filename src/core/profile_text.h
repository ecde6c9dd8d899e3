// SPDX-License-Identifier: GPL-3.0-or-later
// The text of an INI-style profile file, held as its own bytes line by line, read and changed
// as the classic profile functions do: section and key names match without regard to letter
// case, blanks around a value and one pair of enclosing quotation marks (" or ') are dropped,
// a value ends at its first NUL, and a missing key reads as empty. A line ends at "\r\n", "\n"
// or a lone "\r". Changing a key rewrites only that key's line (or adds one); every other byte
// stays as it was: comments, other sections, text in any encoding, line ends, the byte-order mark.
// Look-ups go through an index built in one pass, so reading and writing are linear in the file.
//
// Values read back exactly. A value is written as it is whenever it reads back unchanged, so
// plain paths look as the classic functions write them and files written before read the same.
// Any other value (a line break, a blank at either end, enclosing quotation marks) is written in
// double quotation marks with three escapes: "%0D" for CR, "%0A" for LF and "%25" for "%". The
// escapes are read only between double quotation marks; a hand-written quoted value that holds
// one of these three sequences literally is the one old text that now reads differently.
// Numbers keep their classic form (a blank before a non-negative value).
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <list>

namespace pf {

// A number as profile files hold it: a blank before a non-negative value (1 is " 1").
QString Number_Text(qint64 value);

class Profile_Text {
public:
    Profile_Text() = default;
    explicit Profile_Text(const QByteArray& bytes) { Parse(bytes); }
    // The index points into the lines: a copy would point into the original.
    Profile_Text(const Profile_Text&) = delete;
    Profile_Text& operator=(const Profile_Text&) = delete;

    // The value of `key` in the first section named `section`; empty when either is missing.
    QString Value(const QString& section, const QString& key) const;

    // Writes `text` so that Value() gives it back exactly.
    void setValue(const QString& section, const QString& key, const QString& text);
    void setNumber(const QString& section, const QString& key, qint64 number);

    QByteArray Bytes() const;

protected:
    // Takes `bytes` as the text; only on an empty object.
    void Parse(const QByteArray& bytes);

private:
    struct Line {
        QByteArray text;
        QByteArray eol;
    };
    using Line_It = std::list<Line>::iterator;

    void Build_Index();
    void setLine(const QString& section, const QString& key, const QByteArray& value);
    Line_It Insert_After(Line_It at, QByteArray text);

    QByteArray bom_;
    QByteArray eol_ = "\r\n";  // for new lines: the file's first line end, else the classic one
    std::list<Line> lines_;
    QHash<QString, Line_It> keys_;      // folded "section" + '\n' + "key" -> its line
    QHash<QString, Line_It> sections_;  // folded section name -> its last non-blank line
};

// The stored text of `value`: as it is where that reads back unchanged, else quoted and escaped.
QByteArray Encode_Profile_Value(const QString& value);
// The value of one stored text (the part after "="), as Value() reads it.
QString Decode_Profile_Value(QByteArrayView stored);

}  // namespace pf
