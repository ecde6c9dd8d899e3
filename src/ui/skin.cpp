// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/skin.h"

#include <QPainter>

// Resources of a static library have to be pulled in by name, outside any namespace.
static void Load_Skin_Resources()
{
    Q_INIT_RESOURCE(skin);
}

namespace pf {

namespace {

QPixmap Load(const char* name)
{
    return QPixmap(QStringLiteral(":/skin/") + QLatin1String(name));
}

}  // namespace

const Stock_Pictures& Stock()
{
    static const Stock_Pictures pictures = [] {
        Load_Skin_Resources();
        Stock_Pictures s;
        s.Head = Load("head.png");
        s.Img_TT = Load("plate.png");
        s.Img_Off = Load("button_off.png");
        s.Img_On = Load("button_on.png");
        s.Img_Opt_Off = Load("opt_off.png");
        s.Img_Opt_On = Load("opt_on.png");
        s.Exit_Off = Load("exit_off.png");
        s.Exit_On = Load("exit_on.png");
        s.Pic_Mbl = Load("tile.png");
        s.Layout_Compact = Load("layout_compact.png");
        s.Layout_Wide = Load("layout_wide.png");
        // The hot spot is the tip of the pointing finger.
        s.Hand = QCursor(Load("hand.png"), 10, 1);
        return s;
    }();
    return pictures;
}

QFont Skin_Font()
{
    QFont f(QStringLiteral("Noto Sans CJK JP"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(13);
    f.setWeight(QFont::Normal);
    return f;
}

QPixmap Stretch_Picture(const QPixmap& picture, QSize size)
{
    if (picture.isNull() || size.isEmpty() || picture.size() == size)
        return picture;
    QPixmap out(size);
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const int w = picture.width(), h = picture.height();
    // Border kept as it is: a few pixels, never more than a third of either picture.
    const int bx = std::min({4, w / 3, size.width() / 3});
    const int by = std::min({4, h / 3, size.height() / 3});
    const int xs[] = {0, bx, w - bx, w};
    const int ys[] = {0, by, h - by, h};
    const int xd[] = {0, bx, size.width() - bx, size.width()};
    const int yd[] = {0, by, size.height() - by, size.height()};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            const QRect src(xs[c], ys[r], xs[c + 1] - xs[c], ys[r + 1] - ys[r]);
            const QRect dst(xd[c], yd[r], xd[c + 1] - xd[c], yd[r + 1] - yd[r]);
            if (!src.isEmpty() && !dst.isEmpty())
                p.drawPixmap(dst, picture, src);
        }
    return out;
}

QList<QPoint> Tile_Positions(QSize box, QSize tile)
{
    QList<QPoint> at;
    if (tile.isEmpty())
        return at;
    int x = 0, y = 0;
    for (;;) {
        at.append(QPoint(x, y));
        if (y > box.height()) {
            if (x > box.width())
                break;
            x += tile.width();
            y = 0;
        } else {
            y += tile.height();
        }
    }
    return at;
}

Tile_Box::Tile_Box(QWidget* parent, bool sunken) : QWidget(parent), sunken_(sunken)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Tile_Box::setImage(const QPixmap& image)
{
    image_ = image;
    update();
}

void Tile_Box::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(0x80, 0x80, 0x80));
    p.drawPixmap(0, 0, image_);
    if (sunken_) {
        const QRect r = rect().adjusted(0, 0, -1, -1);
        p.setPen(QColor(0x7b, 0x89, 0xa1));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(QColor(0xf7, 0xf9, 0xfc));
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
    }
}

void Tile_Background(Tile_Box* box)
{
    if (!box)
        return;
    const QPixmap& tile = Stock().Pic_Mbl;
    QPixmap image(box->size());
    image.fill(QColor(0x80, 0x80, 0x80));
    QPainter p(&image);
    for (const QPoint& at : Tile_Positions(box->size(), tile.size()))
        p.drawPixmap(at, tile);
    p.end();
    box->setImage(image);
}

}  // namespace pf
