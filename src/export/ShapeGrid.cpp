#include "ShapeGrid.h"

#include <algorithm>

namespace {

// Rows top to past bottom of a word whose first row is `first`, as its bits.
std::uint64_t rowsOfWord(std::int32_t first, std::int32_t top, std::int32_t bottom) {
    const std::int32_t from = std::max(top - first, 0);
    const std::int32_t to = std::min(bottom - first, 64);
    if (from >= to) {
        return 0;
    }
    const std::uint64_t upTo = to == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << to) - 1;
    return upTo & (~std::uint64_t{0} << from);
}

} // namespace

ShapeGrid::ShapeGrid(QSize units)
    : columns_(std::max(units.width(), 0)), rows_(std::max(units.height(), 0)),
      wordsPerColumn_(static_cast<std::size_t>(rows_ + 63) / 64 + 2),
      // A word to spare at the end: a read of the last column's bits takes a whole word from any row.
      selected_(static_cast<std::size_t>(columns_ + 2) * wordsPerColumn_ + 1, 0),
      traced_(selected_.size(), 0) {}

void ShapeGrid::orBits(std::vector<std::uint64_t>& plane, std::int32_t x, std::int32_t firstY,
                       std::uint64_t bits) {
    const std::size_t at = word(x, firstY);
    const int shift = (firstY + Above) & 63;
    plane[at] |= bits << shift;
    if (shift != 0) {
        plane[at + 1] |= bits >> (64 - shift);
    }
}

void ShapeGrid::unselect(std::int32_t x, std::int32_t top, std::int32_t bottom) {
    for (std::int32_t first = (top + Above) / 64 * 64 - Above; first < bottom; first += 64) {
        selected_[word(x, first)] &= ~rowsOfWord(first, top, bottom);
    }
}

void ShapeGrid::clearMarks() {
    std::fill(traced_.begin(), traced_.end(), 0);
}
