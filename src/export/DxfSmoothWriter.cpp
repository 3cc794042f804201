#include "DxfSmoothWriter.h"

#include "DxfOutlineEntities.h"

#include <algorithm>

#include <string_view>

using namespace std::string_view_literals;

namespace {

using namespace DxfOutlineEntities;

std::int64_t sizeOf(const Outline& polygon) {
    return static_cast<std::int64_t>(polygon.corners.size());
}

} // namespace

DxfSmoothWriter::DxfSmoothWriter(OutputFile& file, QSize grid, PixelSides unitMillimetres)
    : OutlineWriter(file, grid, frame(grid, unitMillimetres)),
      vertices_(grid * 2, PixelSides(unitMillimetres.x / 2, unitMillimetres.y / 2)) {}

void DxfSmoothWriter::drawShape(const TracedShape& shape) {
    for (const Outline& polygon : smoothed(shape).outlines) {
        writer().wrote(storePolylineStart(writer().room(EntityStartBytes), handle_++, sizeOf(polygon)));
        vertices_.write(writer(), polygon);
    }
    spool_.put(smoothed_);
}

void DxfSmoothWriter::endShapes(const ShapeSource& source) {
    // The hatches repeat the polygons: read back from the spool, else smoothed again.
    const auto hatch = [this](const TracedShape& polygons) { writeHatch(polygons); };
    if (!spool_.kept() || !spool_.forEachShape(hatch)) {
        source.forEachShape([this](const TracedShape& shape) { writeHatch(smoothed(shape)); });
    }
}

const TracedShape& DxfSmoothWriter::smoothed(const TracedShape& shape) {
    const auto polygons = smoother_.smooth(shape);
    smoothed_.outlines.resize(polygons.size());
    for (std::size_t k = 0; k < polygons.size(); ++k) {
        Outline& polygon = smoothed_.outlines[k];
        polygon.hole = shape.outlines[k].hole;
        polygon.corners.resize(polygons[k].size());
        std::transform(polygons[k].begin(), polygons[k].end(), polygon.corners.begin(), [](HalfPoint point) {
            return OutlineCorner{point.x, point.y};
        });
    }
    return smoothed_;
}

void DxfSmoothWriter::writeHatch(const TracedShape& polygons) {
    writer().wrote(storeHatchStart(writer().room(EntityStartBytes), handle_++,
                                   static_cast<std::int64_t>(polygons.outlines.size())));
    for (const Outline& polygon : polygons.outlines) {
        writer().wrote(storePathStart(writer().room(EntityStartBytes), polygon.hole, sizeOf(polygon)));
        vertices_.write(writer(), polygon);
        writer().text(PathEnd);
    }
    writer().text(HatchEnd);
}
