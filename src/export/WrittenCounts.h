#pragma once
// What an export of a picture writes, counted the way the export selects, groups and leaves out, without
// writing: the points, the shapes (a drawing's outlined shapes or merged rectangles), the file's bytes and
// the units the minimum area leaves out, for the marks. A pass over the picture, two where a minimum area
// leaves units out; the preview asks only when the histograms' counts cannot tell.

#include "OutputFormat.h"
#include "ShapeChoice.h"
#include "runtime/LeftOutUnits.h"
#include "runtime/PictureSurface.h"
#include "runtime/SelectionRule.h"

#include <cstdint>
#include <memory>
#include <optional>

struct WrittenCounts {
    std::int64_t points = 0;
    std::optional<std::int64_t> shapes; // for a drawing
    std::int64_t bytes = 0;             // exact for the point-data file, an estimate for the others
    // A drawing of outlines: its outlines and their corners, as its writer counts them.
    std::optional<std::int64_t> outlines;
    std::optional<std::int64_t> corners;
    std::shared_ptr<const LeftOutUnits> leftOut; // none when the minimum area leaves nothing out
};

// Whether only a pass tells what `format` writes with `shapes`: a drawing's shapes, or a minimum area.
bool countsNeedAPass(const FormatEntry& format, ShapeChoice shapes);

// Counts an export of `source` in `format` with `shapes` at this polarity and threshold, a pixel being
// `pixelMillimetres` across and down.
WrittenCounts countWritten(const PictureSurface& source, const FormatEntry& format, ShapeChoice shapes,
                           ExportPolarity polarity, int threshold, PixelSides pixelMillimetres);
