#pragma once
// The column walk shared by the pixel runs: before each column the progress display, the cancel
// test, the yield and the column's last row, one column at a time; the pixels of the walked columns
// are handed to the run in blocks so that it can visit them row by row.

#include "ConversionSteps.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

// One walked column: its number and the last row that its steps read.
struct WalkedColumn {
    std::int32_t x = 0;
    std::int32_t lastRow = -1;
};

struct ColumnWalk {
    QString captionPrefix;
    // Columns x = 0, step, 2 * step, ... while x <= lastColumn (the counter checked for overflow).
    std::int32_t lastColumn = -1;
    std::int32_t step = 1;
    // The width the progress is measured against, read afresh for every column; 0 shows 0 %.
    std::function<double()> progressWidth;
    // The column's last row, read afresh after its yield.
    std::function<std::int32_t()> lastRow;
    // Converts walked columns, in walking order; never called for a column whose steps found a cancel.
    std::function<void(std::span<const WalkedColumn>)> convert;
};

// Columns whose pixels are converted together (a strip of a few hundred bytes of every row).
inline constexpr std::size_t WalkBlockColumns = 128;

// Walks the columns, then closes the dialog and clears the cancel flag. An error escaping a step
// leaves after the columns before it are converted, without the closing steps.
void walkColumns(ConversionSteps& steps, const ColumnWalk& walk);

// Column and row numbers up to this pass exactly as single-precision positions.
inline constexpr int ExactFloatPositions = 1 << 24;

// Calls visit(first, count) for each run of consecutive columns that share one last row.
template <typename Visit> void forEachRowRun(std::span<const WalkedColumn> columns, Visit&& visit) {
    std::size_t first = 0;
    while (first < columns.size()) {
        std::size_t end = first + 1;
        while (end < columns.size() && columns[end].lastRow == columns[first].lastRow) {
            ++end;
        }
        visit(columns.subspan(first, end - first));
        first = end;
    }
}
