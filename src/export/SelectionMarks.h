#pragma once
// How the export dialog's preview marks the pixels an export writes: the channel sums its selection
// takes (black data: sum < 3t, white data: sum > 3t, as the selection compares them), in pure red.

#include "ExportControls.h"
#include "runtime/SumHighlight.h"

#include <optional>

// Pure red: no grey level comes near it, so it stands out on every part of a grey picture.
inline constexpr QRgb SelectionColour = 0xFFFF0000u;

inline std::optional<SumHighlight> selectionMarks(ExportPolarity polarity, int threshold) {
    switch (polarity) {
    case ExportPolarity::Black:
        return SumHighlight{SumHighlight::Side::Below, 3 * threshold, SelectionColour};
    case ExportPolarity::White:
        return SumHighlight{SumHighlight::Side::Above, 3 * threshold, SelectionColour};
    case ExportPolarity::None:
        break;
    }
    return std::nullopt;
}
