#include "DxfVertexSlots.h"

#include <algorithm>
#include <cstring>

DxfVertexSlots::DxfVertexSlots(QSize grid, PixelSides unit) {
    const UnitCoordinates coordinates(grid, unit);
    // Corners count rows down from the top; the drawing's y goes up from the bottom edge.
    columnSlots_ = lineSlots(coordinates, &UnitCoordinates::x, grid.width(), -1, '1');
    rowSlots_ = lineSlots(coordinates, &UnitCoordinates::y, grid.height(), grid.height(), '2');
}

std::vector<char> DxfVertexSlots::lineSlots(const UnitCoordinates& coordinates, Axis along,
                                            std::int32_t lines, std::int32_t flippedFrom, char axis) {
    static_assert(4 + TextWriter::NumberBytes + 1 < SlotBytes);
    const std::size_t count = static_cast<std::size_t>(std::max(lines, 0)) + 1;
    std::vector<char> texts(count * SlotBytes);
    for (std::size_t n = 0; n < count; ++n) {
        char* const slot = texts.data() + n * SlotBytes;
        const auto line = static_cast<std::int32_t>(n);
        const std::string_view number = (coordinates.*along)(flippedFrom < 0 ? line : flippedFrom - line);
        char* at = slot;
        *at++ = ' ';
        *at++ = axis;
        *at++ = '0';
        *at++ = '\n';
        at = std::copy(number.begin(), number.end(), at);
        *at++ = '\n';
        slot[SlotBytes - 1] = static_cast<char>(at - slot);
    }
    return texts;
}

void DxfVertexSlots::write(TextWriter& writer, const Outline& outline) const {
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
        char* at = writer.room(Batch * 2 * SlotBytes);
        for (; corner != end; ++corner) {
            at = putSlot(at, columns + static_cast<std::size_t>(corner->x) * SlotBytes);
            at = putSlot(at, rows + static_cast<std::size_t>(corner->y) * SlotBytes);
        }
        writer.wrote(at);
    }
}
