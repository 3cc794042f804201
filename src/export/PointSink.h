#pragma once
// Where a point selection hands the points it selects, one sink per file format: stretches of up to
// 64 rows of one column, columns left to right and each column top to bottom, the exported order.

#include <bit>
#include <cstddef>
#include <cstdint>

// Rows of one column from `firstY` on. Bit i of `selected` tells whether row firstY + i is selected;
// sums[i] is that row's channel sum (red + green + blue; greyOfSum gives its grey level). A stretch
// reaches its sink only when at least one of its rows is selected.
struct ColumnStretch {
    static constexpr std::size_t MaxRows = 64;

    std::int32_t x = 0;
    std::int32_t firstY = 0;
    std::size_t count = 0;
    std::uint64_t selected = 0;
    const std::uint16_t* sums = nullptr;
};

class PointSink {
public:
    virtual ~PointSink() = default;
    virtual void addStretch(const ColumnStretch& stretch) = 0;
    // Column x is complete (also when none of its rows was selected).
    virtual void endColumn(std::int32_t x) = 0;
    // Every column has been handed over.
    virtual void finish() = 0;
    // Filled shapes drawn, for formats that draw the points as shapes.
    virtual std::int64_t shapeCount() const { return 0; }
};

// Calls run(firstRow, rows) for every run of consecutive selected rows of the stretch, top to bottom;
// firstRow counts from the stretch's first row.
template <typename Run> void forEachSelectedRun(const ColumnStretch& stretch, Run&& run) {
    std::uint64_t rows = stretch.selected;
    while (rows != 0) {
        const int first = std::countr_zero(rows);
        const int length = std::countr_one(rows >> first);
        run(first, length);
        rows = first + length >= 64 ? 0 : rows & (~std::uint64_t{0} << (first + length));
    }
}
