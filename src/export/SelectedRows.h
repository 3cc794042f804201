#pragma once
// The pass/fail decision of the export, for up to 64 rows of a column at a time: a row is selected
// when its mean grey lies strictly on the polarity's side of the threshold.

#include "ExportControls.h"

#include <cstddef>
#include <cstdint>

// Bit i is set when sums[i] (i below `count`, at most 64) passes; sums may be read on to the next
// multiple of sixteen rows: sums[i] < limit for Black,
// sums[i] > limit for White, none for None. With limit = 3 * threshold this compares the unrounded
// mean sum / 3 with the threshold exactly.
std::uint64_t selectedRows(const std::uint16_t* sums, std::size_t count, ExportPolarity polarity, int limit);
