#pragma once
// Which pixels an export writes, by channel sum (red + green + blue, 0 to 765): the one statement of
// the rule that the selection, its counts, the preview's marks and the histogram's bars all follow.

#include <algorithm>

enum class ExportPolarity {
    None,  // neither option selected: nothing qualifies
    Black, // mean strictly below the threshold
    White, // mean strictly above the threshold
};

// The channel sums one polarity and threshold select: first <= sum < end. Always a run from black
// (sum 0) or a run to white (sum 765), so a wider run of sums holds a pixel of it exactly when its
// smallest (from black) or its largest sum (to white) does.
struct SelectedSums {
    static constexpr int Levels = 766; // channel sums 0 to 3 · 255

    int first = 0;
    int end = 0;

    constexpr bool contains(int sum) const {
        return static_cast<unsigned>(sum - first) < static_cast<unsigned>(end - first);
    }
    constexpr bool fromBlack() const { return first == 0; }
    bool operator==(const SelectedSums&) const = default;
};

// The rule: for whole numbers the mean sum / 3 lies strictly below t exactly when sum < 3t, strictly
// above it exactly when sum > 3t, so the unrounded mean is compared without division.
constexpr SelectedSums selectedSums(ExportPolarity polarity, int threshold) {
    const int limit = 3 * threshold;
    switch (polarity) {
    case ExportPolarity::Black:
        return {0, std::clamp(limit, 0, SelectedSums::Levels)};
    case ExportPolarity::White:
        return {std::clamp(limit + 1, 0, SelectedSums::Levels), SelectedSums::Levels};
    case ExportPolarity::None:
        break;
    }
    return {};
}

constexpr bool isSelected(ExportPolarity polarity, int threshold, int sum) {
    return selectedSums(polarity, threshold).contains(sum);
}
