#pragma once
// The column walk shared by the pixel runs: before each column the progress display, the cancel
// test, the yield and the column's last row, one column at a time; the pixels of the walked columns
// are handed to the run in strips so that it can visit them row by row.

#include "ConversionSteps.h"

#include <cstdint>
#include <functional>

// Walked columns that share one last row: first, first + step, ... (count of them).
struct WalkedColumns {
    std::int32_t first = 0;
    std::int32_t count = 0;
    std::int32_t lastRow = -1;

    std::int32_t last(std::int32_t step) const { return first + (count - 1) * step; }
};

struct ColumnWalk {
    // Columns x = 0, step, 2 * step, ... while x <= lastColumn (the counter checked for overflow).
    std::int32_t lastColumn = -1;
    std::int32_t step = 1;
    // The width the progress is measured against, read afresh for every column; 0 shows 0 %.
    std::function<double()> progressWidth;
    // The column's last row, read afresh after its yield.
    std::function<std::int32_t()> lastRow;
    // Converts walked columns; called in walking order, never for a column whose steps found a cancel.
    std::function<void(const WalkedColumns&)> convert;
};

// Walks the columns until the last or until a cancel. An error escaping a step leaves after the columns
// before it are converted.
void walkColumns(ConversionSteps& steps, const ColumnWalk& walk);

// Column and row numbers up to this pass exactly as single-precision positions.
inline constexpr int ExactFloatPositions = 1 << 24;
