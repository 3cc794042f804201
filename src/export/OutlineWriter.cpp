#include "OutlineWriter.h"

#include <utility>

OutlineWriter::OutlineWriter(OutputFile& file, QSize grid, DrawingFrame frame)
    : writer_(file), grid_(grid), frame_(std::move(frame)) {}

void OutlineWriter::write(const ShapeSource& source) {
    writer_.text(frame_.head);
    source.forEachShape([this](const TracedShape& shape) {
        drawShape(shape);
        ++totals_.shapes;
        totals_.outlines += static_cast<std::int64_t>(shape.outlines.size());
        for (const Outline& outline : shape.outlines) {
            totals_.corners += static_cast<std::int64_t>(outline.corners.size());
        }
    });
    endShapes(source);
    writer_.text(frame_.tail);
    writer_.flush();
}
