#include "UnitCoordinates.h"

#include <algorithm>

UnitCoordinates::UnitCoordinates(QSize grid, PixelSides unit)
    : alongX_(grid.width(), unit.x), alongY_(grid.height(), unit.y) {}

UnitCoordinates::Lines::Lines(std::int32_t most, double unitMillimetres) {
    const auto count = static_cast<std::size_t>(std::max(most + 1, 0));
    text_.resize(count * TextWriter::NumberBytes);
    bytes_.resize(count);
    for (std::size_t n = 0; n < count; ++n) {
        char* const at = text_.data() + n * TextWriter::NumberBytes;
        bytes_[n] = static_cast<std::uint8_t>(
            TextWriter::storeNumber(at, static_cast<double>(n) * unitMillimetres) - at);
    }
}
