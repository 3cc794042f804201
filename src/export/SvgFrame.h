#pragma once
// The text of a standalone SVG 1.1 picture around its paths: the drawing's size in millimetres, a view
// box in the exported picture's pixels with y down (stretched to that size where a pixel is no square),
// and one group that gives every path its paint.

#include "DrawingFrame.h"
#include "PixelSize.h"

#include <QSize>

#include <string_view>

class SvgFrame {
public:
    static constexpr std::string_view PathStart = "<path d=\"";
    static constexpr std::string_view PathEnd = "\"/>\n";

    // The text of a picture of `grid` units of `unit`, a unit `unitPixels` wide in the view box (2 for
    // the half-resolution picture), its paths painted with `paint` (the group's attributes).
    static DrawingFrame frame(QSize grid, int unitPixels, PixelSides unit, std::string_view paint);
};
