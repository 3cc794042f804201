#include "DxfOutlineWriter.h"

#include "DxfOutlineEntities.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>
#include <string_view>

using namespace std::string_view_literals;

namespace {

using namespace DxfOutlineEntities;

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
