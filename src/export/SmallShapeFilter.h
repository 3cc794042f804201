#pragma once
// A sink in front of another that passes on only the units of shapes of the minimum area or more: the
// selection's shapes, measured in a pass before, tell which units those are.

#include "PointSink.h"
#include "SelectionShapes.h"

#include <cstdint>

class SmallShapeFilter : public PointSink {
public:
    // `shapes` holds the whole selection the points come from.
    SmallShapeFilter(PointSink& sink, const SelectionShapes& shapes) : sink_(sink), shapes_(shapes) {}

    void addStretch(const ColumnStretch& stretch) override;
    void endColumn(std::int32_t x) override { sink_.endColumn(x); }
    void finish() override { sink_.finish(); }
    std::int64_t shapeCount() const override { return sink_.shapeCount(); }

    // The points passed on.
    std::int64_t points() const { return points_; }

private:
    PointSink& sink_;
    const SelectionShapes& shapes_;
    std::int64_t points_ = 0;
};
