#include "lists/group_file.h"

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

QStringList Load_Group(const QString& file)
{
    QStringList paths;
    const Open_Result in = Open_Regular(file);
    if (in.status != File_Status::Ok)
        return paths;
    // Only the records there at opening: a file that grows meanwhile cannot keep us reading.
    for (qint64 left = in.size / Record_Length; left > 0;) {
        const qint64 records = std::min(left, Chunk_Records);
        QByteArray chunk(qsizetype(records * Record_Length), Qt::Uninitialized);
        if (!Read_Exactly(in.fd.get(), chunk))
            break;
        for (const QString& path : Parse_Group_Records(chunk))
            if (File_Exists(path))
                paths.append(path);
        left -= records;
    }
    return paths;
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
    if (w.status != File_Status::Ok)
        return w;
    if (!bytes.isEmpty() || target != file)
        w.status = Write_File_Atomically(file, bytes, &w.error);
    else
        w.status = Remove_File(file, &w.error);
    return w;
}

QString Group_Write_Message(const QString& file, const Group_Write& result)
{
    QStringList parts;
    if (result.status != File_Status::Ok) {
        const QString reason = Reason(result);
        parts << QStringLiteral("ｸﾞﾙｰﾌﾟﾌｧｲﾙを保存できませんでした！\n%1").arg(file)
                + (reason.isEmpty() ? QString() : QStringLiteral("\n(%1)").arg(reason));
    }
    if (!result.unfit.isEmpty()) {
        QStringList names = result.unfit.mid(0, Listed_Unfit);
        if (result.unfit.size() > Listed_Unfit)
            names << QStringLiteral("ほか %1 件").arg(result.unfit.size() - Listed_Unfit);
        parts << QStringLiteral("次のﾌｧｲﾙはﾊﾟｽが長すぎるためｸﾞﾙｰﾌﾟに保存できません！\n%1\n%2")
                     .arg(file, names.join(u'\n'));
    }
    return parts.join(QStringLiteral("\n\n"));
}

}  // namespace pf
