// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/parlo_film_p.h"

#include "ui/skin.h"

#include <QComboBox>

namespace pf {

namespace {

constexpr Choice_Place Way_Places[] = {
    {{28, 40, 13, 13}, {44, 40, 173, 13}, "関連付けされているソフトを起動"},
    {{28, 60, 13, 13}, {44, 60, 111, 13}, "このｿﾌﾄで制御(MCI)"},
};
constexpr Choice_Place Size_Places[] = {
    {{32, 40, 13, 13}, {48, 40, 52, 13}, "ﾌﾙｽｸﾘｰﾝ"},
    {{32, 60, 13, 13}, {48, 60, 79, 13}, "実動画のｻｲｽﾞ"},
    {{32, 80, 13, 13}, {48, 80, 52, 13}, "任意設定"},
};
constexpr Choice_Place Rep_Places[] = {
    {{32, 136, 13, 13}, {48, 136, 99, 13}, "再生は１回で終了"},
    {{32, 156, 13, 13}, {48, 156, 72, 13}, "繰り返し再生"},
};
constexpr Choice_Row Choices[] = {
    {0, &Settings::Way, Way_Places, "Img_way", "lbl_way"},
    {1, &Settings::Size, Size_Places, "Img_size", "lbl_size"},
    {1, &Settings::Rep, Rep_Places, "Img_rep", "lbl_rep"},
};
constexpr QRect Boxes[] = {{44, 80, 237, 185}};
constexpr Text_Place Texts[] = {
    {0, {12, 16, 95, 13}, "再生方法", "lbl0", "Img_H1"},    {1, {12, 16, 95, 13}, "動画のｻｲｽﾞ", "lbl1", "Img_H0"},
    {1, {12, 112, 95, 13}, "再生終了時", "lbl2", "Img_H2"}, {1, {156, 80, 13, 13}, "x", "Label6"},
    {1, {104, 100, 115, 13}, "(横　x  縦)", "lbl3"},
};
constexpr Button_Place Buttons[] = {
    {0, {108, 280, 85, 17}, "OK"},
    {1, {196, 280, 85, 17}, "ｷｬﾝｾﾙ"},
};
constexpr Dialog_Table Table{"Parlo_film_P", "再生時の設定", Play_Dialog_Keys, {301, 337},
                             Boxes,          Texts,          Choices,          Buttons};

constexpr QRect Combo_x_Place{104, 76, 49, 21};
constexpr QRect Combo_y_Place{172, 76, 49, 21};
// From the media-control choice across and down into the inner box.
constexpr QRect Line1{160, 68, 37, 1};
constexpr QRect Line2{196, 68, 1, 17};

}  // namespace

Parlo_film_P::Parlo_film_P(Settings& live, const QString& iniFile, QWidget* parent)
    : Settings_Dialog(Table, iniFile, parent), live_(live), edit_(live)
{
    Bind_Choices(edit_);
    Connector(Line1, "Line1");
    Connector(Line2, "Line2");
    Combo_x_ = Size_List(Combo_x_Place, "Combo_x", 320, 800, edit_.widthText);
    Combo_y_ = Size_List(Combo_y_Place, "Combo_y", 240, 600, edit_.heightText);
    Combo_x_->setAccessibleName(QStringLiteral("横のｻｲｽﾞ"));
    Combo_y_->setAccessibleName(QStringLiteral("縦のｻｲｽﾞ"));
    Opened();
}

QComboBox* Parlo_film_P::Size_List(const QRect& place, const char* name, int from, int to, const QString& text)
{
    auto* list = new QComboBox(Box(1));
    list->setObjectName(QLatin1String(name));
    list->setGeometry(place);
    list->setEditable(true);
    // What the user types stays typed text; it never becomes an item.
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setCompleter(nullptr);  // "60" typed is 60, not an item completed to 600
    list->addItems(Size_Items(from, to));
    list->setCurrentIndex(-1);
    list->setEditText(text);  // the current size, whether or not it is an item
    return list;
}

void Parlo_film_P::Connector(const QRect& place, const char* name)
{
    auto* line = new QWidget(Box(0));
    line->setObjectName(QLatin1String(name));
    line->setGeometry(place);
    line->setAutoFillBackground(true);
    QPalette pal = line->palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::WindowText));
    line->setPalette(pal);
    line->lower();  // under the inner box it leads into
}

void Parlo_film_P::Command(int index)
{
    if (index != Ok_Index) {
        Settings_Dialog::Command(index);
        return;
    }
    edit_.widthText = Combo_x_->currentText();
    edit_.heightText = Combo_y_->currentText();
    edit_.Ok(live_);
    accept();
}

}  // namespace pf
