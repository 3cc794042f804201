#pragma once
// The vector picture format with outlines, in an SvgFrame picture: every shape's outlines as subpaths
// of one path (an absolute move, then relative steps along the edges, closed), filled black by the
// even-odd rule so that holes stay empty, with crisp edges. A path holds whole shapes only; a large
// picture has SvgReaderBreaks between its paths.

#include "OutlineWriter.h"
#include "PixelSize.h"
#include "SvgShapePaths.h"

#include <QSize>

#include <cstdint>

class OutputFile;

class SvgOutlineWriter final : public OutlineWriter {
public:
    // Corners after which the next shape starts a new path: readers refuse attributes of many
    // megabytes. A shape with more fills a path of its own, as its holes are holes only within it.
    static constexpr std::int64_t PathCorners = 40000;

    // `unitPixels` is the side of a unit in the view box (2 for the half-resolution picture).
    SvgOutlineWriter(OutputFile& file, QSize grid, int unitPixels, PixelSides unitMillimetres);

    // The bytes of a picture of `totals` on this grid: its fixed text and paths exactly, every move
    // halfway across the picture and every step one unit long, half of them back.
    static std::int64_t fileBytes(QSize grid, int unitPixels, PixelSides unitMillimetres,
                                  const OutlineTotals& totals);

private:
    void drawShape(const TracedShape& shape) override;
    void endShapes(const ShapeSource& source) override;
    void writeOutline(const Outline& outline);

    std::int64_t unitPixels_;
    SvgShapePaths paths_;
};
