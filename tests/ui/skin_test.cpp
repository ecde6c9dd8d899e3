// SPDX-License-Identifier: GPL-3.0-or-later
// The stock pictures, the tile painter's rows and the kept images of the body boxes.
#include "ui/skin.h"

#include <QImage>

#include <gtest/gtest.h>

namespace pf::test {

namespace {

QList<int> Rows_In_Column(const QList<QPoint>& at, int x)
{
    QList<int> rows;
    for (const QPoint& p : at)
        if (p.x() == x)
            rows.append(p.y());
    return rows;
}

QList<int> Rows(int from, int to)
{
    QList<int> r;
    for (int y = from; y <= to; y += 20)
        r.append(y);
    return r;
}

}  // namespace

TEST(Stock_Pictures, Exist_In_Their_Designed_Sizes)
{
    const Stock_Pictures& s = Stock();
    EXPECT_EQ(s.Head.size(), QSize(803, 22));
    EXPECT_EQ(s.Img_TT.size(), QSize(95, 22));
    EXPECT_EQ(s.Img_Off.size(), QSize(21, 20));
    EXPECT_EQ(s.Img_On.size(), QSize(21, 20));
    EXPECT_EQ(s.Img_Opt_Off.size(), QSize(13, 13));
    EXPECT_EQ(s.Img_Opt_On.size(), QSize(13, 13));
    EXPECT_EQ(s.Exit_Off.size(), QSize(15, 15));
    EXPECT_EQ(s.Exit_On.size(), QSize(16, 15));
    EXPECT_EQ(s.Layout_Compact.size(), QSize(18, 16));
    EXPECT_EQ(s.Layout_Wide.size(), QSize(18, 16));
    EXPECT_EQ(s.Hand.pixmap().size(), QSize(32, 32));
    // The tile is a plain 24-bit bitmap.
    EXPECT_EQ(s.Pic_Mbl.size(), QSize(814, 20));
    EXPECT_FALSE(s.Pic_Mbl.hasAlpha());
    // Pressed and released really differ.
    EXPECT_NE(s.Img_On.toImage(), s.Img_Off.toImage());
    EXPECT_NE(s.Img_Opt_On.toImage(), s.Img_Opt_Off.toImage());
}

TEST(Tile_Positions, Covers_Every_Body_Height_With_One_Row_Started_Below)
{
    const QSize tile(814, 20);
    // Both columns of a body narrower than the tile get the same rows; then the painter stops.
    for (auto [height, last] : {std::pair{277, 280}, {549, 560}, {333, 340}, {20, 40}, {0, 20}}) {
        SCOPED_TRACE(height);
        const QList<QPoint> at = Tile_Positions(QSize(805, height), tile);
        EXPECT_EQ(Rows_In_Column(at, 0), Rows(0, last));
        EXPECT_EQ(Rows_In_Column(at, 814), Rows(0, last));
        EXPECT_EQ(at.size(), 2 * Rows(0, last).size());
    }
    // A box wider than two tiles gets a third column.
    EXPECT_EQ(Rows_In_Column(Tile_Positions(QSize(1700, 30), tile), 1628), Rows(0, 40));
    EXPECT_TRUE(Tile_Positions(QSize(100, 100), QSize()).isEmpty());
}

TEST(Tile_Background, Keeps_An_Image_Of_The_Box_Made_Of_Tile_Rows)
{
    Tile_Box box;
    box.resize(469, 177);
    Tile_Background(&box);
    const QImage img = box.Image().toImage();
    const QImage tile = Stock().Pic_Mbl.toImage();
    ASSERT_EQ(img.size(), QSize(469, 177));
    for (const QPoint p : {QPoint(0, 0), QPoint(468, 16), QPoint(200, 7)}) {
        EXPECT_EQ(img.pixel(p), tile.pixel(p));
        EXPECT_EQ(img.pixel(p + QPoint(0, 160)), tile.pixel(p));  // row 8 repeats the strip
    }
    EXPECT_EQ(img.pixel(10, 176), tile.pixel(10, 16));
    // Resizing keeps the drawn image until the box is tiled again.
    const qint64 kept = box.Image().cacheKey();
    box.resize(377, 177);
    EXPECT_EQ(box.Image().cacheKey(), kept);
}

TEST(Stretch_Picture, Keeps_Corners_And_Stretches_The_Middle)
{
    const QPixmap& off = Stock().Img_Off;
    const QImage src = off.toImage();
    const QImage big = Stretch_Picture(off, QSize(85, 22)).toImage();
    ASSERT_EQ(big.size(), QSize(85, 22));
    EXPECT_EQ(big.pixel(0, 0), src.pixel(0, 0));
    EXPECT_EQ(big.pixel(84, 21), src.pixel(20, 19));
    EXPECT_EQ(big.pixel(2, 1), src.pixel(2, 1));
    EXPECT_EQ(Stretch_Picture(off, off.size()).cacheKey(), off.cacheKey());
}

}  // namespace pf::test
