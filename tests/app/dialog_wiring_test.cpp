// SPDX-License-Identifier: GPL-3.0-or-later
// The settings labels of both layouts open their dialogs modally over the main window; the
// dialogs change the program's live settings.
#include "app/main_application.h"

#include "support/temp_dir.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace pf;

TEST(Dialog_Wiring, Settings_Labels_Open_Their_Dialogs)
{
    test::Temp_Dir dir;
    Main_Application program(dir.Path());
    program.Start();
    struct Case {
        Cmd label;
        const char* dialog;
    };
    const Case cases[] = {{Cmd_Join_Settings, "Parlo_film_J"},
                          {Cmd_Join_Settings_Body, "Parlo_film_J"},
                          {Cmd_Play_Settings, "Parlo_film_P"},
                          {Cmd_Play_Settings_Body, "Parlo_film_P"}};
    for (const Case& c : cases) {
        QString shown;
        QTimer driver;
        QObject::connect(&driver, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || !shown.isEmpty())
                return;
            shown = dialog->objectName();
            EXPECT_EQ(dialog->parentWidget(), &program.Window());
            program.Window().activateWindow();
            program.Raise();  // as a second start asks: the dialog comes to the front, not its owner
            QTRY_COMPARE(QApplication::activeWindow(), dialog);
            if (auto* width = dialog->findChild<QComboBox*>(QStringLiteral("Combo_x")))
                width->lineEdit()->setText(QStringLiteral("720"));
            QTest::mouseClick(dialog->findChild<QWidget*>(QStringLiteral("lbl_Cmd0")), Qt::LeftButton);
        });
        driver.start(10);
        program.Window().Commands().Run(c.label);
        EXPECT_EQ(shown, QLatin1String(c.dialog)) << c.label;
    }
    EXPECT_EQ(program.State().settings.Size_X, 720);  // OK reached the live settings
    program.Window().close();
}
