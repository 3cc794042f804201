#pragma once
// The export dialog's counts of its source pictures, per source choice: made when first asked for and
// kept until that picture changes (another surface, new pixels or another scale), so that a threshold,
// polarity or format change is a lookup and never a pass over the picture.

#include "ColumnRuns.h"
#include "OutputFormat.h"
#include "SumHistogram.h"
#include "convert/ConversionResult.h"

#include <optional>

class PreviewCounts {
public:
    // Both numberings' counts of the source, made in one pass.
    const SumHistograms& of(const PictureSurface& source, ConversionResult choice);
    // What an export of the source in `format` selects; a drawing's shapes bounded by its column runs,
    // made the first time a drawing format asks (a pass about twice the counts').
    SelectionExtent extent(const PictureSurface& source, ConversionResult choice, const FormatEntry& format,
                           ExportPolarity polarity, int threshold);

private:
    struct Entry {
        const PictureSurface* surface = nullptr;
        qint64 pixelsKey = 0; // the image's cache key, which changes with its content
        float scaleWidth = 0;
        float scaleHeight = 0;
        std::optional<SumHistograms> counts;
        std::optional<ColumnRuns> runs;
    };
    Entry& entry(const PictureSurface& source, ConversionResult choice);

    Entry entries_[2];
};
