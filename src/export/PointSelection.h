#pragma once
// The points an export writes: walks a picture column by column, each column top to bottom, with the
// dialog's per-column steps (yield, progress, polarity and threshold read anew), and hands the
// selected rows of every column to a sink. It knows nothing of file formats.

#include "ExportControls.h"
#include "PointSink.h"
#include "runtime/PictureSurface.h"

#include <QSize>

#include <cstdint>
#include <span>
#include <vector>

enum class PointNumbering {
    // Units (1, 1) to ScaleWidth and ScaleHeight rounded, read as Point reads them: the point-data
    // file's numbering, in which a read outside the picture counts as white.
    UnitsFromOne,
    // The picture's real units from (0, 0): unit (i, j) is the pixel (k·i, k·j), where a unit spans
    // k x k pixels (k = 2 for the half-resolution picture), for every unit that holds a real pixel.
    PixelsFromZero,
};

// The device pixel every unit reads, -1 where the read lies outside the picture (and counts as white).
struct UnitReads {
    std::vector<int> columns; // of the unit columns, in order
    std::vector<int> rows;    // of the unit rows, in order
};

class PointSelection {
public:
    PointSelection(ExportControls& controls, PointNumbering numbering);

    // Columns and rows of units that `source` has in this numbering.
    static QSize unitGrid(const PictureSurface& source, PointNumbering numbering);
    // Pixels one unit spans along each side in PixelsFromZero: 1, or 2 for a half-resolution picture.
    static int unitSpan(const PictureSurface& source);
    // The pixels the units of `source` read in this numbering: what the export reads, column by
    // column and row by row, and what a count of its points must read.
    static UnitReads unitReads(const PictureSurface& source, PointNumbering numbering);

    // Hands every selected point of `source` to `sink` and returns how many there were. The surface
    // is the selection's own copy (the picture as it was when the export began), so the picture
    // window may change or close while the export yields.
    std::int64_t run(PictureSurface source, PointSink& sink);

private:
    void gatherBlock(const PictureSurface& source, std::span<const int> columns);
    std::int64_t selectColumn(std::int32_t x, std::size_t column, PointSink& sink);
    std::uint16_t* tileSums(std::size_t tile, std::size_t column);

    ExportControls& controls_;
    PointNumbering numbering_;
    std::int32_t firstUnit_ = 1;
    // Device row of each unit row, or -1 where the read lies outside the picture.
    std::vector<int> rows_;
    // Channel sums (r + g + b) of one block of columns, in tiles of rows.
    std::vector<std::uint16_t> sums_;
    std::size_t tiles_ = 0;
    std::size_t blockColumns_ = 0;
};
