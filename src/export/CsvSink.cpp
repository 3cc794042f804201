#include "CsvSink.h"

#include "runtime/GreyOfSum.h"

#include <bit>

CsvSink::CsvSink(RecordFile& file) : writer_(file) {
    writer_.text("x,y,grey\n");
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
