#pragma once
// The entity text the outline drawings share, in a DxfFrame drawing: each shape's outlines as closed
// LWPOLYLINEs on the OUTLINES layer, and its solid HATCH on FILL, bounded by the same vertex lists.

#include "DrawingFrame.h"
#include "DxfFrame.h"
#include "DxfVertexSlots.h"
#include "PixelSize.h"
#include "TextWriter.h"
#include "TracedShape.h"

#include <QSize>

#include <charconv>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace DxfOutlineEntities {

inline constexpr DxfLayer Layers[] = {{"OUTLINES", 0x11}, {"FILL", 0x18}};

inline constexpr std::size_t EntityStartBytes = 256;    // an entity's text up to its first vertex, at most
inline constexpr std::string_view PathEnd = " 97\n0\n"; // no source boundary objects
inline constexpr std::string_view HatchEnd = " 75\n0\n 76\n1\n 98\n0\n"; // odd parity, predefined, no seeds

// The frame of a drawing of `grid` units of `unitMillimetres` with these layers.
DrawingFrame frame(QSize grid, PixelSides unitMillimetres);

inline char* put(char* at, std::string_view text) {
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
}

inline char* putInteger(char* at, std::int64_t value) {
    return std::to_chars(at, at + TextWriter::NumberBytes, value).ptr;
}

// A closed LWPOLYLINE up to its first vertex.
char* storePolylineStart(char* at, std::uint64_t handle, std::int64_t corners);
// A solid HATCH in the drawing's plane up to its first boundary path.
char* storeHatchStart(char* at, std::uint64_t handle, std::int64_t paths);
// A closed polyline boundary path up to its first vertex: the outer one external.
char* storePathStart(char* at, bool hole, std::int64_t corners);
char* storeVertex(char* at, std::string_view x, std::string_view y);

// The shape's outlines as closed LWPOLYLINEs, and its solid HATCH bounded by them; `handle` is the next
// entity's.
void writePolylines(TextWriter& writer, const DxfVertexSlots& vertices, const TracedShape& shape,
                    std::uint64_t& handle);
void writeHatch(TextWriter& writer, const DxfVertexSlots& vertices, const TracedShape& shape,
                std::uint64_t& handle);

} // namespace DxfOutlineEntities
