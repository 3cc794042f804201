#pragma once
// The shapes of an export's selection: gathers the selected units as the columns come, measures every
// shape as soon as it is complete and leaves out the specks (shapes of fewer units than the minimum
// area), then traces the shapes that remain, one at a time, as the drawing sinks read them. It holds
// one byte per unit, a few runs per row of a column, and the outlines of the shape being handed on.

#include "PointSink.h"
#include "ShapeGrid.h"
#include "ShapeSizes.h"
#include "TracedShape.h"

#include <QSize>

#include <cstdint>

class SelectionShapes : public PointSink, public ShapeSource {
public:
    // Shapes of fewer than `minimumArea` units are left out; 0 and 1 keep every shape.
    SelectionShapes(QSize grid, std::int64_t minimumArea);

    void addStretch(const ColumnStretch& stretch) override;
    void endColumn(std::int32_t x) override;
    void finish() override;
    // The shapes kept, once every column has come.
    std::int64_t shapeCount() const override { return shapes_; }

    // Shapes one after the other by the first corner of their outer boundaries, column by column and
    // each column top to bottom; a shape's holes in the same order.
    void forEachShape(const std::function<void(const TracedShape&)>& shape) const override;

    // What the speck filter keeps, once every column has come.
    std::int64_t keptUnits() const { return keptUnits_; }
    std::int64_t outlineCount() const { return outlines_; }
    // Corners of all outlines together; a corner two outlines share, or one outline twice, counts twice.
    std::int64_t cornerCount() const { return corners_; }
    // The rows of `stretch` whose units the filter keeps, as its `selected` bits.
    std::uint64_t keptRows(const ColumnStretch& stretch) const;

private:
    void leaveOut(const CompleteShape& shape);
    void countOutlinesAndCorners();

    // Marks that a tracing leaves are taken off before the next one.
    mutable ShapeGrid grid_;
    mutable bool marked_ = false;
    ShapeSizes sizes_;
    std::int64_t minimumArea_;
    std::int64_t shapes_ = 0;
    std::int64_t keptUnits_ = 0;
    std::int64_t outlines_ = 0;
    std::int64_t corners_ = 0;
};
