// SPDX-License-Identifier: GPL-3.0-or-later
// Distinct colours in a rectangle of a picture, sampled every fourth pixel: a clip's picture has
// many, a plain fill one. For the checks that a player shows its clip on the screen.
#pragma once

#include <QImage>
#include <QRect>
#include <QSet>

namespace pf::test {

inline int Colours(const QImage& image, const QRect& rect)
{
    QSet<QRgb> seen;
    for (int y = rect.top(); y <= rect.bottom(); y += 4)
        for (int x = rect.left(); x <= rect.right(); x += 4)
            seen.insert(image.pixel(x, y));
    return int(seen.size());
}

}  // namespace pf::test
