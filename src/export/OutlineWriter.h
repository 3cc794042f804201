#pragma once
// A drawing of an export's shapes as their outlines (TracedShape.h), whatever its format: the format's
// fixed text, then every shape the source hands over, counted; a format writes one shape, and may walk
// the source again once all have passed.

#include "DrawingFrame.h"
#include "TextWriter.h"
#include "TracedShape.h"

#include <QSize>

#include <cstdint>

class OutputFile;

struct OutlineTotals {
    std::int64_t shapes = 0;
    std::int64_t outlines = 0;
    std::int64_t corners = 0;
};

class OutlineWriter {
public:
    virtual ~OutlineWriter() = default;
    OutlineWriter(const OutlineWriter&) = delete;
    OutlineWriter& operator=(const OutlineWriter&) = delete;

    // Writes the whole drawing of `source`'s shapes into the file, which the caller then closes.
    void write(const ShapeSource& source);
    // What the drawing holds, once written.
    const OutlineTotals& totals() const { return totals_; }

protected:
    OutlineWriter(OutputFile& file, QSize grid, DrawingFrame frame);

    // Writes one shape; totals() counts the shapes before it.
    virtual void drawShape(const TracedShape& shape) = 0;
    // After the last shape, before the frame's tail.
    virtual void endShapes(const ShapeSource& source) = 0;

    TextWriter& writer() { return writer_; }
    QSize grid() const { return grid_; }

private:
    TextWriter writer_;
    QSize grid_;
    DrawingFrame frame_;
    OutlineTotals totals_;
};
