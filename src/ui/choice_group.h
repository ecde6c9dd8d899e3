// SPDX-License-Identifier: GPL-3.0-or-later
// A choice of the skinned windows: marker pictures with a caption each, one index per pair.
// A press with any mouse button on a marker or on its caption chooses that index at once;
// the chosen marker shows the selected picture, the others the unselected one. Built from a
// table of places, so a window declares its choices as data. The owner decides what a choice
// stores; this class only shows it and reports presses.
#pragma once

#include <QList>
#include <QObject>
#include <QRect>

#include <initializer_list>
#include <span>

class QWidget;

namespace pf {

class Picture;

struct Choice_Place {
    QRect marker;
    QRect caption;
    const char* text;  // UTF-8
};

class Choice_Group : public QObject {
    Q_OBJECT
public:
    // Markers are named `name` + index and captions "lbl_" ... as the window's design names them:
    // `markerName` + i and `captionName` + i.
    Choice_Group(QWidget* parent, std::span<const Choice_Place> places, const QString& markerName,
                 const QString& captionName);
    Choice_Group(QWidget* parent, std::initializer_list<Choice_Place> places, const QString& markerName,
                 const QString& captionName)
        : Choice_Group(parent, std::span<const Choice_Place>(places.begin(), places.size()), markerName, captionName)
    {}

    // Shows `index` as chosen; an index that is no marker leaves every marker unselected.
    void Show_Chosen(int index);

signals:
    void chosen(int index);

private:
    QList<Picture*> markers_;
};

}  // namespace pf
