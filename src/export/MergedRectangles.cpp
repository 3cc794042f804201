#include "MergedRectangles.h"

MergedRectangles::MergedRectangles(std::size_t rows) {
    // A column has at most one run in two rows.
    const std::size_t most = rows / 2 + 1;
    column_.reserve(most);
    open_.reserve(most);
    growing_.reserve(most);
}

void MergedRectangles::addStretch(const ColumnStretch& stretch) {
    forEachSelectedRun(stretch, [&](int first, int length) {
        const std::int32_t top = stretch.firstY + first;
        const std::int32_t bottom = top + length;
        // A run across the boundary of two stretches goes on from the one before.
        if (!column_.empty() && column_.back().bottom == top) {
            column_.back().bottom = bottom;
            return;
        }
        column_.push_back({top, bottom});
        ++runs_;
    });
}
