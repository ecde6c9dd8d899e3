// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/profile_text.h"

#include <QStringDecoder>

namespace pf {

namespace {

constexpr QByteArrayView Utf8_Bom{"\xEF\xBB\xBF"};

bool Is_Blank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

QByteArrayView Trimmed(QByteArrayView s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && Is_Blank(s[b]))
        ++b;
    while (e > b && Is_Blank(s[e - 1]))
        --e;
    return s.sliced(b, e - b);
}

bool Is_Section(QByteArrayView trimmed)
{
    return trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']';
}

// UTF-8 as it stands: unlike QString::fromUtf8, a leading U+FEFF is kept as a character.
QString Text(QByteArrayView utf8)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder(utf8);
}

QString Fold(QByteArrayView name)
{
    return Text(Trimmed(name)).toCaseFolded();
}

QString Key_Id(const QString& foldedSection, const QString& foldedKey)
{
    return foldedSection + u'\n' + foldedKey;
}

int Hex_Digit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Only the three escapes the writer makes; anything else stays as written.
QByteArray Unescape(QByteArrayView s)
{
    QByteArray out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && Hex_Digit(s[i + 1]) >= 0 && Hex_Digit(s[i + 2]) >= 0) {
            const char c = char(Hex_Digit(s[i + 1]) * 16 + Hex_Digit(s[i + 2]));
            if (c == '\r' || c == '\n' || c == '%') {
                out += c;
                i += 2;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

}  // namespace

QString Number_Text(qint64 value)
{
    return value >= 0 ? u' ' + QString::number(value) : QString::number(value);
}

QString Decode_Profile_Value(QByteArrayView stored)
{
    const qsizetype nul = stored.indexOf('\0');
    if (nul >= 0)
        stored = stored.first(nul);
    QByteArrayView v = Trimmed(stored);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        const bool escaped = v.front() == '"';
        v = v.sliced(1, v.size() - 2);
        if (escaped)
            return Text(Unescape(v));
    }
    return Text(v);
}

QByteArray Encode_Profile_Value(const QString& value)
{
    // Text ends at its first NUL, here as everywhere in the program.
    const qsizetype nul = value.indexOf(QChar(0));
    const QByteArray plain = (nul < 0 ? value : value.left(nul)).toUtf8();
    if (!plain.contains('\r') && !plain.contains('\n') && Decode_Profile_Value(plain) == Text(plain))
        return plain;
    QByteArray out = "\"";
    for (char c : plain) {
        switch (c) {
        case '\r': out += "%0D"; break;
        case '\n': out += "%0A"; break;
        case '%': out += "%25"; break;
        default: out += c;
        }
    }
    return out + '"';
}

void Profile_Text::Parse(const QByteArray& bytes)
{
    QByteArrayView rest(bytes);
    if (rest.startsWith(Utf8_Bom)) {
        bom_ = Utf8_Bom.toByteArray();
        rest = rest.sliced(Utf8_Bom.size());
    }
    bool eolSeen = false;
    while (!rest.isEmpty()) {
        qsizetype end = 0;
        while (end < rest.size() && rest[end] != '\r' && rest[end] != '\n')
            ++end;
        qsizetype eol = end < rest.size() ? 1 : 0;
        if (eol && rest[end] == '\r' && end + 1 < rest.size() && rest[end + 1] == '\n')
            eol = 2;
        lines_.push_back({rest.first(end).toByteArray(), rest.sliced(end, eol).toByteArray()});
        if (eol && !eolSeen) {
            eol_ = lines_.back().eol;
            eolSeen = true;
        }
        rest = rest.sliced(end + eol);
    }
    Build_Index();
}

void Profile_Text::Build_Index()
{
    // The first section of a name and the first key of a name in it count, as with the
    // classic functions; later repetitions are kept but never read.
    QString section;
    bool counting = false;
    for (auto it = lines_.begin(); it != lines_.end(); ++it) {
        const QByteArrayView t = Trimmed(it->text);
        if (Is_Section(t)) {
            section = Fold(t.sliced(1, t.size() - 2));
            counting = !sections_.contains(section);
            if (counting)
                sections_.insert(section, it);
            continue;
        }
        if (!counting || t.isEmpty())
            continue;
        sections_[section] = it;
        const qsizetype eq = t.indexOf('=');
        if (t.front() == ';' || eq < 0)
            continue;
        const QString id = Key_Id(section, Fold(t.first(eq)));
        if (!keys_.contains(id))
            keys_.insert(id, it);
    }
}

QString Profile_Text::Value(const QString& section, const QString& key) const
{
    const auto it = keys_.constFind(Key_Id(section.trimmed().toCaseFolded(), key.trimmed().toCaseFolded()));
    if (it == keys_.constEnd())
        return {};
    const QByteArray& text = it.value()->text;
    return Decode_Profile_Value(QByteArrayView(text).sliced(text.indexOf('=') + 1));
}

void Profile_Text::setValue(const QString& section, const QString& key, const QString& text)
{
    setLine(section, key, Encode_Profile_Value(text));
}

void Profile_Text::setNumber(const QString& section, const QString& key, qint64 number)
{
    setLine(section, key, Number_Text(number).toUtf8());
}

Profile_Text::Line_It Profile_Text::Insert_After(Line_It at, QByteArray text)
{
    if (at->eol.isEmpty())
        at->eol = eol_;  // the last line had no line end: it needs one now
    // The line end of the line before: a lone CR there was never followed by a LF, so the new
    // line's end cannot merge with the next line's into one.
    return lines_.insert(std::next(at), Line{std::move(text), at->eol});
}

void Profile_Text::setLine(const QString& section, const QString& key, const QByteArray& value)
{
    const QString s = section.trimmed().toCaseFolded();
    const QString id = Key_Id(s, key.trimmed().toCaseFolded());
    QByteArray entry = key.toUtf8() + '=' + value;
    if (const auto found = keys_.find(id); found != keys_.end()) {
        found.value()->text = std::move(entry);
        return;
    }
    auto last = sections_.find(s);
    if (last == sections_.end()) {
        Line_It head;
        if (lines_.empty()) {
            lines_.push_back({'[' + section.toUtf8() + ']', eol_});
            head = std::prev(lines_.end());
        } else {
            head = Insert_After(std::prev(lines_.end()), '[' + section.toUtf8() + ']');
        }
        last = sections_.insert(s, head);
    }
    // After the section's last non-blank line, so a blank separator stays between sections.
    const Line_It line = Insert_After(last.value(), std::move(entry));
    last.value() = line;
    keys_.insert(id, line);
}

QByteArray Profile_Text::Bytes() const
{
    QByteArray out = bom_;
    for (const Line& line : lines_)
        out += line.text + line.eol;
    return out;
}

}  // namespace pf
