// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/group_file.h"

#include "util/log.h"
#include "util/paths.h"
#include "util/presence.h"
#include "util/system_error.h"

#include <QByteArrayView>
#include <QUtf8StringView>

#include <algorithm>
#include <cerrno>

#include <unistd.h>

namespace pf {

namespace {

// Records read per system call: memory stays bounded whatever the file's length.
constexpr qint64 Chunk_Records = 1024;
// Files named in a message before the rest are only counted.
constexpr int Listed_Unfit = 10;

// A record's path bytes: they end at the first NUL, as everywhere else in the program, and lose
// their blanks at both ends.
QByteArrayView Record_Bytes(const char* record)
{
    qsizetype end = qsizetype(::strnlen(record, Record_Length));
    qsizetype from = 0;
    while (from < end && record[from] == ' ')
        ++from;
    while (end > from && record[end - 1] == ' ')
        --end;
    return {record + from, end - from};
}

// The non-empty paths of the whole records of `bytes`, appended to `pool` one after another,
// each followed by a NUL; `spans` receives where each begins and how long it is.
void Collect_Records(const QByteArray& bytes, QByteArray& pool, QList<std::pair<qsizetype, qsizetype>>& spans)
{
    for (qsizetype at = 0; at + Record_Length <= bytes.size(); at += Record_Length) {
        const QByteArrayView path = Record_Bytes(bytes.constData() + at);
        if (!path.isEmpty()) {
            spans.append({pool.size(), path.size()});
            pool.append(path).append('\0');
        }
    }
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
    QByteArray pool;
    QList<std::pair<qsizetype, qsizetype>> spans;
    Collect_Records(bytes, pool, spans);
    QStringList paths;
    paths.reserve(spans.size());
    for (const auto& [at, length] : spans)
        paths.append(QString::fromUtf8(pool.constData() + at, length));
    return paths;
}

QStringList Load_Group(const QString& file, QStringList* away, int boundMs)
{
    const Open_Result in = Open_Regular(file);
    if (in.status != File_Status::Ok) {
        if (in.status != File_Status::Missing)
            qCWarning(Log_Groups).noquote() << "cannot read" << file << "-" << Failure_Text(in.status, in.error);
        return {};
    }
    // The paths' bytes only, one after another: memory follows the paths, not the records.
    QByteArray pool;
    QList<std::pair<qsizetype, qsizetype>> spans;
    // Only the records there at opening: a file that grows meanwhile cannot keep us reading.
    for (qint64 left = in.size / Record_Length; left > 0;) {
        const qint64 count = std::min(left, Chunk_Records);
        QByteArray chunk(qsizetype(count * Record_Length), Qt::Uninitialized);
        if (Read_Full(in.fd.Get(), chunk.data(), chunk.size()) != chunk.size())
            break;
        Collect_Records(chunk, pool, spans);
        left -= count;
    }
    // Each path as the system will be asked for it: bytes that are no UTF-8 are looked up as the
    // program's text spells them.
    QStringList paths;
    QList<QByteArray> spelled;
    paths.reserve(spans.size());
    spelled.reserve(spans.size());
    for (const auto& [at, length] : spans) {
        const QByteArrayView bytes(pool.constData() + at, length);
        paths.append(QString::fromUtf8(bytes));
        spelled.append(QUtf8StringView(bytes).isValidUtf8() ? QByteArray::fromRawData(bytes.data(), length)
                                                            : paths.constLast().toUtf8());
    }
    QStringList shown;
    shown.reserve(paths.size());
    const QList<Presence> presence = boundMs < 0 ? Presence_Of(spelled) : Presence_Within(spelled, boundMs);
    for (qsizetype i = 0; i < paths.size(); ++i) {
        if (presence.at(i) == Presence::Present)
            shown.append(paths.at(i));
        else if (presence.at(i) == Presence::Unknown && away)
            away->append(paths.at(i));
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
