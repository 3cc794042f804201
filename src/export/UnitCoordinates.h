#pragma once
// The drawing coordinates n·u of a unit grid's lines, each formatted once: a drawing names every line
// many times, and the shortest decimal of a double is worth computing only once.

#include "TextWriter.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

class UnitCoordinates {
public:
    // n from 0 to `most`.
    UnitCoordinates(std::int32_t most, double unitMillimetres);

    std::string_view operator()(std::int32_t n) const {
        return {text_.data() + static_cast<std::size_t>(n) * TextWriter::NumberBytes,
                bytes_[static_cast<std::size_t>(n)]};
    }

private:
    std::vector<char> text_;
    std::vector<std::uint8_t> bytes_;
};
