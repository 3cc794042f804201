#pragma once
// The drawing coordinates of a unit grid's lines, n·u along x and along y, each formatted once: a
// drawing names every line many times, and the shortest decimal of a double is worth computing only once.

#include "PixelSize.h"
#include "TextWriter.h"

#include <QSize>

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

class UnitCoordinates {
public:
    // The lines 0 to the grid's width along x and 0 to its height along y, `unit` apart.
    UnitCoordinates(QSize grid, PixelSides unit);

    std::string_view x(std::int32_t n) const { return alongX_(n); }
    std::string_view y(std::int32_t n) const { return alongY_(n); }

private:
    // One axis's lines.
    class Lines {
    public:
        Lines(std::int32_t most, double unitMillimetres);
        std::string_view operator()(std::int32_t n) const {
            return {text_.data() + static_cast<std::size_t>(n) * TextWriter::NumberBytes,
                    bytes_[static_cast<std::size_t>(n)]};
        }

    private:
        std::vector<char> text_;
        std::vector<std::uint8_t> bytes_;
    };

    Lines alongX_;
    Lines alongY_;
};
