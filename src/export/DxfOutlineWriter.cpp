#include "DxfOutlineWriter.h"

#include "DxfOutlineEntities.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>
#include <string_view>

using namespace std::string_view_literals;

using namespace DxfOutlineEntities;

DxfOutlineWriter::DxfOutlineWriter(OutputFile& file, QSize grid, PixelSides unitMillimetres)
    : OutlineWriter(file, grid, frame(grid, unitMillimetres)), vertices_(grid, unitMillimetres) {}

void DxfOutlineWriter::drawShape(const TracedShape& shape) {
    writePolylines(writer(), vertices_, shape, handle_);
    spool_.put(shape);
}

void DxfOutlineWriter::endShapes(const ShapeSource& source) {
    const auto hatch = [this](const TracedShape& shape) { writeHatch(writer(), vertices_, shape, handle_); };
    if (!spool_.kept() || !spool_.forEachShape(hatch)) {
        source.forEachShape(hatch);
    }
}

std::int64_t DxfOutlineWriter::fileBytes(QSize grid, PixelSides unitMillimetres,
                                         const OutlineTotals& totals) {
    const std::int64_t shapes = std::max<std::int64_t>(totals.shapes, 0);
    const std::int64_t outlines = std::max<std::int64_t>(totals.outlines, 0);
    const std::int64_t corners = std::max<std::int64_t>(totals.corners, 0);
    const auto middle = [](int units, double side) {
        char at[TextWriter::NumberBytes];
        return std::string(at, TextWriter::storeNumber(at, (std::max(units, 0) / 2) * side));
    };
    const auto mean = [](std::int64_t total, std::int64_t count) { return count > 0 ? total / count : 0; };
    char text[EntityStartBytes];
    // Each part stored with the handle 0, whose one digit handleDigits counts instead.
    const auto bytes = [&text](char* end) { return static_cast<std::int64_t>(end - text); };
    const std::int64_t polyline = bytes(storePolylineStart(text, 0, mean(corners, outlines))) - 1;
    const std::int64_t hatch = bytes(storeHatchStart(text, 0, mean(outlines, shapes))) - 1 +
                               static_cast<std::int64_t>(HatchEnd.size());
    const std::int64_t path = bytes(storePathStart(text, false, mean(corners, outlines))) +
                              static_cast<std::int64_t>(PathEnd.size());
    const std::int64_t vertex = bytes(
        storeVertex(text, middle(grid.width(), unitMillimetres.x), middle(grid.height(), unitMillimetres.y)));
    return frame(grid, unitMillimetres).bytes() + DxfFrame::handleDigits(outlines + shapes) +
           outlines * (polyline + path) + shapes * hatch + 2 * corners * vertex;
}
