#pragma once
// The red, green and blue values of a colour value, by the text route the conversion defines
// (hexadecimal text, six digits, three pairs) and by the bit form the pixel loops use.

#include "runtime/ColourValue.h"

#include <QString>
#include <QStringView>

#include <cstdint>

struct ColourChannels {
    std::int16_t red = 0;
    std::int16_t green = 0;
    std::int16_t blue = 0;

    friend bool operator==(const ColourChannels&, const ColourChannels&) = default;
};

// The value of the hexadecimal pair formed by the text's first and last characters. Only the ASCII
// digits and the upper-case letters A to F count; every other character (lower case included) is 0.
std::int16_t HexPairValue(const QString& text);
std::int16_t HexPairValue(QStringView text);

// The channels through the text route: upper-case hex text, "000000" in front, the last six
// characters, pairs read red (last), green (middle), blue (first).
ColourChannels SplitColour(ColourValue colour);

// The same result by bit operations: the route keeps the low 24 bits as six digits, so red, green
// and blue are bits 0-7, 8-15 and 16-23 for every 32-bit value (a test walks the values).
constexpr ColourChannels splitColourBits(ColourValue colour) {
    const auto value = static_cast<std::uint32_t>(colour);
    return {static_cast<std::int16_t>(value & 0xFFu), static_cast<std::int16_t>((value >> 8) & 0xFFu),
            static_cast<std::int16_t>((value >> 16) & 0xFFu)};
}
