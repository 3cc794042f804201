#include "HistogramLevels.h"

HistogramLevels histogramLevels(const SumHistogram::SumCounts& counts, ExportPolarity polarity,
                                int threshold) {
    const SelectedSums selected = selectedSums(polarity, threshold);
    HistogramLevels levels;
    for (int sum = 0; sum < SumHistogram::SumLevels; ++sum) {
        levels.pixels[sum / 3] += counts[sum];
        levels.written[sum / 3] += selected.contains(sum) ? counts[sum] : 0;
    }
    return levels;
}
