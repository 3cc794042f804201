#pragma once
// A pixel's channel sum (red + green + blue, 0 to 765): what the selection rule (SelectionRule.h) decides
// on, for the export and for the preview's marks.

#include <QRgb>

inline int channelSum(QRgb pixel) {
    return static_cast<int>(((pixel >> 16) & 0xFFu) + ((pixel >> 8) & 0xFFu) + (pixel & 0xFFu));
}
