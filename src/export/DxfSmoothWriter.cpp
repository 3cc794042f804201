#include "DxfSmoothWriter.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string_view>

using namespace std::string_view_literals;

namespace {

constexpr DxfLayer Layers[] = {{"OUTLINES"sv, 0x11}, {"FILL"sv, 0x18}};

DrawingFrame frame(QSize grid, PixelSides unitMillimetres) {
    // A shape has one outer boundary and one hatch, and holds a selected unit; a hole holds an
    // unselected one: no drawing has more entities than twice its units.
    const std::uint64_t cells = static_cast<std::uint64_t>(std::max(grid.width(), 0)) *
                                static_cast<std::uint64_t>(std::max(grid.height(), 0));
    return DxfFrame::frame(grid, unitMillimetres, Layers, 2 * cells);
}

constexpr std::size_t EntityStartBytes = 256; // an entity's text up to its first vertex, at most
constexpr std::size_t VertexBytes = 12 + 2 * TextWriter::NumberBytes;

char* put(char* at, std::string_view text) {
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
}

char* putInteger(char* at, std::int64_t value) {
    return std::to_chars(at, at + TextWriter::NumberBytes, value).ptr;
}

char* storeEntityStart(char* at, std::string_view type, std::uint64_t handle, std::string_view layer) {
    at = put(at, "  0\n"sv);
    at = put(at, type);
    at = put(at, "\n  5\n"sv);
    at = TextWriter::storeHexadecimal(at, handle);
    at = put(at, "\n330\n"sv);
    at = put(at, DxfFrame::entityOwner());
    at = put(at, "\n100\nAcDbEntity\n  8\n"sv);
    return put(at, layer);
}

std::int64_t sizeOf(const std::vector<HalfPoint>& polygon) {
    return static_cast<std::int64_t>(polygon.size());
}

} // namespace

DxfSmoothWriter::DxfSmoothWriter(OutputFile& file, QSize grid, PixelSides unitMillimetres)
    : OutlineWriter(file, grid, frame(grid, unitMillimetres)),
      halves_(grid * 2, PixelSides(unitMillimetres.x / 2, unitMillimetres.y / 2)) {}

void DxfSmoothWriter::drawShape(const TracedShape& shape) {
    for (const std::vector<HalfPoint>& polygon : smoother_.smooth(shape)) {
        char* at =
            storeEntityStart(writer().room(EntityStartBytes), "LWPOLYLINE"sv, handle_++, Layers[0].name);
        at = put(at, "\n100\nAcDbPolyline\n 90\n"sv);
        at = putInteger(at, sizeOf(polygon));
        writer().wrote(put(at, "\n 70\n1\n"sv));
        writeVertices(polygon);
    }
}

void DxfSmoothWriter::endShapes(const ShapeSource& source) {
    source.forEachShape([this](const TracedShape& shape) { writeHatch(shape); });
}

void DxfSmoothWriter::writeHatch(const TracedShape& shape) {
    char* at = storeEntityStart(writer().room(EntityStartBytes), "HATCH"sv, handle_++, Layers[1].name);
    at = put(at, "\n100\nAcDbHatch\n 10\n0\n 20\n0\n 30\n0\n210\n0\n220\n0\n230\n1\n"
                 "  2\nSOLID\n 70\n1\n 71\n0\n 91\n"sv);
    at = putInteger(at, static_cast<std::int64_t>(shape.outlines.size()));
    writer().wrote(put(at, "\n"sv));
    const auto polygons = smoother_.smooth(shape);
    for (std::size_t k = 0; k < polygons.size(); ++k) {
        // A closed polyline boundary path, the outer one external, without source boundary objects.
        at = put(writer().room(EntityStartBytes), shape.outlines[k].hole ? " 92\n2\n"sv : " 92\n3\n"sv);
        at = put(at, " 72\n0\n 73\n1\n 93\n"sv);
        at = putInteger(at, sizeOf(polygons[k]));
        writer().wrote(put(at, "\n"sv));
        writeVertices(polygons[k]);
        writer().text(" 97\n0\n"sv);
    }
    writer().text(" 75\n0\n 76\n1\n 98\n0\n"sv); // odd parity, predefined, no seeds
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
