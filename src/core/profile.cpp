#include "core/profile.h"

#include <QFile>
#include <QSaveFile>

namespace pf {

namespace {

QString Section_Name(const QString& line)
{
    const QString t = line.trimmed();
    if (!t.startsWith(u'[') || !t.endsWith(u']'))
        return {};
    return t.mid(1, t.size() - 2).trimmed();
}

bool Is_Section(const QString& line)
{
    const QString t = line.trimmed();
    return t.startsWith(u'[') && t.endsWith(u']');
}

QString Unquote(QString v)
{
    v = v.trimmed();
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    return v;
}

}  // namespace

Profile_File::Profile_File(const QString& path) : path_(path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return;
    QByteArray bytes = f.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        bom_ = true;
        bytes.remove(0, 3);
    }
    QString text = QString::fromUtf8(bytes);
    if (!text.contains(QStringLiteral("\r\n")) && text.contains(u'\n'))
        eol_ = QStringLiteral("\n");
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines_ = text.split(u'\n');
    if (!lines_.isEmpty() && lines_.constLast().isEmpty())
        lines_.removeLast();  // the final line end, not an empty line
}

qsizetype Profile_File::findSection(const QString& section, qsizetype* end) const
{
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        if (!Is_Section(lines_.at(i)) || Section_Name(lines_.at(i)).compare(section, Qt::CaseInsensitive) != 0)
            continue;
        qsizetype j = i + 1;
        while (j < lines_.size() && !Is_Section(lines_.at(j)))
            ++j;
        *end = j;
        return i;
    }
    *end = lines_.size();
    return -1;
}

qsizetype Profile_File::findKey(qsizetype from, qsizetype end, const QString& key) const
{
    for (qsizetype i = from; i < end; ++i) {
        const QString& line = lines_.at(i);
        if (line.trimmed().startsWith(u';'))
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq >= 0 && line.left(eq).trimmed().compare(key.trimmed(), Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString Profile_File::value(const QString& section, const QString& key) const
{
    qsizetype end = 0;
    const qsizetype head = findSection(section, &end);
    if (head < 0)
        return {};
    const qsizetype line = findKey(head + 1, end, key);
    if (line < 0)
        return {};
    const QString& text = lines_.at(line);
    QString v = Unquote(text.mid(text.indexOf(u'=') + 1));
    // The classic functions stop at the first NUL and return at most 255 characters.
    const qsizetype nul = v.indexOf(QChar(0));
    if (nul >= 0)
        v.truncate(nul);
    return v.left(Profile_Value_Limit);
}

void Profile_File::setValue(const QString& section, const QString& key, const QString& value)
{
    const QString entry = key + u'=' + value;
    qsizetype end = 0;
    const qsizetype head = findSection(section, &end);
    if (head < 0) {
        lines_ << u'[' + section + u']' << entry;
        return;
    }
    const qsizetype line = findKey(head + 1, end, key);
    if (line >= 0) {
        lines_[line] = entry;
        return;
    }
    // Append after the section's last non-blank line, so a blank separator stays between sections.
    qsizetype at = end;
    while (at > head + 1 && lines_.at(at - 1).trimmed().isEmpty())
        --at;
    lines_.insert(at, entry);
}

bool Profile_File::save() const
{
    QSaveFile out(path_);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    QByteArray bytes;
    if (bom_)
        bytes += "\xEF\xBB\xBF";
    for (const QString& line : lines_)
        bytes += (line + eol_).toUtf8();
    if (out.write(bytes) != bytes.size()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

QString GetIniValue(const QString& section, const QString& key, const QString& file)
{
    return Profile_File(file).value(section, key);
}

bool SetIniValue(const QString& section, const QString& key, const QString& value, const QString& file)
{
    Profile_File p(file);
    p.setValue(section, key, value);
    return p.save();
}

}  // namespace pf
