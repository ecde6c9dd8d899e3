// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/parlo_film_j.h"

#include "ui/qt_prompter.h"
#include "ui/skin.h"

#include <QCheckBox>
#include <QLabel>

namespace pf {

namespace {

constexpr Choice_Place Inlist_Places[] = {
    {{28, 40, 13, 13}, {44, 40, 49, 13}, "そのまま"},
    {{28, 60, 13, 13}, {44, 60, 83, 13}, "ﾘｽﾄﾎﾞｯｸｽをｸﾘｱ"},
    {{28, 80, 13, 13}, {44, 80, 159, 13}, "ﾘｽﾄﾎﾞｯｸｽをｸﾘｱしﾌｧｲﾙを削除"},
    {{28, 100, 13, 13}, {44, 100, 184, 13}, "ﾘｽﾄﾎﾞｯｸｽをｸﾘｱしﾌｧｲﾙをごみ箱へ"},
};
constexpr Choice_Place Auto_Places[] = {
    {{28, 160, 13, 13}, {44, 160, 99, 13}, "名前を付けて保存"},
    {{28, 180, 13, 13}, {44, 180, 182, 13}, "指定したﾌｫﾙﾀﾞに自動連番で保存"},
};
constexpr Choice_Row Choices[] = {
    {0, &Settings::Inlist, Inlist_Places, "Img_Inlist", "lbl_Inlist"},
    {0, &Settings::Auto, Auto_Places, "Img_Auto", "lbl_Auto"},
};
constexpr Text_Place Texts[] = {
    {0, {12, 16, 97, 13}, "ｲﾝﾌﾟｯﾄﾘｽﾄ", "lbl1", "Img_H0"},
    {0, {12, 136, 97, 13}, "結合ﾌｧｨﾙ名", "lbl0", "Img_H1"},
};
constexpr Button_Place Buttons[] = {
    {2, {420, 200, 27, 17}, "...", "保存先ﾌｫﾙﾀﾞの選択"},
    {0, {276, 240, 85, 17}, "OK"},
    {1, {364, 240, 85, 17}, "ｷｬﾝｾﾙ"},
};
constexpr Dialog_Table Table{"Parlo_film_J", "結合時の設定", Join_Dialog_Keys, {465, 297}, {}, Texts, Choices, Buttons};

constexpr QRect Folder_Box{44, 200, 373, 17};
// In the room left of the OK and ｷｬﾝｾﾙ buttons, where nothing else lies.
constexpr QRect Stamps_Box{28, 240, 240, 17};
constexpr int Browse_Index = 2;

}  // namespace

Parlo_film_J::Parlo_film_J(Settings& live, const QString& iniFile, Prompter* prompts, QWidget* parent)
    : Settings_Dialog(Table, iniFile, parent),
      live_(live),
      ownPrompter_(prompts ? nullptr : std::make_unique<Qt_Prompter>(this)),
      edit_(live, prompts ? *prompts : *ownPrompter_),
      lbl_AutoFolder_(new QLabel(Box(0))),
      stamps_(new QCheckBox(QStringLiteral("ﾀｲﾑｽﾀﾝﾌﾟを連続にする"), Box(0)))
{
    Bind_Choices(edit_);
    stamps_->setObjectName(QStringLiteral("chk_Stamps"));
    stamps_->setGeometry(Stamps_Box);
    stamps_->setChecked(edit_.Stamped());
    connect(stamps_, &QCheckBox::toggled, this, [this](bool on) { edit_.Set_Stamped(on); });
    lbl_AutoFolder_->setObjectName(QStringLiteral("lbl_AutoFolder"));
    lbl_AutoFolder_->setGeometry(Folder_Box);
    lbl_AutoFolder_->setAutoFillBackground(true);
    QPalette white = lbl_AutoFolder_->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    lbl_AutoFolder_->setPalette(white);
    Show_Folder();
    Opened();
}

Parlo_film_J::~Parlo_film_J() = default;

void Parlo_film_J::Show_Folder()
{
    // A long path keeps its start and its last folder; the whole path is in the tool tip.
    const QString& folder = edit_.Folder();
    lbl_AutoFolder_->setText(
        lbl_AutoFolder_->fontMetrics().elidedText(folder, Qt::ElideMiddle, lbl_AutoFolder_->width() - 4));
    lbl_AutoFolder_->setToolTip(folder);
}

void Parlo_film_J::Command(int index)
{
    if (index == Ok_Index) {
        if (edit_.Ok(live_))
            accept();
    } else if (index == Browse_Index) {
        edit_.Browse();
        Show_Folder();
    } else {
        Settings_Dialog::Command(index);
    }
}

}  // namespace pf
