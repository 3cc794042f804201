#include "SumHistogram.h"

#include "ChannelSums.h"
#include "SumTally.h"
#include "runtime/GreyOfSum.h"

#include <algorithm>
#include <span>
#include <vector>

namespace {

// A count is made for one numbering or for both at once.
constexpr std::size_t MostNumberings = 2;
using Weights = std::array<std::int64_t, MostNumberings>;
constexpr int OutsideSum = SumHistogram::SumLevels - 1;
static_assert(SumTally::Levels == SumHistogram::SumLevels);

// One axis of the picture as the numberings read it: each device pixel is read by some units of each
// numbering (a unit of a fine scale may read a pixel its neighbour reads too); pixels read alike form a
// class, so a pixel's sum is counted once and weighed per numbering afterwards.
struct AxisReads {
    std::vector<Weights> classWeights;
    std::vector<std::vector<int>> classPixels; // ascending
    Weights units{};                           // along this axis, per numbering
    Weights inside{};                          // of them, those reading a real pixel
};

AxisReads axisReads(std::span<const std::vector<int>* const> reads, int pixels) {
    std::vector<Weights> weights(static_cast<std::size_t>(std::max(pixels, 0)));
    AxisReads axis;
    for (std::size_t n = 0; n < reads.size(); ++n) {
        axis.units[n] = static_cast<std::int64_t>(reads[n]->size());
        for (const int at : *reads[n]) {
            if (at >= 0) {
                ++weights[static_cast<std::size_t>(at)][n];
                ++axis.inside[n];
            }
        }
    }
    for (int pixel = 0; pixel < pixels; ++pixel) {
        const Weights& weight = weights[static_cast<std::size_t>(pixel)];
        if (weight == Weights{}) {
            continue;
        }
        const auto known = std::find(axis.classWeights.begin(), axis.classWeights.end(), weight);
        const auto index = static_cast<std::size_t>(known - axis.classWeights.begin());
        if (known == axis.classWeights.end()) {
            axis.classWeights.push_back(weight);
            axis.classPixels.emplace_back();
        }
        axis.classPixels[index].push_back(pixel);
    }
    return axis;
}

// Tallies the sums of line[c] for every c of `columns`, ascending.
void tallyLine(SumTally& tally, const QRgb* line, std::span<const int> columns) {
    if (columns.empty()) {
        return;
    }
    // Most classes are one run of neighbouring pixels, read without the list.
    if (columns.back() - columns.front() + 1 == static_cast<int>(columns.size())) {
        tally.addPixels(line + columns.front(), columns.size());
    } else {
        tally.add(columns.size(),
                  [line, at = columns.data()](std::size_t c) { return channelSum(line[at[c]]); });
    }
}

// The sums the units of each numbering read from `source`, one pass over the pixels they read.
std::vector<SumHistogram::SumCounts> countedSums(const PictureSurface& source,
                                                 std::span<const PointNumbering> numberings) {
    std::vector<UnitReads> reads;
    std::vector<const std::vector<int>*> columnReads;
    std::vector<const std::vector<int>*> rowReads;
    for (const PointNumbering numbering : numberings) {
        reads.push_back(PointSelection::unitReads(source, numbering));
    }
    for (const UnitReads& read : reads) {
        columnReads.push_back(&read.columns);
        rowReads.push_back(&read.rows);
    }
    const AxisReads columns = axisReads(columnReads, source.pixelWidth());
    const AxisReads rows = axisReads(rowReads, source.pixelHeight());

    const std::size_t columnClasses = columns.classWeights.size();
    std::vector<SumTally> tallies(rows.classWeights.size() * columnClasses);
    const QImage& image = source.image();
    for (std::size_t rowClass = 0; rowClass < rows.classWeights.size(); ++rowClass) {
        for (const int row : rows.classPixels[rowClass]) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(row));
            for (std::size_t columnClass = 0; columnClass < columnClasses; ++columnClass) {
                tallyLine(tallies[rowClass * columnClasses + columnClass], line,
                          columns.classPixels[columnClass]);
            }
        }
    }

    std::vector<SumHistogram::SumCounts> counts(numberings.size());
    for (std::size_t n = 0; n < numberings.size(); ++n) {
        for (std::size_t rowClass = 0; rowClass < rows.classWeights.size(); ++rowClass) {
            for (std::size_t columnClass = 0; columnClass < columnClasses; ++columnClass) {
                const std::int64_t weight =
                    rows.classWeights[rowClass][n] * columns.classWeights[columnClass][n];
                if (weight == 0) {
                    continue;
                }
                const auto& tally = tallies[rowClass * columnClasses + columnClass].total();
                for (int sum = 0; sum < SumHistogram::SumLevels; ++sum) {
                    counts[n][sum] += weight * tally[sum];
                }
            }
        }
        // A unit whose column or row lies outside the picture reads white.
        counts[n][OutsideSum] += rows.units[n] * columns.units[n] - rows.inside[n] * columns.inside[n];
    }
    return counts;
}

__extension__ using Wide = unsigned __int128;

// d² / q held exactly, as a whole part and a remainder, for comparing the variances of two splits.
class Separation {
public:
    Separation() = default;
    Separation(std::int64_t d, std::uint64_t q)
        : whole_(square(d) / q), remainder_(static_cast<std::uint64_t>(square(d) % q)), denominator_(q) {}
    // Remainders and denominators stay below 2^53, so their cross products fit in 128 bits.
    bool operator<(const Separation& other) const {
        return whole_ != other.whole_
                   ? whole_ < other.whole_
                   : Wide{remainder_} * other.denominator_ < Wide{other.remainder_} * denominator_;
    }

private:
    static Wide square(std::int64_t d) {
        const Wide magnitude = d < 0 ? Wide{0} - static_cast<Wide>(d) : static_cast<Wide>(d);
        return magnitude * magnitude;
    }
    Wide whole_ = 0;
    std::uint64_t remainder_ = 0;
    std::uint64_t denominator_ = 1;
};

} // namespace

SumHistogram::SumHistogram(const PictureSurface& source, PointNumbering numbering)
    : SumHistogram(countedSums(source, std::span(&numbering, 1)).front()) {}

SumHistogram::SumHistogram(const SumCounts& counts) : counts_(counts) {
    for (int sum = 0; sum < SumLevels; ++sum) {
        const int grey = static_cast<int>(greyOfSum(static_cast<std::uint32_t>(sum)));
        const int digits = grey < 10 ? 1 : grey < 100 ? 2 : 3;
        below_[sum + 1] = below_[sum] + counts_[sum];
        digitsBelow_[sum + 1] = digitsBelow_[sum] + digits * counts_[sum];
    }
}

SumHistograms sumHistograms(const PictureSurface& source) {
    constexpr PointNumbering Both[] = {PointNumbering::UnitsFromOne, PointNumbering::PixelsFromZero};
    const auto counts = countedSums(source, Both);
    return {SumHistogram(counts[0]), SumHistogram(counts[1])};
}

std::int64_t SumHistogram::points(ExportPolarity polarity, int threshold) const {
    return selected(below_, polarity, threshold);
}

std::int64_t SumHistogram::greyDigits(ExportPolarity polarity, int threshold) const {
    return selected(digitsBelow_, polarity, threshold);
}

SelectionExtent SumHistogram::extent(ExportPolarity polarity, int threshold) const {
    const std::int64_t selectedPoints = points(polarity, threshold);
    return {selectedPoints, selectedPoints, greyDigits(polarity, threshold)};
}

std::int64_t SumHistogram::selected(const Below& below, ExportPolarity polarity, int threshold) {
    const SelectedSums sums = selectedSums(polarity, threshold);
    return below[sums.end] - below[sums.first];
}

std::optional<int> otsuThreshold(const SumHistogram::SumCounts& counts) {
    std::int64_t total = 0;
    std::int64_t totalSum = 0;
    for (int sum = 0; sum < SumHistogram::SumLevels; ++sum) {
        total += counts[sum];
        totalSum += counts[sum] * sum;
    }
    // The variance of a split, times the square of all units, is d² / (below · above) with
    // d = belowSum · total - below · totalSum: whole numbers that fit in 64 bits (d² in 128) up to this
    // many units, so that equal variances compare equal and the smallest t wins. Beyond it, long double.
    constexpr std::int64_t ExactUnits = 100'000'000;
    std::optional<int> best;
    Separation bestSeparation;
    long double bestVariance = 0;
    std::int64_t below = 0;
    std::int64_t belowSum = 0;
    int sum = 0;
    for (int t = 1; t <= 255; ++t) {
        // Class "mean < t" holds the sums black data at t selects.
        for (; sum < selectedSums(ExportPolarity::Black, t).end; ++sum) {
            below += counts[sum];
            belowSum += counts[sum] * sum;
        }
        const std::int64_t above = total - below;
        if (below == 0 || above == 0) {
            continue;
        }
        if (total <= ExactUnits) {
            const std::int64_t difference = belowSum * total - below * totalSum;
            const Separation separation(difference, static_cast<std::uint64_t>(below) *
                                                        static_cast<std::uint64_t>(above));
            if (!best || bestSeparation < separation) {
                bestSeparation = separation;
                best = t;
            }
        } else {
            const long double difference =
                static_cast<long double>(belowSum) * static_cast<long double>(total) -
                static_cast<long double>(below) * static_cast<long double>(totalSum);
            const long double variance =
                difference * difference / (static_cast<long double>(below) * static_cast<long double>(above));
            if (!best || variance > bestVariance) {
                bestVariance = variance;
                best = t;
            }
        }
    }
    return best;
}
