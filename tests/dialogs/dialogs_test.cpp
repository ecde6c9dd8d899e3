// SPDX-License-Identifier: GPL-3.0-or-later
// The two settings dialogs through their real widgets, offscreen.
#include "dialogs/parlo_film_j.h"
#include "dialogs/parlo_film_p.h"

#include "core/profile.h"
#include "support/script_prompter.h"
#include "support/temp_dir.h"
#include "ui/chrome.h"
#include "ui/skin.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace pf::test {

namespace {

struct Dialog_Fixture {
    Temp_Dir dir;
    QString ini = dir.File(QStringLiteral("Parlo_film.ini"));
    Script_Prompter prompts;
    Settings live{.Add_Path = {},
                  .List_Path = dir.Path(),
                  .Way = 1,
                  .Size = 1,
                  .Size_X = 640,
                  .Size_Y = 480,
                  .Inlist = 1,
                  .AutoFolder = {}};

    std::unique_ptr<Settings_Dialog> Open(bool join)
    {
        std::unique_ptr<Settings_Dialog> d;
        if (join)
            d = std::make_unique<Parlo_film_J>(live, ini, &prompts);
        else
            d = std::make_unique<Parlo_film_P>(live, ini);
        d->show();
        return d;
    }
};

template <class T = QWidget>
T* Find(QWidget* dialog, const char* name)
{
    T* w = dialog->findChild<T*>(QLatin1String(name));
    EXPECT_TRUE(w) << name;
    return w;
}

void Click(QWidget* w)
{
    QTest::mousePress(w, Qt::LeftButton);
    QTest::mouseRelease(w, Qt::LeftButton);
}

void Type(QComboBox* list, const QString& text)
{
    list->lineEdit()->selectAll();
    QTest::keyClicks(list->lineEdit(), text);
}

}  // namespace

TEST(Settings_Dialogs, Join_Ok_Refused_Without_Folder_Then_Accepted_With_Save_As)
{
    Dialog_Fixture f;
    f.live.Auto = 1;
    f.live.AutoFolder = f.dir.File(QStringLiteral("deleted"));
    auto d = f.Open(true);
    EXPECT_EQ(d->size(), QSize(465, 297));
    EXPECT_EQ(Find<QLabel>(d.get(), "lbl_AutoFolder")->text(), QString());  // a vanished folder shows empty

    Click(Find(d.get(), "lbl_Cmd0"));
    EXPECT_EQ(f.prompts.messages, QStringList{QStringLiteral("有効なﾌｫﾙﾀﾞが指定されていません！")});
    EXPECT_TRUE(d->isVisible());
    // A press on a caption, with any button, selects as its marker does.
    QTest::mousePress(Find(d.get(), "lbl_Auto0"), Qt::RightButton);
    QTest::mousePress(Find(d.get(), "lbl_Inlist2"), Qt::MiddleButton);
    EXPECT_EQ(Find<Picture>(d.get(), "Img_Auto0")->Pixmap().cacheKey(), Stock().Img_Opt_On.cacheKey());
    QWidget* stamps = Find(d.get(), "chk_Stamps");  // left of OK, in its row
    EXPECT_LT(stamps->geometry().right(), Find(d.get(), "Img_Cmd0")->x());
    Click(stamps);
    Click(Find(d.get(), "lbl_Cmd0"));
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(std::tuple(f.live.Auto, f.live.AutoFolder, f.live.Inlist, f.live.Stamps),
              std::tuple(qint16(0), QString(), qint16(2), qint16(1)));
    EXPECT_FALSE(GetIniValue(Ini_Section, QStringLiteral("FormJ_Top"), f.ini).isEmpty());
    EXPECT_EQ(GetIniValue(Ini_Section, QStringLiteral("Auto"), f.ini), QString());  // settings wait for exit
}

TEST(Settings_Dialogs, Join_Folder_Chooser_Refuses_The_Root_And_Keeps_On_Cancel)
{
    Dialog_Fixture f;
    auto d = f.Open(true);
    QLabel* folder = Find<QLabel>(d.get(), "lbl_AutoFolder");
    const QString movies = f.dir.Mkdir(QStringLiteral("Movies"));
    struct Step {
        QString answer;
        QString shown;
        int messages;
    };
    const Step steps[] = {
        {movies, movies, 0},
        {QString(), movies, 0},  // cancelled: the previous folder stays
        {QStringLiteral("/"), QString(), 1},
        {movies, movies, 1},
        {QStringLiteral("//"), QString(), 2},  // the root, however spelt
    };
    for (const Step& s : steps) {
        f.prompts.folder = s.answer;
        Click(Find(d.get(), "lbl_Cmd2"));
        EXPECT_EQ(folder->toolTip(), s.shown) << s.answer.toStdString();
        EXPECT_EQ(f.prompts.messages.size(), s.messages);
    }
    EXPECT_EQ(f.prompts.messages.value(0), QStringLiteral("ﾙｰﾄﾃﾞｨﾚｸﾄﾘは指定できません！"));
}

TEST(Settings_Dialogs, Every_Close_But_Ok_Stores_Nothing_But_The_Position)
{
    enum Way { Cancel, Exit_Image, Window_Close };
    for (bool join : {true, false})
        for (Way way : {Cancel, Exit_Image, Window_Close}) {
            Dialog_Fixture f;
            const Settings before = f.live;
            const Position_Keys keys = join ? Join_Dialog_Keys : Play_Dialog_Keys;
            SetIniValue(Ini_Section, QLatin1String(keys.left), QStringLiteral(" 3000"), f.ini);
            auto d = f.Open(join);
            const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
            EXPECT_EQ(d->pos(), Opening_Position({}, {}, d->size(), screen, {}, true));  // left key ignored
            EXPECT_EQ(d->Chrome().Exit()->toolTip(), QStringLiteral("exit button"));
            d->move(30, 40);
            Click(Find(d.get(), join ? "lbl_Inlist0" : "lbl_way0"));
            Click(Find(d.get(), join ? "lbl_Auto1" : "lbl_size2"));
            if (join)
                Click(Find(d.get(), "chk_Stamps"));
            else
                Type(Find<QComboBox>(d.get(), "Combo_x"), QStringLiteral("800"));
            switch (way) {
            case Cancel: Click(Find(d.get(), "lbl_Cmd1")); break;
            case Exit_Image: Click(d->Chrome().Exit()); break;
            case Window_Close: d->close(); break;
            }
            EXPECT_FALSE(d->isVisible());
            EXPECT_EQ(f.live, before) << join << way;
            EXPECT_EQ(Read_All(f.ini), QByteArray("[Section]\r\n") + keys.left + "= 450\r\n" + keys.top + "= 600\r\n");
        }
}

TEST(Settings_Dialogs, Play_Sizes_As_Typed_Or_Kept)
{
    struct Case {
        const char* text;
        qint16 want;
    };
    const Case cases[] = {{"abc", 640}, {"1000", 1000}, {"0", 0}, {"-5", -5}, {"640.5", 640}, {"641.5", 642}};
    for (const Case& c : cases) {
        Dialog_Fixture f;
        f.live.Size_Y = 1000;  // shown although no item
        auto d = f.Open(false);
        EXPECT_EQ(d->size(), QSize(301, 337));
        auto* x = Find<QComboBox>(d.get(), "Combo_x");
        auto* y = Find<QComboBox>(d.get(), "Combo_y");
        const QStringList shown{x->currentText(), y->currentText(),
                                x->itemText(0),   x->itemText(x->count() - 1),
                                y->itemText(0),   y->itemText(y->count() - 1)};
        EXPECT_EQ(shown, QStringList({"640", "1000", "320", "800", "240", "600"}));
        Type(x, QString::fromUtf8(c.text));
        QTest::mousePress(Find(d.get(), "Img_way0"), Qt::RightButton);
        Click(Find(d.get(), "lbl_rep1"));
        Click(Find(d.get(), "lbl_Cmd0"));
        EXPECT_EQ(d->result(), QDialog::Accepted);
        EXPECT_EQ(std::tuple(f.live.Size_X, f.live.Size_Y, f.live.Way, f.live.Rep),
                  std::tuple(c.want, qint16(1000), qint16(0), qint16(1)))
            << c.text;
    }
}

}  // namespace pf::test
