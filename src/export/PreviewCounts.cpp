#include "PreviewCounts.h"

PreviewCounts::Entry& PreviewCounts::entry(const PictureSurface& source, ConversionResult choice) {
    Entry& entry = entries_[choice == ConversionResult::Grey ? 0 : 1];
    const qint64 pixelsKey = source.image().cacheKey();
    if (entry.surface != &source || entry.pixelsKey != pixelsKey || entry.scaleWidth != source.ScaleWidth() ||
        entry.scaleHeight != source.ScaleHeight()) {
        entry = {&source, pixelsKey, source.ScaleWidth(), source.ScaleHeight(), std::nullopt, std::nullopt};
    }
    return entry;
}

const SumHistograms& PreviewCounts::of(const PictureSurface& source, ConversionResult choice) {
    Entry& found = entry(source, choice);
    if (!found.counts) {
        found.counts.emplace(sumHistograms(source));
    }
    return *found.counts;
}

SelectionExtent PreviewCounts::extent(const PictureSurface& source, ConversionResult choice,
                                      const FormatEntry& format, ExportPolarity polarity, int threshold) {
    SelectionExtent extent = of(source, choice).of(format.numbering).extent(polarity, threshold);
    if (format.drawing) {
        Entry& found = entry(source, choice);
        if (!found.runs) {
            found.runs.emplace(source);
        }
        extent.shapes = found.runs->runs(polarity, threshold);
    }
    return extent;
}
