#pragma once
// The shapes of an export's selection: gathers the selected units as the columns come, measures every
// shape as soon as it is complete and leaves out the specks (shapes of fewer units than the minimum
// area), then traces the shapes that remain each time the drawing sinks read them. It holds two bits
// per unit, the runs of two columns, and the outlines of the shapes not yet handed on.

#include "OutlineTracing.h"
#include "PointSink.h"
#include "ShapeGrid.h"
#include "ShapeSweep.h"
#include "TracedShape.h"

#include <QSize>

#include <cstdint>
#include <vector>

class SelectionShapes : public PointSink, public ShapeSource {
public:
    // Shapes of fewer than `minimumArea` units are left out; 0 and 1 keep every shape.
    SelectionShapes(QSize grid, std::int64_t minimumArea);

    void addStretch(const ColumnStretch& stretch) override;
    void endColumn(std::int32_t x) override;
    void finish() override;

    // Shapes in the order they end, column by column and each column top to bottom; a shape's outer
    // boundary first, then its holes by their first corners.
    void forEachShape(const std::function<void(const TracedShape&)>& shape) const override;

    // What the last forEachShape handed on: the shapes, their outlines, corners (a corner two outlines
    // share, or one outline twice, counts twice) and units.
    std::int64_t shapeCount() const override { return counts_.shapes; }
    std::int64_t outlineCount() const { return counts_.outlines; }
    std::int64_t cornerCount() const { return counts_.corners; }
    std::int64_t keptUnits() const { return counts_.units; }

    // The rows of `stretch` whose units the speck filter keeps, as its `selected` bits, once every
    // column has come.
    std::uint64_t keptRows(const ColumnStretch& stretch) const;

private:
    struct Size {
        std::int64_t units = 0;
        void join(Size&& other) { units += other.units; }
    };
    using Sweep = ShapeSweep<Size>;

    void keepOrLeaveOut(std::int32_t x, const Size& shape, const Sweep::Run& run);

    // Rows top to past bottom of column x.
    struct Span {
        std::int32_t x;
        std::int32_t top;
        std::int32_t bottom;
    };

    // Marks that a tracing leaves are taken off before the next one.
    mutable ShapeGrid grid_;
    mutable bool marked_ = false;
    mutable ShapeCounts counts_;
    // The shapes' sizes, measured only when there are specks to leave out.
    Sweep sweep_;
    std::int64_t minimumArea_;
    std::vector<Span> unselected_; // the runs of a speck whose neighbours are still to be looked at
};
