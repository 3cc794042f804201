#include "SquaresSink.h"

#include <algorithm>

SquaresSink::SquaresSink(OutputFile& file, QSize grid, const DrawingFrame& frame)
    : writer_(file), grid_(grid), rectangles_(static_cast<std::size_t>(std::max(grid.height(), 0))),
      tail_(frame.tail) {
    writer_.text(frame.head);
}

void SquaresSink::endColumn(std::int32_t x) {
    rectangles_.endColumn(x, [this](const UnitRectangle& rectangle) { drawCounted(rectangle); });
}

void SquaresSink::finish() {
    rectangles_.finish(grid_.width(), [this](const UnitRectangle& rectangle) { drawCounted(rectangle); });
    endShapes();
    writer_.text(tail_);
    writer_.flush();
}

std::int64_t SquaresSink::fileBytes(const DrawingFrame& frame, std::int64_t shapes, std::int64_t shapeBytes) {
    return frame.bytes() + std::max<std::int64_t>(shapes, 0) * shapeBytes;
}
