#include "ui/window_place.h"

#include <cmath>
#include <limits>
#include <optional>

namespace pf {

namespace {

// A stored edge: any number (twips are not bound to 16 bits), blanks around it allowed.
std::optional<int> Edge_Pixels(const QString& text)
{
    bool ok = false;
    const double twips = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(twips))
        return std::nullopt;
    const double px = std::floor(twips / Twips_Per_Pixel);
    if (px < std::numeric_limits<int>::min() / 2 || px > std::numeric_limits<int>::max() / 2)
        return std::nullopt;
    return int(px);
}

// Half the room left on the screen, in twips with the remainder dropped, back in pixels.
int Centred(int screen, int window)
{
    const qint64 twips = (qint64(screen) - window) * Twips_Per_Pixel / 2;
    return int(std::floor(double(twips) / Twips_Per_Pixel));
}

}  // namespace

QPoint Opening_Position(const QString& top, const QString& left, QSize window, QSize screen, QPoint current)
{
    QPoint at = current;
    if (top.isEmpty()) {
        at = QPoint(Centred(screen.width(), window.width()), Centred(screen.height(), window.height()));
    } else if (const auto y = Edge_Pixels(top)) {
        at.setY(*y);
    }
    if (!left.isEmpty()) {
        if (const auto x = Edge_Pixels(left))
            at.setX(*x);
    }
    return at;
}

qint64 Edge_Twips(int pixels)
{
    return qint64(pixels) * Twips_Per_Pixel;
}

}  // namespace pf
