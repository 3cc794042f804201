#include "PreviewCounts.h"

#include "PointRecord.h"

#include <QString>

const SelectionCount& PreviewCounts::of(const PictureSurface& source, bool originalResolution,
                                        PointNumbering numbering) {
    Entry& entry = entries_[originalResolution ? 1 : 0][numbering == PointNumbering::UnitsFromOne ? 1 : 0];
    const qint64 pixels = source.image().cacheKey();
    if (!entry.count || entry.surface != &source || entry.pixels != pixels ||
        entry.scaleWidth != source.ScaleWidth() || entry.scaleHeight != source.ScaleHeight()) {
        entry.count = std::make_unique<SelectionCount>(source, numbering);
        entry.surface = &source;
        entry.pixels = pixels;
        entry.scaleWidth = source.ScaleWidth();
        entry.scaleHeight = source.ScaleHeight();
    }
    return *entry.count;
}

std::int64_t estimatedFileBytes(OutputFormat format, std::int64_t points, QSize grid) {
    // A line of text per point holds its two coordinates; a drawing's merged shapes cost about a
    // rectangle's text for every few points.
    const std::int64_t coordinates = QString::number(std::max(grid.width() - 1, 0)).size() +
                                     QString::number(std::max(grid.height() - 1, 0)).size();
    switch (format) {
    case OutputFormat::Records:
        return std::int64_t{PointRecord::Length} * (points + 1);
    case OutputFormat::Csv:
        return 9 + points * (coordinates + 6);
    case OutputFormat::Svg:
        return 300 + points * 12;
    case OutputFormat::Dxf:
        return 3000 + points * 40;
    }
    return 0;
}
