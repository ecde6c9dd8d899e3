// Reading and writing keys of an INI-style profile file, with the behaviour of the classic
// profile functions: section and key names match without regard to letter case, blanks
// around a value and one pair of enclosing quotation marks are dropped, at most 255
// characters come back, and a missing key reads as empty. Lines the program does not
// know (comments, other sections, other keys) are kept as they were when a key is written.
// Every save replaces the file atomically.
#pragma once

#include <QString>
#include <QStringList>

namespace pf {

constexpr int Profile_Value_Limit = 255;

class Profile_File {
public:
    // Reads the file at once; a missing or unreadable file reads as empty.
    explicit Profile_File(const QString& path);

    QString value(const QString& section, const QString& key) const;
    // Replaces the key's line in place, or appends it to its section (created at the end).
    void setValue(const QString& section, const QString& key, const QString& value);
    // Writes all lines back through a temporary file and a rename; false when that failed.
    bool save() const;

private:
    // Index of the section header line, or -1; `end` receives the index after its last line.
    qsizetype findSection(const QString& section, qsizetype* end) const;
    qsizetype findKey(qsizetype from, qsizetype end, const QString& key) const;

    QString path_;
    QStringList lines_;
    QString eol_ = QStringLiteral("\r\n");
    bool bom_ = false;
};

// One key read from `file`; the empty text when the key, its section or the file is missing.
QString GetIniValue(const QString& section, const QString& key, const QString& file);

// One key written to `file`; false when the file could not be replaced.
bool SetIniValue(const QString& section, const QString& key, const QString& value, const QString& file);

}  // namespace pf
