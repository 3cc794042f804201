#pragma once
// Colour values as the program speaks of them (0x00BBGGRR, -1 for "no pixel") and their
// mapping to the 0xFFRRGGBB pixels of a stored image.

#include <QRgb>

#include <cstdint>

using ColourValue = std::int32_t;

constexpr ColourValue NoPixel = -1;

constexpr ColourValue RGB(int red, int green, int blue) {
    return red + 256 * green + 65536 * blue;
}

constexpr QRgb storedPixel(ColourValue colour) {
    const auto value = static_cast<std::uint32_t>(colour);
    return 0xFF000000u | ((value & 0xFFu) << 16) | (value & 0xFF00u) | ((value >> 16) & 0xFFu);
}

constexpr ColourValue colourOfStoredPixel(QRgb pixel) {
    return static_cast<ColourValue>(((pixel >> 16) & 0xFFu) | (pixel & 0xFF00u) | ((pixel & 0xFFu) << 16));
}
