// SPDX-License-Identifier: GPL-3.0-or-later
// A screen reader's view of both layouts of the main window and of both settings dialogs: every
// control is named, and what shows the hand cursor (the only bitmap cursor) has a press action
// that presses as the mouse does.
#include "ui_fixture.h"

#include "dialogs/parlo_film_j.h"
#include "dialogs/parlo_film_p.h"

#include <QAccessible>
#include <QTest>

#include <gtest/gtest.h>

namespace pf::test {

QStringList Faults(QAccessibleInterface* a)
{
    const auto* w = qobject_cast<QWidget*>(a->object());
    const bool hand = w && w->testAttribute(Qt::WA_SetCursor) && w->cursor().shape() == Qt::BitmapCursor;
    const bool press = a->actionInterface()
        && a->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction());
    const QList roles = {QAccessible::Button, QAccessible::RadioButton, QAccessible::List, QAccessible::ComboBox};
    QStringList faults;
    if ((hand || roles.contains(a->role())) && (a->text(QAccessible::Name).isEmpty() || (hand && !press)))
        faults << a->object()->objectName();
    for (int i = 0; i < a->childCount(); ++i)
        if (QAccessibleInterface* child = a->child(i); child && !child->state().invisible)
            faults += Faults(child);
    return faults;
}

TEST(Accessible, Every_Control_Of_Both_Layouts_And_Both_Dialogs_Is_Named_And_Pressable)
{
    Main_Window_Fixture f;
    f.Start();
    QStringList faults;
    const auto walk = [&faults](QWidget* w) {
        w->show();
        faults += Faults(QAccessible::queryAccessibleInterface(w));
    };
    walk(f.window.get());
    QAccessibleInterface* compact = QAccessible::queryAccessibleInterface(f.Find<QWidget>("Img_Skin0"));
    compact->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.Find<QWidget>("Pic_C2")->isHidden(); }, 5000));
    walk(f.window.get());
    Parlo_film_J join(f.state->settings, f.dir.File(QStringLiteral("J.ini")), &f.prompter);
    walk(&join);
    Parlo_film_P play(f.state->settings, f.dir.File(QStringLiteral("P.ini")));
    walk(&play);
    EXPECT_EQ(faults.join(u' ').toStdString(), "");
}

}  // namespace pf::test
