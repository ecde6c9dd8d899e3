// SPDX-License-Identifier: GPL-3.0-or-later
// The log: silent unless turned on; on, a group switch and failed writes of a group file and of
// the settings file are told under their own category, with the file and the reason.
#include "core/finished_list.h"
#include "core/main_state.h"
#include "core/profile.h"
#include "support/script_prompter.h"
#include "support/temp_dir.h"
#include "support/waits.h"

#include <QLoggingCategory>

#include <gtest/gtest.h>

namespace pf::test {

QStringList Logged;

TEST(Log, Group_Switch_And_Failed_Writes_Are_Told_Under_Their_Category_Only_When_On)
{
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext& c, const QString& text) { Logged << c.category + (u' ' + text); });
    for (const bool on : {false, true}) {
        QLoggingCategory::setFilterRules(on ? QStringLiteral("parlo_film.*=true") : QString());
        Temp_Dir dir;
        Main_State state(dir.Path());
        Script_Prompter prompter;
        Finished_List favorites(state, prompter, List_Id::Favorite);
        favorites.Drop_Files({dir.Write(QStringLiteral("a.mpg"), "x")});
        const QString group1 = dir.Mkdir(QStringLiteral("Favorite01.rdm")), ini = dir.Mkdir(QStringLiteral("ini"));
        Logged.clear();
        test::Switch_Group(favorites, 1);  // a folder in its place: read as empty, and with an entry
        favorites.Drop_Files({dir.Write(QStringLiteral("b.mpg"), "x")});
        test::Switch_Group(favorites, 2);  // not written on leaving (the user stays)
        prompter.answers = {Answer_Yes};
        test::Switch_Group(favorites, 2);  // left all the same: the entry is left out, and said so
        Profile_File(ini).Save();
        const QString told
            = "parlo_film.groups cannot read %2 - not a regular file\n"
              "parlo_film.groups favorite group 0 -> 1 - wrote 1 entries to %1 - read 0 from %2\n"
              "parlo_film.groups cannot write %2 - not a regular file\n"
              "parlo_film.groups cannot write %2 - not a regular file\n"
              "parlo_film.groups favorite group 1 -> 2 - wrote 0 entries to %2 - left 1 out - read 0 from %4\n"
              "parlo_film.settings cannot read %3 - not a regular file\n"
              "parlo_film.settings cannot write %3 - not a regular file";
        const QString group0 = state.Group_Path(Group_Kind::Favorite, 0);
        EXPECT_EQ(Logged.join(u'\n').toStdString(),
                  on ? told.arg(group0, group1, ini, state.Group_Path(Group_Kind::Favorite, 2)).toStdString() : "");
    }
    QLoggingCategory::setFilterRules({});
    qInstallMessageHandler(previous);
}

}  // namespace pf::test
