#include "SelectionShapes.h"

#include <bit>
#include <cstring>

SelectionShapes::SelectionShapes(QSize grid, std::int64_t minimumArea)
    : grid_(grid), minimumArea_(minimumArea) {}

void SelectionShapes::addStretch(const ColumnStretch& stretch) {
    const std::size_t top = grid_.at(stretch.x, stretch.firstY);
    forEachSelectedRun(stretch, [&](int first, int length) {
        std::memset(&grid_[top + static_cast<std::size_t>(first)], ShapeGrid::Selected,
                    static_cast<std::size_t>(length));
        if (minimumArea_ > 1) {
            sweep_.addRun(stretch.firstY + first, stretch.firstY + first + length);
        }
    });
}

void SelectionShapes::endColumn(std::int32_t x) {
    if (minimumArea_ <= 1) {
        return;
    }
    sweep_.joinColumn();
    for (const Sweep::Run& run : sweep_.coming()) {
        sweep_.partOf(run).units += run.bottom - run.top;
    }
    sweep_.endColumn([&](Size&& shape, const Sweep::Run& run) { keepOrLeaveOut(x - 1, shape, run); });
}

void SelectionShapes::finish() {
    sweep_.finish(
        [&](Size&& shape, const Sweep::Run& run) { keepOrLeaveOut(grid_.columns() - 1, shape, run); });
}

void SelectionShapes::keepOrLeaveOut(std::int32_t x, const Size& shape, const Sweep::Run& run) {
    // A speck is smaller than the minimum area, so this walk is as short as the filter is strict; the
    // columns after the shape are unselected as yet.
    if (shape.units < minimumArea_) {
        grid_.walkShape(
            grid_.at(x, run.top), [](std::size_t) {}, [this](std::size_t unit) { grid_[unit] = 0; });
    }
}

void SelectionShapes::forEachShape(const std::function<void(const TracedShape&)>& shape) const {
    if (marked_) {
        grid_.clearMarks();
    }
    marked_ = true;
    counts_ = traceShapes(grid_, shape);
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
