#pragma once
// The drawing exchange format with squares: the selected units as filled SOLID rectangles on the layer
// PIXELS of a DxfFrame drawing, upright with the picture's lower-left corner at the origin.

#include "SquaresSink.h"
#include "UnitCoordinates.h"

#include <QSize>

#include <cstdint>

class OutputFile;

class DxfSink final : public SquaresSink {
public:
    DxfSink(OutputFile& file, QSize grid, PixelSides unit);

    // The bytes of the file a sink of this grid writes with `shapes` rectangles: its fixed text and
    // handles exactly, every coordinate taken as long as the one halfway across the drawing.
    static std::int64_t fileBytes(QSize grid, PixelSides unit, std::int64_t shapes);

private:
    void draw(const UnitRectangle& rectangle) override;

    UnitCoordinates coordinates_;
};
