#pragma once
// The vector picture format with smooth outlines (OutlineSmoother.h), in an SvgFrame picture: every
// shape's polygons as subpaths of one path (an absolute move, then relative straight steps, closed),
// filled black by the even-odd rule so that holes stay empty, antialiased as slanted edges want. A path
// holds whole shapes only; a large picture has SvgReaderBreaks between its paths.

#include "OutlineSmoother.h"
#include "OutlineWriter.h"
#include "PixelSize.h"
#include "SvgShapePaths.h"

#include <QSize>

#include <cstdint>

class OutputFile;

class SvgSmoothWriter final : public OutlineWriter {
public:
    // Vertices after which the next shape starts a new path: readers refuse attributes of many
    // megabytes. A shape with more fills a path of its own, as its holes are holes only within it.
    static constexpr std::int64_t PathVertices = 40000;

    // `unitPixels` is the side of a unit in the view box (2 for the half-resolution picture).
    SvgSmoothWriter(OutputFile& file, QSize grid, int unitPixels, PixelSides unitMillimetres);

private:
    void drawShape(const TracedShape& shape) override;
    void endShapes(const ShapeSource& source) override;
    void writePolygon(const std::vector<HalfPoint>& polygon);

    OutlineSmoother smoother_;
    std::int64_t unitPixels_; // a unit's side in the view box
    SvgShapePaths paths_;
};
