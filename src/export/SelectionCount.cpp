#include "SelectionCount.h"

#include "FixedExportControls.h"

#include <algorithm>

namespace {

// Receives every unit of the source and counts its sum.
class SumCounter : public PointSink {
public:
    explicit SumCounter(SelectionCount::SumCounts& counts) : counts_(counts) {}
    void addStretch(const ColumnStretch& stretch) override {
        for (std::size_t row = 0; row < stretch.count; ++row) {
            ++counts_[stretch.sums[row]];
        }
    }
    void endColumn(std::int32_t) override {}
    void finish() override {}

private:
    SelectionCount::SumCounts& counts_;
};

} // namespace

SelectionCount::SelectionCount(const PictureSurface& source, PointNumbering numbering) {
    // White with a threshold below black selects every unit, so the selection's own walk reads them all.
    FixedExportControls every(ExportPolarity::White, -1);
    SumCounter counter(counts_);
    PointSelection(every, numbering).run(source, counter);
    for (int sum = 0; sum < SumLevels; ++sum) {
        below_[sum + 1] = below_[sum] + counts_[sum];
    }
}

std::int64_t SelectionCount::points(ExportPolarity polarity, int threshold) const {
    // The export compares sum < 3t (black) and sum > 3t (white), see selectedRows.
    const int limit = 3 * threshold;
    switch (polarity) {
    case ExportPolarity::Black:
        return below_[std::clamp(limit, 0, SumLevels)];
    case ExportPolarity::White:
        return below_[SumLevels] - below_[std::clamp(limit + 1, 0, SumLevels)];
    case ExportPolarity::None:
        break;
    }
    return 0;
}

std::optional<int> otsuThreshold(const SelectionCount::SumCounts& counts) {
    double total = 0;
    double totalSum = 0;
    for (int sum = 0; sum < SelectionCount::SumLevels; ++sum) {
        total += static_cast<double>(counts[sum]);
        totalSum += static_cast<double>(counts[sum]) * sum;
    }
    std::optional<int> best;
    double bestVariance = 0;
    double below = 0;
    double belowSum = 0;
    int sum = 0;
    for (int t = 1; t <= 255; ++t) {
        // Class "mean < t" holds the sums below 3t.
        for (; sum < 3 * t; ++sum) {
            below += static_cast<double>(counts[sum]);
            belowSum += static_cast<double>(counts[sum]) * sum;
        }
        const double above = total - below;
        if (below == 0 || above == 0) {
            continue;
        }
        const double difference = belowSum / below - (totalSum - belowSum) / above;
        const double variance = below * above * difference * difference;
        if (variance > bestVariance) {
            bestVariance = variance;
            best = t;
        }
    }
    return best;
}
