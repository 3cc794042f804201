#include "DxfSmoothWriter.h"

#include "DxfOutlineEntities.h"

#include <string_view>

using namespace std::string_view_literals;

namespace {

using namespace DxfOutlineEntities;

constexpr std::size_t VertexBytes = 12 + 2 * TextWriter::NumberBytes;

std::int64_t sizeOf(const std::vector<HalfPoint>& polygon) {
    return static_cast<std::int64_t>(polygon.size());
}

} // namespace

DxfSmoothWriter::DxfSmoothWriter(OutputFile& file, QSize grid, PixelSides unitMillimetres)
    : OutlineWriter(file, grid, frame(grid, unitMillimetres)),
      halves_(grid * 2, PixelSides(unitMillimetres.x / 2, unitMillimetres.y / 2)) {}

void DxfSmoothWriter::drawShape(const TracedShape& shape) {
    for (const std::vector<HalfPoint>& polygon : smoother_.smooth(shape)) {
        writer().wrote(storePolylineStart(writer().room(EntityStartBytes), handle_++, sizeOf(polygon)));
        writeVertices(polygon);
    }
}

void DxfSmoothWriter::endShapes(const ShapeSource& source) {
    source.forEachShape([this](const TracedShape& shape) { writeHatch(shape); });
}

void DxfSmoothWriter::writeHatch(const TracedShape& shape) {
    writer().wrote(storeHatchStart(writer().room(EntityStartBytes), handle_++,
                                   static_cast<std::int64_t>(shape.outlines.size())));
    const auto polygons = smoother_.smooth(shape);
    for (std::size_t k = 0; k < polygons.size(); ++k) {
        writer().wrote(
            storePathStart(writer().room(EntityStartBytes), shape.outlines[k].hole, sizeOf(polygons[k])));
        writeVertices(polygons[k]);
        writer().text(PathEnd);
    }
    writer().text(HatchEnd);
}

void DxfSmoothWriter::writeVertices(const std::vector<HalfPoint>& polygon) {
    // Half units count rows down from the top; the drawing's y goes up from the bottom edge.
    const std::int32_t height = 2 * grid().height();
    for (const HalfPoint point : polygon) {
        char* at = put(writer().room(VertexBytes), " 10\n"sv);
        at = put(at, halves_.x(point.x));
        at = put(at, "\n 20\n"sv);
        at = put(at, halves_.y(height - point.y));
        writer().wrote(put(at, "\n"sv));
    }
}
