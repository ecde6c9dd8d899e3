// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/group_file.h"

#include "util/log.h"
#include "util/paths.h"
#include "util/system_error.h"

#include <algorithm>
#include <cerrno>

#include <unistd.h>

namespace pf {

namespace {

// Records read per system call: memory stays bounded whatever the file's length.
constexpr qint64 Chunk_Records = 1024;
// Files named in a message before the rest are only counted.
constexpr int Listed_Unfit = 10;

// Fills `buffer` from the descriptor; false when the file ended early or a read failed.
bool Read_Exactly(int fd, QByteArray& buffer)
{
    qsizetype got = 0;
    while (got < buffer.size()) {
        const ssize_t n = ::read(fd, buffer.data() + got, size_t(buffer.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        got += n;
    }
    return true;
}

QString Record_Path(const char* record)
{
    // Text ends at its first NUL, as everywhere else in the program.
    qsizetype end = qsizetype(::strnlen(record, Record_Length));
    qsizetype from = 0;
    while (from < end && record[from] == ' ')
        ++from;
    while (end > from && record[end - 1] == ' ')
        --end;
    return QString::fromUtf8(record + from, end - from);
}

QString Reason(const Group_Write& w)
{
    if (w.status == File_Status::Not_Regular)
        return QStringLiteral("通常のﾌｧｲﾙではありません");
    return w.error ? Japanese_System_Error(w.error) : QString();
}

// The first names one per line, the rest counted.
QString Listed(const QStringList& names)
{
    QStringList shown = names.mid(0, Listed_Unfit);
    if (names.size() > Listed_Unfit)
        shown << QStringLiteral("ほか %1 件").arg(names.size() - Listed_Unfit);
    return shown.join(u'\n');
}

// Whether `file` holds exactly `bytes`: a group left unchanged is not written again, which spares
// a switch the disk's sync.
bool Holds(const QString& file, const QByteArray& bytes)
{
    const Read_Result now = Read_Regular_File(file, bytes.size());
    return now.status == File_Status::Ok && now.bytes == bytes;
}

}  // namespace

QString Group_Number_Text(int group)
{
    const QString digits = QString::number(qAbs(qint64(group))).rightJustified(2, u'0');
    return group < 0 ? QStringLiteral("-") + digits : digits;
}

QString Group_Caption(int group)
{
    return QStringLiteral("ｸﾞﾙｰﾌﾟ ") + Group_Number_Text(group);
}

QString Group_File_Path(const QString& appFolder, Group_Kind kind, int group)
{
    const QString stem = kind == Group_Kind::Joined ? QStringLiteral("Parlo_film") : QStringLiteral("Favorite");
    return Join_Path(appFolder, stem + Group_Number_Text(group) + QStringLiteral(".rdm"));
}

std::optional<QByteArray> Fav_Record(const QString& path)
{
    QByteArray bytes = path.toUtf8();
    if (bytes.size() > Record_Length)
        return std::nullopt;
    bytes.append(Record_Length - bytes.size(), ' ');
    return bytes;
}

QStringList Parse_Group_Records(const QByteArray& bytes)
{
    QStringList paths;
    for (qsizetype at = 0; at + Record_Length <= bytes.size(); at += Record_Length) {
        QString path = Record_Path(bytes.constData() + at);
        if (!path.isEmpty())
            paths.append(std::move(path));
    }
    return paths;
}

QStringList Load_Group(const QString& file, QStringList* away)
{
    QStringList records;
    const Open_Result in = Open_Regular(file);
    if (in.status != File_Status::Ok) {
        if (in.status != File_Status::Missing)
            qCWarning(Log_Groups).noquote() << "cannot read" << file << "-" << Failure_Text(in.status, in.error);
        return records;
    }
    // Only the records there at opening: a file that grows meanwhile cannot keep us reading.
    for (qint64 left = in.size / Record_Length; left > 0;) {
        const qint64 count = std::min(left, Chunk_Records);
        QByteArray chunk(qsizetype(count * Record_Length), Qt::Uninitialized);
        if (!Read_Exactly(in.fd.get(), chunk))
            break;
        records += Parse_Group_Records(chunk);
        left -= count;
    }
    QStringList shown;
    shown.reserve(records.size());
    const QList<Presence> presence = Presence_Of(records);
    for (qsizetype i = 0; i < records.size(); ++i) {
        if (presence.at(i) == Presence::Present)
            shown.append(records.at(i));
        else if (presence.at(i) == Presence::Unknown && away)
            away->append(records.at(i));
    }
    return shown;
}

Group_Write Write_Group(const QString& file, const QStringList& paths)
{
    Group_Write w;
    QByteArray bytes;
    bytes.reserve(paths.size() * Record_Length);
    for (const QString& p : paths) {
        if (const auto record = Fav_Record(p))
            bytes += *record;
        else
            w.unfit.append(p);
    }
    QString target;
    w.status = Save_Target(file, &target);
    // Nothing to keep: a folder or device of that name is no group file, and stays as it is.
    if (w.status == File_Status::Not_Regular && paths.isEmpty()) {
        w.status = File_Status::Ok;
        return w;
    }
    if (w.status == File_Status::Ok && (!bytes.isEmpty() || target != file)) {
        if (!Holds(target, bytes))
            w.status = Write_File_Atomically(file, bytes, &w.error);
    } else if (w.status == File_Status::Ok)
        w.status = Remove_File(file, &w.error);
    if (w.status != File_Status::Ok)
        qCWarning(Log_Groups).noquote() << "cannot write" << file << "-" << Failure_Text(w.status, w.error);
    if (!w.unfit.isEmpty())
        qCWarning(Log_Groups).noquote() << w.unfit.size() << "paths too long to keep in" << file;
    return w;
}

QString Group_Write_Message(const QString& file, const Group_Write& result, const QStringList& entries)
{
    QStringList parts;
    if (result.status != File_Status::Ok) {
        const QString reason = Reason(result);
        parts << QStringLiteral("ｸﾞﾙｰﾌﾟﾌｧｲﾙを保存できませんでした！\n%1").arg(file)
                + (reason.isEmpty() ? QString() : QStringLiteral("\n(%1)").arg(reason))
                + (entries.isEmpty() ? QString()
                                     : QStringLiteral("\n次のﾌｧｲﾙは保存されていません:\n") + Listed(entries));
    }
    if (!result.unfit.isEmpty())
        parts << QStringLiteral("次のﾌｧｲﾙはﾊﾟｽが長すぎるためｸﾞﾙｰﾌﾟに保存できません！\n%1\n%2")
                     .arg(file, Listed(result.unfit));
    return parts.join(QStringLiteral("\n\n"));
}

}  // namespace pf
