// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/choice_group.h"

#include "ui/chrome.h"
#include "ui/skin.h"

namespace pf {

Choice_Group::Choice_Group(QWidget* parent, std::span<const Choice_Place> places, const QString& markerName,
                           const QString& captionName)
    : QObject(parent)
{
    int i = 0;
    for (const Choice_Place& place : places) {
        auto* marker = new Picture(parent);
        marker->setObjectName(markerName + QString::number(i));
        marker->setGeometry(place.marker);
        marker->setPicture(Stock().Img_Opt_Off);
        marker->setCursor(Stock().Hand);
        Caption_Label* caption
            = Make_Caption(QString::fromUtf8(place.text), parent, place.caption, captionName + QString::number(i));
        caption->setCursor(Stock().Hand);
        marker->setAccessibleName(caption->text());
        connect(marker, &Picture::pressed, this, [this, i] { emit chosen(i); });
        connect(caption, &Caption_Label::pressed, this, [this, i] { emit chosen(i); });
        markers_ << marker;
        ++i;
    }
}

void Choice_Group::Show_Chosen(int index)
{
    for (int i = 0; i < markers_.size(); ++i)
        markers_.at(i)->setPicture(i == index ? Stock().Img_Opt_On : Stock().Img_Opt_Off);
}

}  // namespace pf
