#include "CsvSink.h"

#include "runtime/GreyOfSum.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <string_view>

namespace {

constexpr std::string_view Header = "x,y,grey\n";

// The mean count of decimal digits of the whole numbers 0 to n - 1.
double meanDigits(std::int64_t n) {
    if (n <= 0) {
        return 0.0;
    }
    std::int64_t digits = 0;
    std::int64_t from = 0; // the first number of `count` digits
    for (std::int64_t end = 10, count = 1; from < n; from = end, end *= 10, ++count) {
        digits += count * (std::min(n, end) - from);
    }
    return static_cast<double>(digits) / static_cast<double>(n);
}

} // namespace

CsvSink::CsvSink(OutputFile& file) : writer_(file) {
    writer_.text(Header);
    for (int level = 0; level < 256; ++level) {
        Level& text = levels_[level];
        text.text[0] = ',';
        char* end = std::to_chars(text.text + 1, text.text + sizeof text.text, level).ptr;
        *end++ = '\n';
        text.bytes = static_cast<std::size_t>(end - text.text);
    }
}

void CsvSink::addStretch(const ColumnStretch& stretch) {
    if (stretch.x != columnX_) {
        columnX_ = stretch.x;
        char* end = std::to_chars(column_, column_ + sizeof column_ - 1, stretch.x).ptr;
        *end++ = ',';
        columnBytes_ = static_cast<std::size_t>(end - column_);
    }
    const std::size_t lineBytes = columnBytes_ + TextWriter::NumberBytes + sizeof(Level::text);
    char* at = writer_.room(static_cast<std::size_t>(std::popcount(stretch.selected)) * lineBytes);
    for (std::uint64_t rows = stretch.selected; rows != 0; rows &= rows - 1) {
        const int row = std::countr_zero(rows);
        std::memcpy(at, column_, sizeof column_);
        at += columnBytes_;
        at = std::to_chars(at, at + TextWriter::NumberBytes, stretch.firstY + row).ptr;
        const Level& level = levels_[greyOfSum(stretch.sums[row])];
        std::memcpy(at, level.text, sizeof level.text);
        at += level.bytes;
    }
    writer_.wrote(at);
}

std::int64_t CsvSink::fileBytes(QSize grid, std::int64_t points, std::int64_t greyDigits) {
    // Two commas and the line's end, then the column and row, each as long as the mean over the grid.
    const double coordinates = meanDigits(grid.width()) + meanDigits(grid.height());
    return static_cast<std::int64_t>(Header.size()) + 3 * points + greyDigits +
           std::llround(static_cast<double>(points) * coordinates);
}
