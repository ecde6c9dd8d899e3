// SPDX-License-Identifier: GPL-3.0-or-later
#include "join/save_as.h"

#include "util/paths.h"
#include "util/prompter.h"
#include "util/system_error.h"

namespace pf {

QString Save_Filter(const QString& upperExt)
{
    return upperExt == QLatin1String("MPG") ? QStringLiteral("動画ﾌｧｲﾙ (mpg) (*.mpg)")
                                            : QStringLiteral("動画ﾌｧｲﾙ (mpeg) (*.mpeg)");
}

QString Save_Suffix(const QString& upperExt)
{
    return upperExt == QLatin1String("MPG") ? QStringLiteral("mpg") : QStringLiteral("mpeg");
}

QString Ask_Save_Path(Prompter& prompter, const QString& title, const QString& upperExt, const QString& folder,
                      const QString& proposed, const QString& mismatchText)
{
    const QString chosen = prompter.Save_File(title, Save_Filter(upperExt), Save_Suffix(upperExt), folder, proposed);
    if (chosen.isEmpty())
        return {};
    if (Extension_Of(chosen).toUpper() != upperExt) {
        prompter.Message(mismatchText, Msg_Exclamation);
        return {};
    }
    return chosen;
}

QString Move_Failure_Text(const QString& to, int error)
{
    return QStringLiteral("ﾌｧｲﾙに名前を付けられませんでした！\n%1\n(%2)").arg(to, Japanese_System_Error(error));
}

}  // namespace pf
