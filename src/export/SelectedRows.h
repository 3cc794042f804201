#pragma once
// The pass/fail decision of the export, for up to 64 rows of a column at a time: a row is selected
// when its channel sum is one the polarity and threshold select (see SelectionRule).

#include "runtime/SelectionRule.h"

#include <cstddef>
#include <cstdint>

// Bit i is set when `selected` contains sums[i] (i below `count`, at most 64); sums may be read on to
// the next multiple of sixteen rows.
std::uint64_t selectedRows(const std::uint16_t* sums, std::size_t count, SelectedSums selected);
