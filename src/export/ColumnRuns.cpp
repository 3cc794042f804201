#include "ColumnRuns.h"

#include "ChannelSums.h"
#include "PointSelection.h"
#include "SumTally.h"

#include <algorithm>
#include <vector>

namespace {

enum Tally { Units, Lighter, Darker };

// Counts each unit's sum and, from the second row on, the larger and the smaller sum of it and the
// unit above it; `pixel(line, c)` reads column c's pixel of a row. A row's sums are made first, in a
// loop of their own, and counted after.
template <typename Pixel>
std::array<SumHistogram::SumCounts, 3> countColumnPairs(const QImage& image, const UnitReads& reads,
                                                        Pixel pixel) {
    const std::size_t columns = reads.columns.size();
    std::vector<std::uint16_t> above(columns);
    std::vector<std::uint16_t> sums(columns);
    std::array<SumTally, 3> tallies;
    for (std::size_t r = 0; r < reads.rows.size(); ++r) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(reads.rows[r]));
        std::uint16_t* const now = sums.data();
        const std::uint16_t* const before = above.data();
        for (std::size_t c = 0; c < columns; ++c) {
            now[c] = static_cast<std::uint16_t>(channelSum(pixel(line, c)));
        }
        tallies[Units].add(columns, [now](std::size_t c) { return now[c]; });
        if (r > 0) {
            tallies[Lighter].add(columns,
                                 [now, before](std::size_t c) { return std::max(now[c], before[c]); });
            tallies[Darker].add(columns,
                                [now, before](std::size_t c) { return std::min(now[c], before[c]); });
        }
        above.swap(sums);
    }
    return {tallies[Units].total(), tallies[Lighter].total(), tallies[Darker].total()};
}

std::array<SumHistogram::SumCounts, 3> columnPairs(const PictureSurface& source) {
    const UnitReads reads = PointSelection::unitReads(source, PointNumbering::PixelsFromZero);
    const std::vector<int>& columns = reads.columns;
    if (!columns.empty() && columns.back() - columns.front() + 1 == static_cast<int>(columns.size())) {
        // The picture's own pixels, read without the list.
        return countColumnPairs(
            source.image(), reads,
            [first = columns.front()](const QRgb* line, std::size_t c) { return line[first + c]; });
    }
    return countColumnPairs(source.image(), reads,
                            [&columns](const QRgb* line, std::size_t c) { return line[columns[c]]; });
}

} // namespace

ColumnRuns::ColumnRuns(const PictureSurface& source) : ColumnRuns(columnPairs(source)) {}

ColumnRuns::ColumnRuns(const std::array<SumHistogram::SumCounts, 3>& counts)
    : units_(counts[Units]), lighter_(counts[Lighter]), darker_(counts[Darker]) {}

std::int64_t ColumnRuns::runs(ExportPolarity polarity, int threshold) const {
    const SumHistogram& bothSelected = selectedSums(polarity, threshold).fromBlack() ? lighter_ : darker_;
    return units_.points(polarity, threshold) - bothSelected.points(polarity, threshold);
}
