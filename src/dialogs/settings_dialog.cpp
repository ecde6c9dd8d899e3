// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/settings_dialog.h"

#include "dialogs/settings_edit.h"
#include "ui/chrome.h"
#include "ui/command_button.h"
#include "ui/skin.h"

namespace pf {

namespace {

constexpr int Head_Height = 20;
constexpr QSize Plate_Size{95, 20};
constexpr int Button_Height = 22;

}  // namespace

Settings_Dialog::Settings_Dialog(const Dialog_Table& table, const QString& iniFile, QWidget* parent)
    : Secondary_Window(iniFile, table.keys, table.size.width(), parent), table_(table)
{
    setObjectName(QLatin1String(table.name));
    setWindowTitle(QString::fromUtf8(table.caption));
    Head_Caption()->setText(QString::fromUtf8(table.caption));
    Head_Caption()->adjustSize();
    Chrome().Exit()->setToolTip(QLatin1String(Exit_Tool_Tip));
    setFixedSize(table.size);
    Place_From_Keys();

    auto* body = new Tile_Box(this);
    body->setObjectName(QStringLiteral("Pic_B"));
    body->setGeometry(0, Head_Height, table.size.width(), table.size.height() - Head_Height);
    boxes_ << body;
    for (const QRect& r : table.boxes) {
        auto* box = new Tile_Box(body, true);
        box->setObjectName(QStringLiteral("Pic_C"));
        box->setGeometry(r);
        boxes_ << box;
    }
    for (Tile_Box* box : boxes_)
        Tile_Background(box);

    for (const Text_Place& t : table.texts) {
        if (t.plate) {
            auto* plate = new Picture(boxes_.at(t.box));
            plate->setObjectName(QLatin1String(t.plate));
            plate->setGeometry(QRect(t.rect.topLeft() - QPoint(0, 4), Plate_Size));
            plate->setPicture(Stock().Img_TT);
        }
        Make_Caption(QString::fromUtf8(t.text), boxes_.at(t.box), t.rect, QLatin1String(t.name))
            ->setAlignment(Qt::AlignCenter);
    }
    for (const Button_Place& b : table.buttons) {
        auto* image = new Picture(body);
        image->setObjectName(QStringLiteral("Img_Cmd%1").arg(b.index));
        image->setGeometry(b.label.x(), b.label.y() - 4, b.label.width(), Button_Height);
        auto* label = new Command_Label(b.index, QString::fromUtf8(b.text), image, body);
        label->setObjectName(QStringLiteral("lbl_Cmd%1").arg(b.index));
        label->setGeometry(b.label);
        if (b.spoken)
            label->setAccessibleName(QString::fromUtf8(b.spoken));
        connect(label, &Command_Label::released, this, [this](int index) { Command(index); });
    }
}

void Settings_Dialog::Bind_Choices(Settings_Edit& edit)
{
    for (const Choice_Row& row : table_.choices) {
        auto* group
            = new Choice_Group(boxes_.at(row.box), row.places, QLatin1String(row.marker), QLatin1String(row.caption));
        group->Show_Chosen(edit.Selected(row.field));
        connect(group, &Choice_Group::chosen, this, [&edit, group, field = row.field](int i) {
            edit.Choose(field, i);
            group->Show_Chosen(i);
        });
    }
}

void Settings_Dialog::Command(int index)
{
    if (index == Cancel_Index)
        reject();
}

}  // namespace pf
