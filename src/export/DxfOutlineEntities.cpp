#include "DxfOutlineEntities.h"

#include <algorithm>

using namespace std::string_view_literals;

namespace DxfOutlineEntities {

namespace {

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

} // namespace

DrawingFrame frame(QSize grid, PixelSides unitMillimetres) {
    // A shape has one outer boundary and one hatch, and holds a selected unit; a hole holds an
    // unselected one: no drawing has more entities than twice its units.
    const std::uint64_t cells = static_cast<std::uint64_t>(std::max(grid.width(), 0)) *
                                static_cast<std::uint64_t>(std::max(grid.height(), 0));
    return DxfFrame::frame(grid, unitMillimetres, Layers, 2 * cells);
}

char* storePolylineStart(char* at, std::uint64_t handle, std::int64_t corners) {
    at = storeEntityStart(at, "LWPOLYLINE"sv, handle, Layers[0].name);
    at = put(at, "\n100\nAcDbPolyline\n 90\n"sv);
    at = putInteger(at, corners);
    return put(at, "\n 70\n1\n"sv);
}

char* storeHatchStart(char* at, std::uint64_t handle, std::int64_t paths) {
    at = storeEntityStart(at, "HATCH"sv, handle, Layers[1].name);
    at = put(at, "\n100\nAcDbHatch\n 10\n0\n 20\n0\n 30\n0\n210\n0\n220\n0\n230\n1\n"
                 "  2\nSOLID\n 70\n1\n 71\n0\n 91\n"sv);
    at = putInteger(at, paths);
    return put(at, "\n"sv);
}

char* storePathStart(char* at, bool hole, std::int64_t corners) {
    at = put(at, hole ? " 92\n2\n"sv : " 92\n3\n"sv);
    at = put(at, " 72\n0\n 73\n1\n 93\n"sv);
    at = putInteger(at, corners);
    return put(at, "\n"sv);
}

char* storeVertex(char* at, std::string_view x, std::string_view y) {
    at = put(at, " 10\n"sv);
    at = put(at, x);
    at = put(at, "\n 20\n"sv);
    at = put(at, y);
    return put(at, "\n"sv);
}

void writePolylines(TextWriter& writer, const DxfVertexSlots& vertices, const TracedShape& shape,
                    std::uint64_t& handle) {
    for (const Outline& outline : shape.outlines) {
        writer.wrote(
            storePolylineStart(writer.room(EntityStartBytes), handle++, std::ssize(outline.corners)));
        vertices.write(writer, outline);
    }
}

void writeHatch(TextWriter& writer, const DxfVertexSlots& vertices, const TracedShape& shape,
                std::uint64_t& handle) {
    writer.wrote(storeHatchStart(writer.room(EntityStartBytes), handle++, std::ssize(shape.outlines)));
    for (const Outline& outline : shape.outlines) {
        writer.wrote(
            storePathStart(writer.room(EntityStartBytes), outline.hole, std::ssize(outline.corners)));
        vertices.write(writer, outline);
        writer.text(PathEnd);
    }
    writer.text(HatchEnd);
}

} // namespace DxfOutlineEntities
