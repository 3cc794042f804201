#include "DxfOutlineWriter.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>
#include <string_view>

using namespace std::string_view_literals;

namespace {

constexpr DxfLayer Layers[] = {{"OUTLINES"sv, 0x11}, {"FILL"sv, 0x18}};
constexpr std::string_view OutlineLayer = Layers[0].name;
constexpr std::string_view FillLayer = Layers[1].name;

DrawingFrame frame(QSize grid, PixelSides unitMillimetres) {
    // A shape has one outer boundary and one hatch, and holds a selected unit; a hole holds an
    // unselected one: no drawing has more entities than twice its units.
    const std::uint64_t cells = static_cast<std::uint64_t>(std::max(grid.width(), 0)) *
                                static_cast<std::uint64_t>(std::max(grid.height(), 0));
    return DxfFrame::frame(grid, unitMillimetres, Layers, 2 * cells);
}

constexpr std::size_t EntityStartBytes = 256;      // an entity's text up to its first vertex, at most
constexpr std::string_view PathEnd = " 97\n0\n"sv; // no source boundary objects
constexpr std::string_view HatchEnd = " 75\n0\n 76\n1\n 98\n0\n"sv; // odd parity, predefined, no seeds

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

// A closed LWPOLYLINE up to its first vertex.
char* storePolylineStart(char* at, std::uint64_t handle, std::int64_t corners) {
    at = storeEntityStart(at, "LWPOLYLINE"sv, handle, OutlineLayer);
    at = put(at, "\n100\nAcDbPolyline\n 90\n"sv);
    at = putInteger(at, corners);
    return put(at, "\n 70\n1\n"sv);
}

// A solid HATCH in the drawing's plane up to its first boundary path.
char* storeHatchStart(char* at, std::uint64_t handle, std::int64_t paths) {
    at = storeEntityStart(at, "HATCH"sv, handle, FillLayer);
    at = put(at, "\n100\nAcDbHatch\n 10\n0\n 20\n0\n 30\n0\n210\n0\n220\n0\n230\n1\n"
                 "  2\nSOLID\n 70\n1\n 71\n0\n 91\n"sv);
    at = putInteger(at, paths);
    return put(at, "\n"sv);
}

// A closed polyline boundary path up to its first vertex: the outer one external.
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

std::int64_t outlineCorners(const Outline& outline) {
    return static_cast<std::int64_t>(outline.corners.size());
}

} // namespace

DxfOutlineWriter::DxfOutlineWriter(OutputFile& file, QSize grid, PixelSides unitMillimetres)
    : OutlineWriter(file, grid, frame(grid, unitMillimetres)), coordinates_(grid, unitMillimetres) {
    // Corners count rows down from the top; the drawing's y goes up from the bottom edge.
    columnSlots_ = lineSlots(coordinates_, &UnitCoordinates::x, grid.width(), -1, '1');
    rowSlots_ = lineSlots(coordinates_, &UnitCoordinates::y, grid.height(), grid.height(), '2');
}

std::vector<char> DxfOutlineWriter::lineSlots(const UnitCoordinates& coordinates, Axis along,
                                              std::int32_t lines, std::int32_t flippedFrom, char axis) {
    static_assert(4 + TextWriter::NumberBytes + 1 < SlotBytes);
    const std::size_t count = static_cast<std::size_t>(std::max(lines, 0)) + 1;
    std::vector<char> texts(count * SlotBytes);
    for (std::size_t n = 0; n < count; ++n) {
        char* const slot = texts.data() + n * SlotBytes;
        const auto line = static_cast<std::int32_t>(n);
        char* at = put(slot, " 10\n"sv);
        slot[1] = axis;
        at = put(at, (coordinates.*along)(flippedFrom < 0 ? line : flippedFrom - line));
        *at++ = '\n';
        slot[SlotBytes - 1] = static_cast<char>(at - slot);
    }
    return texts;
}

void DxfOutlineWriter::drawShape(const TracedShape& shape) {
    for (const Outline& outline : shape.outlines) {
        writer().wrote(
            storePolylineStart(writer().room(EntityStartBytes), handle_++, outlineCorners(outline)));
        writeVertices(outline);
    }
    spool_.put(shape);
}

void DxfOutlineWriter::endShapes(const ShapeSource& source) {
    const auto hatch = [this](const TracedShape& shape) { writeHatch(shape); };
    if (!spool_.kept() || !spool_.forEachShape(hatch)) {
        source.forEachShape(hatch);
    }
}

void DxfOutlineWriter::writeHatch(const TracedShape& shape) {
    writer().wrote(storeHatchStart(writer().room(EntityStartBytes), handle_++,
                                   static_cast<std::int64_t>(shape.outlines.size())));
    for (const Outline& outline : shape.outlines) {
        writer().wrote(
            storePathStart(writer().room(EntityStartBytes), outline.hole, outlineCorners(outline)));
        writeVertices(outline);
        writer().text(PathEnd);
    }
    writer().text(HatchEnd);
}

void DxfOutlineWriter::writeVertices(const Outline& outline) {
    // In batches that fit the writer's window.
    constexpr std::size_t Batch = TextWriter::WindowBytes / (2 * SlotBytes);
    const char* const columns = columnSlots_.data();
    const char* const rows = rowSlots_.data();
    const auto putSlot = [](char* at, const char* slot) {
        std::memcpy(at, slot, SlotBytes);
        return at + static_cast<unsigned char>(slot[SlotBytes - 1]);
    };
    for (auto corner = outline.corners.begin(); corner != outline.corners.end();) {
        const auto end = outline.corners.end() - corner > static_cast<std::ptrdiff_t>(Batch)
                             ? corner + static_cast<std::ptrdiff_t>(Batch)
                             : outline.corners.end();
        char* at = writer().room(Batch * 2 * SlotBytes);
        for (; corner != end; ++corner) {
            at = putSlot(at, columns + static_cast<std::size_t>(corner->x) * SlotBytes);
            at = putSlot(at, rows + static_cast<std::size_t>(corner->y) * SlotBytes);
        }
        writer().wrote(at);
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
