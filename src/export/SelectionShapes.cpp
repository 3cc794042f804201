#include "SelectionShapes.h"

SelectionShapes::SelectionShapes(QSize grid, std::int64_t minimumArea)
    : grid_(grid), minimumArea_(minimumArea) {}

void SelectionShapes::addStretch(const ColumnStretch& stretch) {
    grid_.select(stretch.x, stretch.firstY, stretch.selected);
    if (minimumArea_ > 1) {
        forEachSelectedRun(stretch, [&](int first, int length) {
            sweep_.addRun(stretch.firstY + first, stretch.firstY + first + length);
        });
    }
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
    if (shape.units >= minimumArea_) {
        return;
    }
    // The speck's runs, each unselected as it is found, so that none is found twice; a speck is smaller
    // than the minimum area, so this is as short as the filter is strict. The columns after the shape
    // are unselected as yet.
    grid_.unselect(x, run.top, run.bottom);
    unselected_.push_back({x, run.top, run.bottom});
    while (!unselected_.empty()) {
        const Span span = unselected_.back();
        unselected_.pop_back();
        for (const std::int32_t beside : {span.x - 1, span.x + 1}) {
            grid_.forEachRunMeeting(beside, span.top - 1, span.bottom + 1,
                                    [&](std::int32_t top, std::int32_t bottom) {
                                        grid_.unselect(beside, top, bottom);
                                        unselected_.push_back({beside, top, bottom});
                                    });
        }
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
    const std::uint64_t rows = (grid_.selectedFrom(stretch.x, stretch.firstY) & 0xFFFFFFFFu) |
                               grid_.selectedFrom(stretch.x, stretch.firstY + 32) << 32;
    return stretch.selected & rows;
}
