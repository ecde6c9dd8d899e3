// SPDX-License-Identifier: GPL-3.0-or-later
// The playback settings dialog Parlo_film_P ("再生時の設定"): which player (Way), the picture
// size (Size, with the custom width and height typed or picked in two editable lists) and
// repeat (Rep). The window shows a Play_Settings_Edit; OK stores into the live settings, every
// other close stores nothing but the window's position.
#pragma once

#include "dialogs/settings_dialog.h"
#include "dialogs/settings_edit.h"

class QComboBox;

namespace pf {

class Parlo_film_P : public Settings_Dialog {
    Q_OBJECT
public:
    Parlo_film_P(Settings& live, const QString& iniFile, QWidget* parent = nullptr);

private:
    void Command(int index) override;
    QComboBox* Size_List(const QRect& place, const char* name, int from, int to, const QString& text);
    void Connector(const QRect& place, const char* name);

    Settings& live_;
    Play_Settings_Edit edit_;
    QComboBox* Combo_x_;
    QComboBox* Combo_y_;
};

}  // namespace pf
