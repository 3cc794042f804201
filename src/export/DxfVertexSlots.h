#pragma once
// The DXF text of the vertices on a grid's lines, made once per drawing: a vertex's text is two slots,
// " 10\n" x "\n" for its column's line and " 20\n" y "\n" for its row's (y up from the bottom edge), each
// copied whole and followed by its length in the last byte, so that writing a vertex is two fixed-size
// copies however its numbers read.

#include "PixelSize.h"
#include "TextWriter.h"
#include "TracedShape.h"
#include "UnitCoordinates.h"

#include <QSize>

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

class DxfVertexSlots {
public:
    // The lines of `grid` units of `unit`, corners counting rows down from the top.
    DxfVertexSlots(QSize grid, PixelSides unit);

    // Writes the outline's corners as vertices.
    void write(TextWriter& writer, const Outline& outline) const;

private:
    static constexpr std::size_t SlotBytes = 48;
    using Axis = std::string_view (UnitCoordinates::*)(std::int32_t) const;
    static std::vector<char> lineSlots(const UnitCoordinates& coordinates, Axis along, std::int32_t lines,
                                       std::int32_t flippedFrom, char axis);

    std::vector<char> columnSlots_;
    std::vector<char> rowSlots_;
};
