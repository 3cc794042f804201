#pragma once
// Comparing pictures pixel by pixel with a message that says where and what differs.

#include "runtime/PictureSurface.h"

#include <QString>

#include <functional>

// Empty when every pixel of the surface equals expected(x, y) (a colour value); otherwise
// "pixel (12, 3): got 0x00555555, expected 0x00565656" for the first difference.
inline QString firstPixelDifference(const PictureSurface& surface,
                                    const std::function<ColourValue(int, int)>& expected) {
    for (int y = 0; y < surface.pixelHeight(); ++y) {
        for (int x = 0; x < surface.pixelWidth(); ++x) {
            const ColourValue got = colourOfStoredPixel(surface.image().pixel(x, y));
            const ColourValue want = expected(x, y);
            if (got != want) {
                return QStringLiteral("pixel (%1, %2): got 0x%3, expected 0x%4")
                    .arg(x)
                    .arg(y)
                    .arg(static_cast<quint32>(got), 8, 16, QLatin1Char('0'))
                    .arg(static_cast<quint32>(want), 8, 16, QLatin1Char('0'));
            }
        }
    }
    return QString();
}
