#pragma once
// How the export dialog's preview marks the pixels an export writes: the channel sums its selection
// takes, in pure red.

#include "runtime/SumHighlight.h"

#include <optional>

// Pure red: no grey level comes near it, so it stands out on every part of a grey picture.
inline constexpr QRgb SelectionColour = 0xFFFF0000u;

inline std::optional<SumHighlight> selectionMarks(ExportPolarity polarity, int threshold) {
    if (polarity == ExportPolarity::None) {
        return std::nullopt;
    }
    return SumHighlight{selectedSums(polarity, threshold), SelectionColour, nullptr};
}
