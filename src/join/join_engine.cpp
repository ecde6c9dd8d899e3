// SPDX-License-Identifier: GPL-3.0-or-later
#include "join/join_engine.h"

#include "core/main_state.h"
#include "join/file_copy.h"
#include "join/file_move.h"
#include "join/save_as.h"
#include "util/log.h"
#include "util/paths.h"
#include "util/prompter.h"
#include "util/shell.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

namespace pf {

namespace {

// Numbers tried after the highest one found, when names are taken by files the scan skips.
constexpr int Free_Name_Attempts = 1000;

// A message box's text on one log line.
QString One_Line(QString text)
{
    return text.replace(u'\n', u' ');
}

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

bool Join_Engine::Check_Input_Extensions()
{
    Join_Error = false;
    const QStringList& inputs = state_.lstFiles.entries();
    for (qsizetype i = 0; i < inputs.size(); ++i) {
        const QString ext = Extension_Of(inputs.at(i)).toUpper();
        if (i == 0) {
            Join_Ext = ext;
        } else if (ext != Join_Ext) {
            prompter_.message(QStringLiteral("入力ﾌｧｲﾙの拡張子を統一してください！"), Msg_Exclamation);
            Join_Error = true;
            return false;
        }
    }
    return true;
}

void Join_Engine::Join_Files()
{
    state_.Temp_Join_File = state_.Temp_Path();
    Join_Size = -1;
    const QStringList& inputs = state_.lstFiles.entries();
    for (const QString& input : inputs)
        qCInfo(Log_Join).noquote() << "input" << input << QFileInfo(input).size() << "bytes";
    QElapsedTimer clock;
    clock.start();
    const Copy_Outcome copied = Concatenate(inputs, state_.Temp_Join_File, progress_);
    if (!copied.ok()) {
        qCWarning(Log_Join).noquote() << "join failed:" << One_Line(Copy_Failure_Text(copied));
        if (copied.status != Copy_Status::Cancelled)
            prompter_.message(Copy_Failure_Text(copied), Msg_Exclamation);
        return;
    }
    qCInfo(Log_Join).noquote() << "joined" << inputs.size() << "files," << copied.bytes << "bytes in"
                               << clock.elapsed() / 1000.0 << "s into" << state_.Temp_Join_File;
    Join_Size = copied.bytes;
    if (state_.settings.Auto == 0) {
        Save_Joined_As();
        return;
    }
    Name_Automatically();
}

void Join_Engine::Name_Automatically()
{
    Find_Last_Number();
    const QDate today = QDate::currentDate();
    QString name = state_.settings.AutoFolder;
    // An empty or vanished folder would put the output somewhere unintended (or nowhere).
    Move_Outcome moved{Move_Result::Failed, ENOENT};
    const int attempts = Folder_Exists(name) ? Free_Name_Attempts : 0;
    // A name may be taken by a file the scan does not count: never replace it, take the next.
    for (int i = 1; i <= attempts; ++i) {
        name = Automatic_Name(state_.settings.AutoFolder, today, Last_Number + i, Join_Ext);
        moved = Move_File(state_.Temp_Join_File, name, Move_Mode::Keep_Existing, progress_);
        if (moved.result != Move_Result::Target_Exists) {
            if (moved.ok())
                Last_Number += i;
            break;
        }
    }
    if (!moved.ok()) {
        QFile::remove(state_.Temp_Join_File);
        qCWarning(Log_Join).noquote() << "not saved:" << One_Line(Move_Failure_Text(name, moved.error));
        if (moved.error != ECANCELED)
            prompter_.message(Move_Failure_Text(name, moved.error), Msg_Exclamation);
        return;
    }
    Join_Output = name;
    Finish(name);
}

void Join_Engine::Finish(const QString& output)
{
    qCInfo(Log_Join).noquote() << "saved as" << output;
    state_.labels.Set(Cmd_Join, false);
    state_.List_Join.Add(output);
    if (!Fav_Record(output))
        prompter_.message(QStringLiteral("結合ﾌｧｲﾙのﾊﾟｽが長すぎるため、ｸﾞﾙｰﾌﾟに保存できません！\n%1").arg(output),
                          Msg_Exclamation);
    Handle_Inputs_After_Join(output);
}

void Join_Engine::Find_Last_Number()
{
    Last_Number = 0;
    GetFileList_Auto(state_.settings.AutoFolder);
}

void Join_Engine::GetFileList_Auto(const QString& folder)
{
    // Regular files that are not hidden, matched without regard to case, each counted once;
    // a missing or unreadable folder simply yields nothing.
    if (folder.isEmpty())
        return;
    QDirIterator it(folder, {QStringLiteral("*.mpg"), QStringLiteral("*.mpeg")}, QDir::Files);
    while (it.hasNext()) {
        it.next();
        Last_Number = std::max(Last_Number, Sequence_Number(it.fileName()));
    }
}

void Join_Engine::Handle_Inputs_After_Join(const QString& output)
{
    const int mode = state_.settings.Inlist;
    if (mode < 1 || mode > 3)
        return;
    if (mode >= 2) {
        // Inputs go only once the output is really there, whole, under its final name.
        if (QFileInfo(output).size() != Join_Size || !QFileInfo(output).isFile()) {
            prompter_.message(QStringLiteral("結合ﾌｧｲﾙを確認できないため入力ﾌｧｲﾙを残しました！\n%1").arg(output),
                              Msg_Exclamation);
            return;
        }
        for (const QString& input : state_.lstFiles.entries()) {
            // The output may have been saved over one of its own inputs.
            if (Same_File(input, output))
                continue;
            const bool gone = mode == 2 ? QFile::remove(input) : Send_To_Recycle_Bin({input}) == 0;
            if (!gone)
                qCWarning(Log_Join).noquote() << (mode == 2 ? "cannot delete" : "cannot move to the trash") << input;
        }
    }
    state_.labels.Set_Range(Cmd_Play_Input, Cmd_Join, false);
    state_.lstFiles.Clear();
}

void Join_Engine::Save_Joined_As()
{
    const QString chosen = Ask_Save_Path(prompter_, QStringLiteral("ﾌｧｲﾙ名を付けて保存"), Join_Ext,
                                         state_.settings.List_Path, {}, QStringLiteral("保存ﾌｧｲﾙの拡張子が違います！"));
    if (chosen.isEmpty())
        return;  // File.tmp stays for now; the next join or the exit removes it
    const Move_Outcome moved = Move_File(state_.Temp_Join_File, chosen, Move_Mode::Replace, progress_);
    if (!moved.ok()) {
        qCWarning(Log_Join).noquote() << "not saved:" << One_Line(Move_Failure_Text(chosen, moved.error));
        if (moved.error != ECANCELED)
            prompter_.message(Move_Failure_Text(chosen, moved.error), Msg_Exclamation);
        return;
    }
    state_.settings.List_Path = Parent_Folder(chosen);
    Finish(chosen);
}

}  // namespace pf
