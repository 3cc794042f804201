#pragma once
// A pixel's channel sum (red + green + blue, 0 to 765): what the export's selection compares with
// three times the threshold, and what the preview's marks are decided on.

#include <QRgb>

inline int channelSum(QRgb pixel) {
    return static_cast<int>(((pixel >> 16) & 0xFFu) + ((pixel >> 8) & 0xFFu) + (pixel & 0xFFu));
}
