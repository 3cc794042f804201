#pragma once
// The export dialog's counts of its source pictures: one SelectionCount per source choice and numbering,
// made when first asked for and kept until that picture changes (another surface, new pixels or another
// scale), so that a threshold, polarity or format change is a lookup and never a pass over the picture.

#include "OutputFormat.h"
#include "SelectionCount.h"

#include <cstdint>
#include <memory>

class PreviewCounts {
public:
    const SelectionCount& of(const PictureSurface& source, bool originalResolution, PointNumbering numbering);

private:
    struct Entry {
        const PictureSurface* surface = nullptr;
        qint64 pixels = 0; // the image's cache key, which changes with its content
        float scaleWidth = 0;
        float scaleHeight = 0;
        std::unique_ptr<SelectionCount> count;
    };
    Entry entries_[2][2];
};

// The size of the file an export of `points` points writes: exact for the point-data file (a header
// record and one record per point), a first estimate from the points alone for the other formats.
std::int64_t estimatedFileBytes(OutputFormat format, std::int64_t points, QSize grid);
