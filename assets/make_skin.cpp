// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the stock pictures of the skin: a midnight-blue head strip, silver plates and buttons,
// glass markers, a crimson exit button, a brushed steel background tile and a hand cursor.
// Deterministic (fixed noise seed), so the committed PNGs can be redrawn byte for byte.
// Usage: make_skin <output folder>   (see make_skin.sh)
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdint>
#include <cstdio>

namespace {

QString out;

QImage Canvas(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

void Save(const QImage& img, const char* name)
{
    const QString path = out + u'/' + QString::fromLatin1(name);
    if (!img.save(path, "PNG", 9)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

QLinearGradient Vertical(int h, std::initializer_list<std::pair<double, QColor>> stops)
{
    QLinearGradient g(0, 0, 0, h);
    for (const auto& [at, c] : stops)
        g.setColorAt(at, c);
    return g;
}

// Head strip: deep blue glass with a highlight on top and a dark seam at the bottom of the 20 visible rows.
void Head()
{
    QImage img(803, 22, QImage::Format_RGB888);
    QPainter p(&img);
    p.fillRect(img.rect(),
               Vertical(20,
                        {{0, QColor(0x3c, 0x64, 0xa6)},
                         {0.48, QColor(0x1d, 0x3c, 0x73)},
                         {0.52, QColor(0x10, 0x27, 0x52)},
                         {1, QColor(0x17, 0x33, 0x66)}}));
    p.setPen(QColor(0x8d, 0xb0, 0xe6));
    p.drawLine(0, 0, 802, 0);
    p.setPen(QColor(0x05, 0x0d, 0x1f));
    p.drawLine(0, 19, 802, 19);
    p.fillRect(0, 20, 803, 2, QColor(0x05, 0x0d, 0x1f));
    Save(img, "head.png");
}

// Silver plate with rounded corners and a blue accent at its left end.
void Plate()
{
    QImage img = Canvas(95, 22);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0.5, 0.5, 94, 21);
    p.setPen(QColor(0x4e, 0x5e, 0x7a));
    p.setBrush(Vertical(22,
                        {{0, QColor(0xff, 0xff, 0xff)},
                         {0.5, QColor(0xe6, 0xeb, 0xf2)},
                         {0.55, QColor(0xd4, 0xdc, 0xe8)},
                         {1, QColor(0xc2, 0xcc, 0xdb)}}));
    p.drawRoundedRect(r, 4, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(Vertical(22, {{0, QColor(0x4f, 0x80, 0xc9)}, {1, QColor(0x14, 0x2f, 0x62)}}));
    p.drawRoundedRect(QRectF(3, 3, 4, 16), 1.5, 1.5);
    p.setPen(QColor(255, 255, 255, 200));
    p.drawLine(QPointF(5, 1.5), QPointF(90, 1.5));
    Save(img, "plate.png");
}

// Command button, released: raised silver glass. Pressed: sunken and darker.
void Button(bool pressed)
{
    QImage img = Canvas(21, 20);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0.5, 0.5, 20, 19);
    if (!pressed) {
        p.setPen(QColor(0x4a, 0x5a, 0x76));
        p.setBrush(Vertical(20,
                            {{0, QColor(0xfd, 0xfe, 0xff)},
                             {0.45, QColor(0xe3, 0xe9, 0xf1)},
                             {0.5, QColor(0xcf, 0xd8, 0xe5)},
                             {1, QColor(0xb7, 0xc3, 0xd5)}}));
        p.drawRoundedRect(r, 3, 3);
        p.setPen(QColor(255, 255, 255, 230));
        p.drawLine(QPointF(3, 1.5), QPointF(18, 1.5));
        p.setPen(QColor(0x8a, 0x99, 0xb2, 160));
        p.drawLine(QPointF(3, 18.5), QPointF(18, 18.5));
    } else {
        p.setPen(QColor(0x24, 0x35, 0x54));
        p.setBrush(Vertical(
            20, {{0, QColor(0x93, 0xa5, 0xc2)}, {0.5, QColor(0xae, 0xbd, 0xd3)}, {1, QColor(0xc8, 0xd3, 0xe3)}}));
        p.drawRoundedRect(r, 3, 3);
        p.setPen(QColor(0x52, 0x64, 0x84, 200));
        p.drawLine(QPointF(3, 1.5), QPointF(18, 1.5));
        p.setPen(QColor(0x6e, 0x80, 0xa0, 120));
        p.drawLine(QPointF(1.5, 3), QPointF(1.5, 17));
    }
    Save(img, pressed ? "button_on.png" : "button_off.png");
}

// Option and group marker: an empty recessed well, or a lit blue glass bead.
void Marker(bool on)
{
    QImage img = Canvas(13, 13);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0.5, 0.5, 12, 12);
    if (!on) {
        QRadialGradient g(6.5, 7.5, 7);
        g.setColorAt(0, QColor(0xf4, 0xf6, 0xfa));
        g.setColorAt(1, QColor(0xa9, 0xb5, 0xc7));
        p.setPen(QColor(0x5b, 0x6a, 0x84));
        p.setBrush(g);
        p.drawEllipse(r);
        p.setPen(QColor(0x7d, 0x8b, 0xa3, 140));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(2, 2, 9, 9), 30 * 16, 120 * 16);
    } else {
        QRadialGradient g(5.5, 5, 7.5);
        g.setColorAt(0, QColor(0xc8, 0xec, 0xff));
        g.setColorAt(0.45, QColor(0x3f, 0x9c, 0xf2));
        g.setColorAt(1, QColor(0x10, 0x3c, 0x8c));
        p.setPen(QColor(0x0d, 0x25, 0x55));
        p.setBrush(g);
        p.drawEllipse(r);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 220));
        p.drawEllipse(QRectF(3.2, 2.6, 3.2, 2.4));
    }
    Save(img, on ? "opt_on.png" : "opt_off.png");
}

// Exit button: crimson glass with a white cross; the pressed one is darker and one pixel further right.
void Exit(bool pressed)
{
    const int w = pressed ? 16 : 15;
    QImage img = Canvas(w, 15);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double dx = pressed ? 1 : 0;
    const QRectF r(0.5 + dx, 0.5, 14, 14);
    p.setPen(QColor(0x4a, 0x08, 0x0c));
    if (!pressed)
        p.setBrush(Vertical(15,
                            {{0, QColor(0xf2, 0x8b, 0x86)},
                             {0.48, QColor(0xd1, 0x3b, 0x3b)},
                             {0.52, QColor(0xb0, 0x1f, 0x25)},
                             {1, QColor(0xc8, 0x3a, 0x3c)}}));
    else
        p.setBrush(Vertical(15, {{0, QColor(0x7a, 0x10, 0x16)}, {1, QColor(0xb5, 0x2d, 0x31)}}));
    p.drawRoundedRect(r, 3, 3);
    QPen cross(QColor(255, 255, 255, pressed ? 215 : 245), 1.9, Qt::SolidLine, Qt::RoundCap);
    p.setPen(cross);
    const double o = pressed ? 1 : 0;
    p.drawLine(QPointF(4.5 + dx, 4.5 + o * 0.5), QPointF(10.5 + dx, 10.5 + o * 0.5));
    p.drawLine(QPointF(10.5 + dx, 4.5 + o * 0.5), QPointF(4.5 + dx, 10.5 + o * 0.5));
    Save(img, pressed ? "exit_on.png" : "exit_off.png");
}

// Background tile: brushed steel, 24-bit, a faint seam every 20 rows where the strip repeats.
void Tile()
{
    QImage img(814, 20, QImage::Format_RGB888);
    uint32_t seed = 0x5eed1234u;
    auto rnd = [&seed]() {
        seed = seed * 1664525u + 1013904223u;
        return int((seed >> 16) % 1000) / 1000.0 - 0.5;
    };
    for (int y = 0; y < 20; ++y) {
        const double rowShade = rnd() * 5.0 + (y == 0 ? 7 : 0) + (y == 19 ? -6 : 0);
        double streak = 0;
        for (int x = 0; x < 814; ++x) {
            streak = streak * 0.9 + rnd() * 2.2;
            const double t = x / 813.0;
            const double v = rowShade + streak;
            const int r = qBound(0, int(0xd9 - 0x14 * t + v), 255);
            const int g = qBound(0, int(0xe0 - 0x12 * t + v), 255);
            const int b = qBound(0, int(0xea - 0x0c * t + v), 255);
            img.setPixelColor(x, y, QColor(r, g, b));
        }
    }
    Save(img, "tile.png");
}

// Hand cursor: a white pointing hand with a dark outline; the hot spot is the fingertip (10, 1).
void Hand()
{
    QImage img = Canvas(32, 32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath hand;
    hand.addRoundedRect(QRectF(8, 1, 5, 16), 2.5, 2.5);  // index finger
    hand.addRoundedRect(QRectF(12.5, 8.5, 4.5, 9), 2.2, 2.2);
    hand.addRoundedRect(QRectF(16.5, 9.5, 4.5, 8), 2.2, 2.2);
    hand.addRoundedRect(QRectF(20.5, 10.5, 4.5, 8), 2.2, 2.2);
    hand.addRoundedRect(QRectF(8, 12, 17, 14), 4, 4);  // palm
    QPainterPath thumb;
    thumb.addRoundedRect(QRectF(-3, -2.2, 9, 4.4), 2.2, 2.2);
    hand.addPath(QTransform().translate(7, 18).rotate(50).map(thumb));
    hand = hand.simplified();
    p.setPen(QPen(QColor(0x10, 0x18, 0x28), 1.2));
    p.setBrush(Vertical(32, {{0, QColor(0xff, 0xff, 0xff)}, {1, QColor(0xdd, 0xe3, 0xec)}}));
    p.drawPath(hand);
    p.setPen(QPen(QColor(0x40, 0x4c, 0x60), 0.9));
    p.drawLine(QPointF(12.8, 12), QPointF(12.8, 16));
    p.drawLine(QPointF(16.8, 12), QPointF(16.8, 16.5));
    p.drawLine(QPointF(20.8, 13), QPointF(20.8, 17));
    p.setPen(QPen(QColor(0x10, 0x18, 0x28), 1.2));
    p.setBrush(Vertical(32, {{0, QColor(0x3c, 0x64, 0xa6)}, {1, QColor(0x10, 0x27, 0x52)}}));
    p.drawRoundedRect(QRectF(10, 25.5, 13, 5.5), 1.5, 1.5);  // cuff
    Save(img, "hand.png");
}

// Layout buttons on the head strip: one panel (compact) and two panels (wide).
void Layout_Button(bool wide)
{
    QImage img = Canvas(18, 16);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0x06, 0x10, 0x26));
    p.setBrush(Vertical(16,
                        {{0, QColor(0x5a, 0x82, 0xc4)},
                         {0.5, QColor(0x27, 0x4a, 0x88)},
                         {0.55, QColor(0x17, 0x33, 0x68)},
                         {1, QColor(0x22, 0x45, 0x80)}}));
    p.drawRoundedRect(QRectF(0.5, 0.5, 17, 15), 3, 3);
    p.setPen(QColor(0x0b, 0x1a, 0x3a));
    p.setBrush(Vertical(16, {{0, QColor(0xff, 0xff, 0xff)}, {1, QColor(0xc4, 0xd0, 0xe2)}}));
    if (wide) {
        p.drawRect(QRectF(3.5, 4.5, 5, 7));
        p.drawRect(QRectF(9.5, 4.5, 5, 7));
    } else {
        p.drawRect(QRectF(5.5, 4.5, 7, 7));
    }
    p.setPen(QColor(255, 255, 255, 120));
    p.drawLine(QPointF(3, 1.5), QPointF(15, 1.5));
    Save(img, wide ? "layout_wide.png" : "layout_compact.png");
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_skin <output folder>\n");
        return 2;
    }
    out = QString::fromLocal8Bit(argv[1]);
    Head();
    Plate();
    Button(false);
    Button(true);
    Marker(false);
    Marker(true);
    Exit(false);
    Exit(true);
    Tile();
    Hand();
    Layout_Button(false);
    Layout_Button(true);
    return 0;
}
