#pragma once
// Comparing pictures pixel by pixel with a message that says where and what differs.

#include "runtime/PictureSurface.h"

#include <QString>

#include <functional>

// Empty when every pixel of the surface equals expected(x, y) (a colour value); otherwise
// "pixel (12, 3): got 0x00555555, expected 0x00565656" for the first difference.
QString firstPixelDifference(const PictureSurface& surface,
                             const std::function<ColourValue(int, int)>& expected);
