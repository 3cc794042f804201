#pragma once
// The records of one column's run of rows: {x, y, mean grey} for every row whose channel sum lies
// strictly on the polarity's side of the limit. A wide version for processors with 512-bit vectors
// turns sixteen rows at a time into records without a branch per row.

#include "ExportControls.h"

#include <cstddef>
#include <cstdint>

// Rows past `count` that the functions below may read in `sums`, and records past the kept ones
// that they may write in `out` (later records, or the caller's next run, overwrite them).
constexpr std::size_t QualifyingSlack = 16;

// Stores from `out` on, in order, the record of every row i below `count` whose sum passes
// (sums[i] < limit for Black, sums[i] > limit for White): x, firstY + i, (sums[i] + 1) / 3 and
// zero filler, 24 bytes. Returns how many were stored. Sums are at most 765.
using QualifyingRecordsFunction = std::size_t (*)(char* out, std::int32_t x, std::int32_t firstY,
                                                  const std::uint16_t* sums, std::size_t count,
                                                  ExportPolarity polarity, int limit);

std::size_t storeQualifyingRecordsPortable(char* out, std::int32_t x, std::int32_t firstY,
                                           const std::uint16_t* sums, std::size_t count,
                                           ExportPolarity polarity, int limit);

// The wide version where this processor runs it, or null.
QualifyingRecordsFunction wideQualifyingRecords();

// The fastest version this processor runs.
QualifyingRecordsFunction qualifyingRecords();
