#pragma once
// The histogram the export dialog draws over its ramp: the source's pixels per grey level (channel sum
// / 3, rounded down) and, of them, those an export with a polarity and threshold writes. A level holds
// three sums, so an export may write part of a level; of a grey picture (sum 3 · level) all or none.

#include "SumHistogram.h"

#include <array>
#include <cstdint>

struct HistogramLevels {
    static constexpr int Levels = 256;

    std::array<std::int64_t, Levels> pixels{};
    std::array<std::int64_t, Levels> written{};

    bool operator==(const HistogramLevels&) const = default;
};

HistogramLevels histogramLevels(const SumHistogram::SumCounts& counts, ExportPolarity polarity,
                                int threshold);
