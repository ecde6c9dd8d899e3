// SPDX-License-Identifier: GPL-3.0-or-later
#include "join/join_steps.h"

#include "join/file_copy.h"
#include "util/paths.h"
#include "util/shell.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

namespace pf {

namespace {

// Numbers tried after the highest one found, when names are taken by files the scan skips.
constexpr int Free_Name_Attempts = 1000;

}  // namespace

qint64 Sequence_Number(const QString& name)
{
    if (name.size() < 13)
        return -1;
    for (int i = 0; i < 8; ++i) {
        if (name.at(i) < u'0' || name.at(i) > u'9')
            return -1;
    }
    int end = 9;
    while (end < name.size() && name.at(end) >= u'0' && name.at(end) <= u'9')
        ++end;
    const int digits = end - 9;
    if (digits < 4 || digits > 18)
        return -1;
    return name.mid(9, digits).toLongLong();
}

QString Automatic_Name(const QString& folder, const QDate& date, qint64 number, const QString& upperExt)
{
    return Join_Path(folder,
                     date.toString(QStringLiteral("yyyyMMdd")) + u'_'
                         + QStringLiteral("%1").arg(number, 4, 10, QLatin1Char('0')) + u'.' + upperExt);
}

qint64 Highest_Number_In(const QString& folder)
{
    // Regular files that are not hidden, matched without regard to case, each counted once;
    // a missing or unreadable folder simply yields nothing.
    qint64 highest = 0;
    if (folder.isEmpty())
        return highest;
    QDirIterator it(folder, {QStringLiteral("*.mpg"), QStringLiteral("*.mpeg")}, QDir::Files);
    while (it.hasNext()) {
        it.next();
        highest = std::max(highest, Sequence_Number(it.fileName()));
    }
    return highest;
}

Automatic_Save Save_Automatically(const QString& temp, const QString& folder, const QDate& date,
                                  const QString& upperExt, Copy_Progress* progress)
{
    Automatic_Save save{{Move_Result::Failed, ENOENT}, folder, Highest_Number_In(folder)};
    // An empty or vanished folder would put the output somewhere unintended (or nowhere).
    const int attempts = Folder_Exists(folder) ? Free_Name_Attempts : 0;
    for (int i = 1; i <= attempts; ++i) {
        save.name = Automatic_Name(folder, date, save.lastNumber + i, upperExt);
        save.moved = Move_File(temp, save.name, Move_Mode::Keep_Existing, progress);
        if (save.moved.result != Move_Result::Target_Exists) {
            if (save.moved.Ok())
                save.lastNumber += i;
            break;
        }
    }
    if (!save.moved.Ok())
        QFile::remove(temp);
    return save;
}

Inputs_Outcome Remove_Inputs(const QStringList& inputs, const QString& output, qint64 size, bool trash,
                             Copy_Progress* progress)
{
    Inputs_Outcome outcome;
    // Inputs go only once the output is really there, whole, under its final name.
    const QFileInfo out(output);
    outcome.verified = out.isFile() && out.size() == size;
    if (!outcome.verified)
        return outcome;
    if (progress)
        progress->Begin(inputs.size());
    for (qsizetype i = 0; i < inputs.size(); ++i) {
        const QString& input = inputs.at(i);
        if (progress && !progress->Step(input, i)) {
            outcome.kept += inputs.mid(i);
            break;
        }
        // The output may have been saved over one of its own inputs.
        if (Same_File(input, output))
            continue;
        if (!(trash ? Send_To_Recycle_Bin({input}) == 0 : QFile::remove(input)))
            outcome.kept.append(input);
    }
    if (progress)
        progress->End();
    return outcome;
}

}  // namespace pf
