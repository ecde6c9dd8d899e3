#include "lists/group_file.h"

#include "util/paths.h"

#include <QFile>
#include <QSaveFile>

#include <cstdlib>

namespace pf {

QString Group_File_Path(const QString& appFolder, Group_Kind kind, int group)
{
    const QString stem = kind == Group_Kind::Joined ? QStringLiteral("Parlo_film") : QStringLiteral("Favorite");
    const QString number = QStringLiteral("%1").arg(std::abs(group), 2, 10, QLatin1Char('0'));
    const QString sign = group < 0 ? QStringLiteral("-") : QString();
    return Join_Path(appFolder, stem + sign + number + QStringLiteral(".rdm"));
}

QByteArray Fav_Record(const QString& path)
{
    QByteArray bytes = path.toUtf8();
    if (bytes.size() > Record_Length) {
        qsizetype cut = Record_Length;
        // Never end inside a multi-byte sequence: step back over continuation bytes.
        while (cut > 0 && (uchar(bytes.at(cut)) & 0xC0) == 0x80)
            --cut;
        bytes.truncate(cut);
    }
    bytes.append(Record_Length - bytes.size(), ' ');
    return bytes;
}

namespace {

QString Trim_Blanks(const QString& s)
{
    qsizetype from = 0;
    while (from < s.size() && s.at(from) == u' ')
        ++from;
    return Trim_Trailing(s.mid(from), u' ');
}

}  // namespace

QStringList Load_Group(const QString& file)
{
    QStringList paths;
    if (!File_Exists(file))
        return paths;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return paths;
    const qint64 records = f.size() / Record_Length;
    for (qint64 k = 0; k < records; ++k) {
        const QByteArray rec = f.read(Record_Length);
        if (rec.size() != Record_Length)
            break;
        const QString path = Trim_Blanks(QString::fromUtf8(rec));
        if (File_Exists(path))
            paths << path;
    }
    return paths;
}

bool Write_Group(const QString& file, const QStringList& paths)
{
    if (paths.isEmpty())
        return !QFile::exists(file) || QFile::remove(file);
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    for (const QString& p : paths) {
        if (out.write(Fav_Record(p)) != Record_Length) {
            out.cancelWriting();
            return false;
        }
    }
    return out.commit();
}

}  // namespace pf
