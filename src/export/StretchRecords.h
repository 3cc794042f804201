#pragma once
// The 24-byte point records of a stretch's selected rows: {x, y, grey level} and zero filler, top to
// bottom. A wide version for processors with 512-bit vectors lays out sixteen rows at a time without
// a branch per row.

#include "PointSink.h"

#include <cstddef>

// Records past the stored ones that the functions below may write in `out` (later records, or the
// caller's next stretch, overwrite them), and rows past a stretch's count they may read in its sums.
constexpr std::size_t StretchSlack = 16;

// Stores from `out` on the record of every selected row and returns how many were stored.
using StretchRecordsFunction = std::size_t (*)(char* out, const ColumnStretch& stretch);

std::size_t storeStretchRecordsPortable(char* out, const ColumnStretch& stretch);

// The wide version where this processor runs it, or null.
StretchRecordsFunction wideStretchRecords();

// The fastest version this processor runs.
StretchRecordsFunction stretchRecords();
