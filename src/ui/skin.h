// SPDX-License-Identifier: GPL-3.0-or-later
// The skin every window shares: the stock pictures (loaded once from the embedded artwork),
// the one font of all text controls, and the body boxes that carry the tiled background.
// A Tile_Box keeps the image drawn into it and repaints itself from that image; only
// Tile_Background draws a new one (at start-up and after a layout switch).
#pragma once

#include <QCursor>
#include <QFont>
#include <QList>
#include <QPixmap>
#include <QPoint>
#include <QSize>
#include <QWidget>

namespace pf {

struct Stock_Pictures {
    QPixmap Head;         // head strip, stretched to each window's width
    QPixmap Img_TT;       // heading plate
    QPixmap Img_Off;      // command button, released
    QPixmap Img_On;       // command button, pressed
    QPixmap Img_Opt_Off;  // option or group marker, not chosen
    QPixmap Img_Opt_On;   // option or group marker, chosen
    QPixmap Exit_Off;     // exit button, released (imgImages 0)
    QPixmap Exit_On;      // exit button, pressed (imgImages 1)
    QPixmap Pic_Mbl;      // background tile, 814 x 20
    QPixmap Layout_Compact;
    QPixmap Layout_Wide;
    QCursor Hand;  // cursor of every clickable control
};

// The pictures of the running program, loaded on first use; needs a QGuiApplication.
const Stock_Pictures& Stock();

// The Japanese Gothic of every text control: 9.75 points at the 96 dots per inch the
// pixel layout is designed for, i.e. 13 pixels.
QFont Skin_Font();

// `picture` drawn at `size`: the corners and edges keep their pixels, the middle stretches,
// so bevels stay crisp at any button size.
QPixmap Stretch_Picture(const QPixmap& picture, QSize size);

// Where the tile painter copies the tile into a box of `box` size: rows 0, tile height, ...
// until a row has started below the bottom, then the next column, stopping after such a row
// in a column that started right of the right edge.
QList<QPoint> Tile_Positions(QSize box, QSize tile);

// A body box: grey (808080) under whatever image was last drawn into it, optionally
// framed by a sunken bevel.
class Tile_Box : public QWidget {
public:
    explicit Tile_Box(QWidget* parent = nullptr, bool sunken = false);
    const QPixmap& Image() const { return image_; }
    void setImage(const QPixmap& image);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QPixmap image_;
    bool sunken_;
};

// Fills the box with copies of the stock tile at Tile_Positions, once; the box keeps the result.
void Tile_Background(Tile_Box* box);

}  // namespace pf
