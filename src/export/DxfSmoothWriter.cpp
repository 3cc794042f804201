#include "DxfSmoothWriter.h"

#include "DxfOutlineEntities.h"

using namespace DxfOutlineEntities;

DxfSmoothWriter::DxfSmoothWriter(OutputFile& file, QSize grid, PixelSides unitMillimetres)
    : OutlineWriter(file, grid, frame(grid, unitMillimetres)),
      vertices_(grid * 2, PixelSides(unitMillimetres.x / 2, unitMillimetres.y / 2)) {}

void DxfSmoothWriter::drawShape(const TracedShape& shape) {
    smoothing_.add(shape);
    smoothing_.take(false, [this](const TracedShape& polygons) { drawPolylines(polygons); });
}

void DxfSmoothWriter::drawPolylines(const TracedShape& polygons) {
    writePolylines(writer(), vertices_, polygons, handle_);
    spool_.put(polygons);
}

void DxfSmoothWriter::endShapes(const ShapeSource& source) {
    smoothing_.take(true, [this](const TracedShape& polygons) { drawPolylines(polygons); });
    // The hatches repeat the polygons: read back from the spool, else smoothed again.
    const auto hatch = [this](const TracedShape& polygons) {
        writeHatch(writer(), vertices_, polygons, handle_);
    };
    if (!spool_.kept() || !spool_.forEachShape(hatch)) {
        source.forEachShape([&](const TracedShape& shape) { hatch(smoother_.smoothedShape(shape)); });
    }
}
