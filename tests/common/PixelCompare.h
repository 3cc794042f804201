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
                return QString::asprintf("pixel (%d, %d): got 0x%08x, expected 0x%08x", x, y, unsigned(got),
                                         unsigned(want));
            }
        }
    }
    return QString();
}
