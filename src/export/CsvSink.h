#pragma once
// The table format: a header line "x,y,grey", then one line per selected unit in the exported order,
// its column and row counted from 0 and its grey level; ASCII with "\n" line ends.

#include "PointSink.h"
#include "TextWriter.h"

#include <QSize>

#include <cstddef>
#include <cstdint>

class OutputFile;

class CsvSink : public PointSink {
public:
    explicit CsvSink(OutputFile& file);

    void addStretch(const ColumnStretch& stretch) override;
    void endColumn(std::int32_t) override {}
    void finish() override { writer_.flush(); }

    // The bytes of the file of `points` lines whose grey levels take `greyDigits` digits in all: exact
    // but for the columns and rows, each taken as long as the mean over the grid's (points spread evenly).
    static std::int64_t fileBytes(QSize grid, std::int64_t points, std::int64_t greyDigits);

private:
    TextWriter writer_;
    // "x," of the column last written, and ",grey\n" for every level: copied, not formatted, per line.
    std::int32_t columnX_ = -1;
    char column_[TextWriter::NumberBytes] = {};
    std::size_t columnBytes_ = 0;
    struct Level {
        char text[5];
        std::size_t bytes;
    };
    Level levels_[256] = {};
};
