#pragma once
// The table format: a header line "x,y,grey", then one line per selected unit in the exported order,
// its column and row counted from 0 and its grey level; ASCII with "\n" line ends.

#include "PointSink.h"
#include "TextWriter.h"

#include <cstddef>
#include <cstdint>

class RecordFile;

class CsvSink : public PointSink {
public:
    explicit CsvSink(RecordFile& file);

    void addStretch(const ColumnStretch& stretch) override;
    void endColumn(std::int32_t) override {}
    void finish() override { writer_.flush(); }

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
