#include "SelectionShapes.h"

#include "OutlineTracing.h"

#include <bit>

SelectionShapes::SelectionShapes(QSize grid, std::int64_t minimumArea)
    : grid_(grid), minimumArea_(minimumArea) {}

void SelectionShapes::addStretch(const ColumnStretch& stretch) {
    const std::size_t top = grid_.at(stretch.x, stretch.firstY);
    forEachSelectedRun(stretch, [&](int first, int length) {
        for (int row = first; row < first + length; ++row) {
            grid_[top + static_cast<std::size_t>(row)] = ShapeGrid::Selected;
        }
        sizes_.addRun(stretch.firstY + first, stretch.firstY + first + length);
    });
}

void SelectionShapes::endColumn(std::int32_t x) {
    for (const CompleteShape& shape : sizes_.endColumn(x)) {
        leaveOut(shape);
    }
}

void SelectionShapes::finish() {
    for (const CompleteShape& shape : sizes_.finish()) {
        leaveOut(shape);
    }
    countOutlinesAndCorners();
}

void SelectionShapes::leaveOut(const CompleteShape& shape) {
    if (shape.units >= minimumArea_) {
        ++shapes_;
        keptUnits_ += shape.units;
        return;
    }
    // A speck is smaller than the minimum area, so this walk is as short as the filter is strict; the
    // columns after the shape are unselected as yet.
    grid_.walkShape(
        grid_.at(shape.x, shape.y), [](std::size_t) {}, [this](std::size_t unit) { grid_[unit] = 0; });
}

void SelectionShapes::countOutlinesAndCorners() {
    // Every corner of the grid by the four units around it (bit 0 above left, 1 above right, 2 below
    // left, 3 below right): one or three selected make a corner of an outline, two meeting only there
    // make two. The Euler number of the shapes (8-connected, holes 4-connected) is the shapes less their
    // holes, a quarter of (one selected) - (three selected) - 2 (two across).
    std::int64_t single = 0;
    std::int64_t triple = 0;
    std::int64_t across = 0;
    for (std::int32_t x = 0; x <= grid_.columns(); ++x) {
        const std::size_t left = grid_.at(x - 1, -1);
        const std::size_t right = grid_.at(x, -1);
        for (std::size_t y = 0; y <= static_cast<std::size_t>(grid_.rows()); ++y) {
            const unsigned around = (grid_[left + y] & 1u) | (grid_[right + y] & 1u) << 1 |
                                    (grid_[left + y + 1] & 1u) << 2 | (grid_[right + y + 1] & 1u) << 3;
            const int selected = std::popcount(around);
            single += selected == 1;
            triple += selected == 3;
            across += around == 0b1001 || around == 0b0110;
        }
    }
    corners_ = single + triple + 2 * across;
    const std::int64_t euler = (single - triple - 2 * across) / 4;
    outlines_ = 2 * shapes_ - euler;
}

void SelectionShapes::forEachShape(const std::function<void(const TracedShape&)>& shape) const {
    if (marked_) {
        grid_.clearMarks();
    }
    marked_ = true;
    traceShapes(grid_, shape);
}

std::uint64_t SelectionShapes::keptRows(const ColumnStretch& stretch) const {
    const std::size_t top = grid_.at(stretch.x, stretch.firstY);
    std::uint64_t kept = 0;
    for (std::uint64_t rows = stretch.selected; rows != 0; rows &= rows - 1) {
        const int row = std::countr_zero(rows);
        if (grid_.selected(top + static_cast<std::size_t>(row))) {
            kept |= std::uint64_t{1} << row;
        }
    }
    return kept;
}
