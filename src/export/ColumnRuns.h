#pragma once
// The runs of selected units down the columns of a drawing (DXF, SVG), for every threshold and polarity,
// without writing anything: the rectangles a drawing has before runs of the same rows in neighbouring
// columns merge, so never fewer than its shapes and never more than its points. As the shapes of a
// SelectionExtent they bring a drawing's stated size close to the file's (points would overstate it
// a hundredfold for a picture of areas). A pass over the picture, about twice a SumHistogram's.

#include "SumHistogram.h"
#include "runtime/PictureSurface.h"
#include "runtime/SelectionRule.h"

#include <array>
#include <cstdint>

class ColumnRuns {
public:
    // Reads `source` once, in the drawing formats' numbering.
    explicit ColumnRuns(const PictureSurface& source);

    std::int64_t runs(ExportPolarity polarity, int threshold) const;

private:
    // A run starts at every selected unit but those whose unit above is selected too. A run of sums from
    // black holds both of two units exactly when it holds the lighter (larger sum), a run to white when
    // it holds the darker.
    explicit ColumnRuns(const std::array<SumHistogram::SumCounts, 3>& counts);

    SumHistogram units_;   // every unit's sum
    SumHistogram lighter_; // of every unit and the unit above it, the larger sum
    SumHistogram darker_;  // the smaller
};
