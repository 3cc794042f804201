#pragma once
// The grey level of a pixel: the channel sum divided by three, rounded to nearest. GreyLevel keeps
// the defined arithmetic; the inline forms are the integer equivalents the pixel loops use.

#include "ColourSplit.h"

#include <QRgb>

#include <cstdint>

// s = green + red, then s + blue (16-bit, checked), k = s / 3 in double rounded ties-to-even.
std::int16_t GreyLevel(const ColourChannels& channels);

// (s + 1) div 3 for s in 0..765: the quotient's fraction is 0, 1/3 or 2/3, so rounding never meets a
// tie. 43691 / 2^17 lies just above 1/3, close enough that the product never crosses a whole number.
constexpr std::uint32_t greyOfSum(std::uint32_t sum) {
    return ((sum + 1u) * 43691u) >> 17;
}

constexpr bool greyOfSumIsExact() {
    for (std::uint32_t sum = 0; sum <= 765; ++sum) {
        if (greyOfSum(sum) != (sum + 1) / 3) {
            return false;
        }
    }
    return true;
}
static_assert(greyOfSumIsExact());

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
