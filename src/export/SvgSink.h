#pragma once
// The vector picture format with squares: the selected units filled black as paths of merged
// rectangles in an SvgFrame picture, drawn with crisp edges so that no hairline shows between
// neighbours; a large picture has SvgReaderBreaks between its paths.

#include "PixelSize.h"
#include "SquaresSink.h"
#include "SvgReaderBreaks.h"

#include <QSize>

#include <cstdint>

class OutputFile;

class SvgSink final : public SquaresSink {
public:
    // Rectangles one path holds at most: readers refuse attributes of many megabytes.
    static constexpr int PathRectangles = 10000;

    // `unitPixels` is the side of a unit in the view box (2 for the half-resolution picture).
    SvgSink(OutputFile& file, QSize grid, int unitPixels, PixelSides unitMillimetres);

    // The bytes of the file a sink of this grid writes with `shapes` rectangles: its fixed text and
    // paths exactly, every rectangle taken as one unit wide and high, halfway across the drawing, and
    // the breaks that many bytes of paths get, about.
    static std::int64_t fileBytes(QSize grid, int unitPixels, PixelSides unitMillimetres,
                                  std::int64_t shapes);

private:
    void draw(const UnitRectangle& rectangle) override;
    void endShapes() override;

    int unitPixels_;
    int inPath_ = 0; // rectangles in the path being written
    SvgReaderBreaks breaks_;
};
