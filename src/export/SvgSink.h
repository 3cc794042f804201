#pragma once
// The vector picture format (standalone SVG 1.1): the drawing's size in millimetres, a view box in
// the exported picture's pixels with y down, and the selected units filled black as paths of merged
// rectangles, drawn with crisp edges so that no hairline shows between neighbours.

#include "MergedRectangles.h"
#include "PointSink.h"
#include "TextWriter.h"

#include <QSize>

class RecordFile;

class SvgSink : public PointSink {
public:
    // Rectangles one path holds at most: readers refuse attributes of many megabytes.
    static constexpr int PathRectangles = 10000;

    // `unitPixels` is the side of a unit in the view box (2 for the half-resolution picture).
    SvgSink(RecordFile& file, QSize grid, int unitPixels, double unitMillimetres);

    void addStretch(const ColumnStretch& stretch) override { rectangles_.addStretch(stretch); }
    void endColumn(std::int32_t x) override;
    void finish() override;
    std::int64_t shapeCount() const override { return shapes_; }
    std::int64_t runCount() const { return rectangles_.runs(); }

    // The bytes of the file a sink of this grid writes with `shapes` rectangles: its fixed text and
    // paths exactly, every rectangle taken as one unit wide and high, halfway across the drawing.
    static std::int64_t fileBytes(QSize grid, int unitPixels, double unitMillimetres, std::int64_t shapes);

private:
    void writeRectangle(const UnitRectangle& rectangle);

    TextWriter writer_;
    QSize grid_;
    int unitPixels_;
    MergedRectangles rectangles_;
    std::int64_t shapes_ = 0;
    int inPath_ = 0; // rectangles in the path being written
};
