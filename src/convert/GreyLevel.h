#pragma once
// The grey level of a pixel: the channel sum divided by three, rounded to nearest. GreyLevel keeps
// the defined arithmetic; the inline forms are the integer equivalents the pixel loops use.

#include "ColourSplit.h"
#include "runtime/GreyOfSum.h"

#include <QRgb>

#include <cstdint>

// s = green + red, then s + blue (16-bit, checked), k = s / 3 in double rounded ties-to-even.
std::int16_t GreyLevel(const ColourChannels& channels);

// The stored grey pixel for a stored source pixel (both 0xFFRRGGBB; the source's top byte is ignored).
constexpr QRgb greyStoredPixel(QRgb pixel) {
    const std::uint32_t sum = ((pixel >> 16) & 0xFFu) + ((pixel >> 8) & 0xFFu) + (pixel & 0xFFu);
    return 0xFF000000u | (greyOfSum(sum) * 0x010101u);
}

// greyStoredPixel for count pixels in a row (vectorised where the processor allows).
void greyStoredRow(const QRgb* from, QRgb* to, int count);

// RGB(k, k, k) for the grey level k of a colour value (-1 gives white).
constexpr ColourValue greyColour(ColourValue colour) {
    const ColourChannels channels = splitColourBits(colour);
    const auto level = static_cast<ColourValue>(
        greyOfSum(static_cast<std::uint32_t>(channels.red + channels.green + channels.blue)));
    return RGB(level, level, level);
}
