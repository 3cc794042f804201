#pragma once
// The text of an ASCII DXF drawing (AutoCAD 2000, millimetres) around its entities, from the template
// DxfTemplate.dxf: the header with the extents and the handle seed, the tables with the drawing's
// layers and the active view framing the picture, the blocks, and the objects after the entities.

#include "DrawingFrame.h"
#include "PixelSize.h"

#include <QSize>

#include <cstdint>
#include <span>
#include <string_view>

struct DxfLayer {
    std::string_view name;
    std::uint64_t handle; // below DxfFrame::FirstEntityHandle and none of the template's
};

class DxfFrame {
public:
    // Entities take the handles from here on; the fixed records' lie below.
    static constexpr std::uint64_t FirstEntityHandle = 0x100;

    // The text of a drawing of `grid` units of `unit` on the layer "0" and `layers`, with room in its
    // handles for `entities` entities.
    static DrawingFrame frame(QSize grid, PixelSides unit, std::span<const DxfLayer> layers,
                              std::uint64_t entities);
    // The handle of model space's block record, which owns every entity, as an entity names its owner.
    static std::string_view entityOwner();
    // The digits of the handles of `entities` entities, numbered from FirstEntityHandle on.
    static std::int64_t handleDigits(std::int64_t entities);
};
