#include "ColumnRuns.h"

#include "ChannelSums.h"
#include "PointSelection.h"

#include <algorithm>
#include <vector>

namespace {

enum Tally { Units, Lighter, Darker };

// Counts each unit's sum and, from the second row on, the larger and the smaller sum of it and the
// unit above it; `pixel(line, c)` reads column c's pixel of a row.
template <typename Pixel>
void countColumnPairs(const QImage& image, const UnitReads& reads,
                      std::array<SelectionCount::SumCounts, 3>& counts, Pixel pixel) {
    std::vector<std::uint16_t> above(reads.columns.size());
    bool first = true;
    for (const int row : reads.rows) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(row));
        for (std::size_t c = 0; c < above.size(); ++c) {
            const auto sum = static_cast<std::uint16_t>(channelSum(pixel(line, c)));
            ++counts[Units][sum];
            if (!first) {
                ++counts[Lighter][std::max(sum, above[c])];
                ++counts[Darker][std::min(sum, above[c])];
            }
            above[c] = sum;
        }
        first = false;
    }
}

std::array<SelectionCount::SumCounts, 3> columnPairs(const PictureSurface& source) {
    std::array<SelectionCount::SumCounts, 3> counts{};
    const UnitReads reads = PointSelection::unitReads(source, PointNumbering::PixelsFromZero);
    const std::vector<int>& columns = reads.columns;
    if (!columns.empty() && columns.back() - columns.front() + 1 == static_cast<int>(columns.size())) {
        // The picture's own pixels, read without the list.
        countColumnPairs(
            source.image(), reads, counts,
            [first = columns.front()](const QRgb* line, std::size_t c) { return line[first + c]; });
    } else {
        countColumnPairs(source.image(), reads, counts,
                         [&columns](const QRgb* line, std::size_t c) { return line[columns[c]]; });
    }
    return counts;
}

} // namespace

ColumnRuns::ColumnRuns(const PictureSurface& source) : ColumnRuns(columnPairs(source)) {}

ColumnRuns::ColumnRuns(const std::array<SelectionCount::SumCounts, 3>& counts)
    : units_(counts[Units]), lighter_(counts[Lighter]), darker_(counts[Darker]) {}

std::int64_t ColumnRuns::runs(ExportPolarity polarity, int threshold) const {
    const SelectionCount& bothSelected = polarity == ExportPolarity::White ? darker_ : lighter_;
    return units_.points(polarity, threshold) - bothSelected.points(polarity, threshold);
}
