#pragma once
// A histogram of the channel sums an export reads from one source picture: how many points the export
// writes, for every threshold and polarity, without writing anything; each question is then a sum.

#include "OutputFormat.h"
#include "PointSelection.h"
#include "runtime/PictureSurface.h"
#include "runtime/SelectionRule.h"

#include <array>
#include <cstdint>
#include <optional>

class SumHistogram {
public:
    // Channel sums run from 0 (black) to 3 · 255 (white).
    static constexpr int SumLevels = SelectedSums::Levels;
    using SumCounts = std::array<std::int64_t, SumLevels>;

    // Counts the sums an export in `numbering` reads from `source`, unit by unit; a read outside the
    // picture counts as white, as the export reads it.
    SumHistogram(const PictureSurface& source, PointNumbering numbering);
    // A count of sums made elsewhere.
    explicit SumHistogram(const SumCounts& counts);

    // The points an export of the source with this polarity and threshold writes.
    std::int64_t points(ExportPolarity polarity, int threshold) const;
    // The decimal digits of the grey levels of those points, all together (the table format's text).
    std::int64_t greyDigits(ExportPolarity polarity, int threshold) const;
    // What the export selects, for the size of its file; the drawing formats' shapes taken as the
    // points, which they never exceed (ColumnRuns gives a closer bound).
    SelectionExtent extent(ExportPolarity polarity, int threshold) const;
    // How many units read each channel sum.
    const SumCounts& sumCounts() const { return counts_; }

private:
    using Below = std::array<std::int64_t, SumLevels + 1>;
    // The part of `below` the polarity and threshold select.
    static std::int64_t selected(const Below& below, ExportPolarity polarity, int threshold);

    SumCounts counts_{};
    // below_[s]: units whose sum is less than s, for s in 0..SumLevels; digitsBelow_ likewise the
    // digits of their grey levels.
    Below below_{};
    Below digitsBelow_{};
};

// The counts of one source in both numberings, made in one pass over its pixels: the point-data file
// reads in one, the other formats in the other, and the dialog may switch between them at any time.
struct SumHistograms {
    const SumHistogram& of(PointNumbering numbering) const {
        return numbering == PointNumbering::UnitsFromOne ? unitsFromOne : pixelsFromZero;
    }

    SumHistogram unitsFromOne;
    SumHistogram pixelsFromZero;
};
SumHistograms sumHistograms(const PictureSurface& source);

// The threshold of Otsu's method over the means (sum / 3) of these counts: the t in 1..255 that
// maximises the between-class variance of "mean < t" and "mean >= t", the smallest such t on a tie;
// none when every counted unit has the same mean (or there are none).
std::optional<int> otsuThreshold(const SumHistogram::SumCounts& counts);
