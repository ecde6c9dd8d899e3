// SPDX-License-Identifier: GPL-3.0-or-later
#include "util/prompter.h"

#include <QDir>

namespace pf {

Chosen_Folder Choose_Folder(Prompter& prompter, const QString& folder)
{
    Chosen_Folder chosen;
    chosen.path
        = prompter.Pick_Folder(QStringLiteral("ﾌｫﾙﾀﾞをｸﾘｯｸして選択状態にしてから ＯＫ を押してください"), folder);
    chosen.root = !chosen.path.isEmpty() && QDir::cleanPath(chosen.path) == QLatin1String("/");
    if (chosen.root)
        prompter.Message(QStringLiteral("ﾙｰﾄﾃﾞｨﾚｸﾄﾘは指定できません！"), Msg_Exclamation);
    return chosen;
}

}  // namespace pf
