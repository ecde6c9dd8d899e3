// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/profile.h"

#include "util/log.h"
#include "util/prompter.h"

#include <QFileInfo>
#include <QSet>

namespace pf {

namespace {

Prompter* Profile_Prompter = nullptr;
int Quiet_Holders = 0;

QString Problem_Text(File_Status status, bool writing)
{
    switch (status) {
    case File_Status::Not_Regular:
        return QStringLiteral("設定ﾌｧｲﾙが通常のﾌｧｲﾙではないため、読み込みも保存もしません。");
    case File_Status::Too_Large:
        return QStringLiteral("設定ﾌｧｲﾙが大きすぎる（1 MiB を超える）ため、読み込みも保存もしません。");
    default:
        return writing ? QStringLiteral("設定ﾌｧｲﾙに保存できませんでした。")
                       : QStringLiteral("設定ﾌｧｲﾙを読み込めないため、保存もしません。");
    }
}

// One message per file and run: a dialog closed ten times does not ask ten times.
void Tell(const QString& path, File_Status status, bool writing)
{
    static QSet<QString> told;
    const QString id = QFileInfo(path).absoluteFilePath();
    if (!Profile_Prompter || told.contains(id))
        return;
    told.insert(id);
    if (Quiet_Holders == 0)
        Profile_Prompter->Message(Problem_Text(status, writing) + QStringLiteral("\n") + path, Msg_Exclamation);
}

}  // namespace

void Set_Profile_Prompter(Prompter* prompter)
{
    Profile_Prompter = prompter;
}

Quiet_Profile_Problems::Quiet_Profile_Problems()
{
    ++Quiet_Holders;
}

Quiet_Profile_Problems::~Quiet_Profile_Problems()
{
    --Quiet_Holders;
}

Profile_File::Profile_File(const QString& path) : path_(path)
{
    Read_Result r = Read_Regular_File(path, Profile_File_Limit);
    status_ = r.status;
    if (status_ == File_Status::Ok)
        Parse(r.bytes);
    else if (status_ != File_Status::Missing) {
        qCWarning(Log_Settings).noquote() << "cannot read" << path_ << "-" << Failure_Text(status_, r.error);
        Tell(path_, status_, false);
    }
}

File_Status Profile_File::Save()
{
    // A file that could not be read is not replaced either.
    const bool read = status_ == File_Status::Ok || status_ == File_Status::Missing;
    int error = 0;
    const File_Status written = read ? Write_File_Atomically(path_, Bytes(), &error) : status_;
    if (written != File_Status::Ok) {
        qCWarning(Log_Settings).noquote() << "cannot write" << path_ << "-" << Failure_Text(written, error);
        Tell(path_, written, read);
    }
    return written;
}

QString GetIniValue(const QString& section, const QString& key, const QString& file)
{
    return Profile_File(file).Value(section, key);
}

bool SetIniValue(const QString& section, const QString& key, const QString& value, const QString& file)
{
    Profile_File p(file);
    p.setValue(section, key, value);
    return p.Save() == File_Status::Ok;
}

bool Set_Ini_Number(const QString& section, const QString& key, qint64 number, const QString& file)
{
    Profile_File p(file);
    p.setNumber(section, key, number);
    return p.Save() == File_Status::Ok;
}

}  // namespace pf
