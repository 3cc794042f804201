#include "ShapeGrid.h"

#include <algorithm>

ShapeGrid::ShapeGrid(QSize units)
    : columns_(std::max(units.width(), 0)), rows_(std::max(units.height(), 0)),
      stride_(rows_ + 1), offsets_{1,           -1,          stride_,      -stride_,
                                   stride_ + 1, stride_ - 1, -stride_ + 1, -stride_ - 1},
      units_(static_cast<std::size_t>(columns_ + 2) * static_cast<std::size_t>(stride_) + 1 + WordSlack, 0) {}

void ShapeGrid::clearMarks() {
    for (std::uint8_t& unit : units_) {
        unit &= static_cast<std::uint8_t>(~Marks);
    }
}
