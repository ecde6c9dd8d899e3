// SPDX-License-Identifier: GPL-3.0-or-later
// A settings dialog built from a table of controls. On the Secondary_Window (head strip, white
// caption, exit image, position keys, centring, zoom, every close through done()) it lays out
// the body and its inner boxes with the tiled background, the captions (on heading plates
// where the table says so), the choices of a Settings_Edit (marker and caption, a press with
// any button selects) and the command buttons. A dialog adds what is its own, says what its
// buttons do, and calls Opened() as the last step of its loading.
#pragma once

#include "core/settings.h"
#include "ui/choice_group.h"
#include "ui/secondary_window.h"

#include <QList>
#include <QRect>
#include <QSize>

#include <span>

namespace pf {

class Settings_Edit;
class Tile_Box;

// A caption, centred in its box; with a plate name it lies on a heading plate of that name.
struct Text_Place {
    int box;  // 0 the body, i the table's inner box i - 1
    QRect rect;
    const char* text;
    const char* name;
    const char* plate = nullptr;
};

struct Choice_Row {
    int box;
    qint16 Settings::*field;
    std::span<const Choice_Place> places;
    const char* marker;   // marker names are this + index
    const char* caption;  // caption names are this + index
};

// A command button on the body: its label; the picture lies 4 pixels higher, 22 high.
struct Button_Place {
    int index;
    QRect label;
    const char* text;
    const char* spoken = nullptr;  // what a screen reader says when the caption says too little
};

struct Dialog_Table {
    const char* name;
    const char* caption;
    Position_Keys keys;
    QSize size;                    // the window, head strip included
    std::span<const QRect> boxes;  // inner boxes in the body, named "Pic_C"
    std::span<const Text_Place> texts;
    std::span<const Choice_Row> choices;
    std::span<const Button_Place> buttons;
};

class Settings_Dialog : public Secondary_Window {
    Q_OBJECT
public:
    Settings_Dialog(const Dialog_Table& table, const QString& iniFile, QWidget* parent);

    // 0 the body Pic_B, i the inner box i - 1.
    Tile_Box* Box(int i) const { return boxes_.at(i); }

protected:
    // The command buttons every dialog has: "OK" and "ｷｬﾝｾﾙ".
    static constexpr int Ok_Index = 0;
    static constexpr int Cancel_Index = 1;

    // Shows the table's choices as `edit` holds them, and lets presses choose there.
    void Bind_Choices(Settings_Edit& edit);
    // The last step of loading.
    void Opened() { Start_Open_Animation(); }
    // A command button was released (its released look painted); Cancel_Index closes by default.
    virtual void Command(int index);

private:
    const Dialog_Table& table_;
    QList<Tile_Box*> boxes_;
};

}  // namespace pf
