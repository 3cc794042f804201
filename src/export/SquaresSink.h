#pragma once
// A drawing of the selected units as filled rectangles, whatever its format: runs down the columns are
// merged across columns, and every rectangle goes to the format as soon as it cannot grow, between the
// format's fixed text. A format writes one rectangle.

#include "DrawingFrame.h"
#include "MergedRectangles.h"
#include "PointSink.h"
#include "TextWriter.h"

#include <QSize>

#include <cstdint>
#include <string>

class OutputFile;

class SquaresSink : public PointSink {
public:
    void addStretch(const ColumnStretch& stretch) final { rectangles_.addStretch(stretch); }
    void endColumn(std::int32_t x) final;
    void finish() final;
    std::int64_t shapeCount() const final { return shapes_; }

protected:
    // Writes the frame's head at once.
    SquaresSink(OutputFile& file, QSize grid, const DrawingFrame& frame);

    // The bytes of a file with this frame and `shapes` rectangles of `shapeBytes` each.
    static std::int64_t fileBytes(const DrawingFrame& frame, std::int64_t shapes, std::int64_t shapeBytes);

    // Writes one rectangle; shapeCount() rectangles came before it.
    virtual void draw(const UnitRectangle& rectangle) = 0;
    // After the last rectangle, before the frame's tail.
    virtual void endShapes() {}

    TextWriter& writer() { return writer_; }
    QSize grid() const { return grid_; }

private:
    void drawCounted(const UnitRectangle& rectangle) {
        draw(rectangle);
        ++shapes_;
    }

    TextWriter writer_;
    QSize grid_;
    MergedRectangles rectangles_;
    std::string tail_;
    std::int64_t shapes_ = 0;
};
