#pragma once
// The point-data file's sink: the header record {width, height, 0}, then a 24-byte record
// {x, y, grey level} for every selected point, each column's records made aside and put in one go.

#include "PointRecord.h"
#include "PointSink.h"
#include "StretchRecords.h"

#include <vector>

class OutputFile;

class RecordSink : public PointSink {
public:
    // Puts the header at once; `rows` is the most rows a column has.
    RecordSink(OutputFile& file, const PointRecord& header, std::size_t rows);

    void addStretch(const ColumnStretch& stretch) override;
    void endColumn(std::int32_t x) override;
    void finish() override {}

private:
    OutputFile& file_;
    const StretchRecordsFunction storeRecords_;
    // One column's records. Made here and copied to the file at once: records stored one by one,
    // overlapping, straight into the file's buffer left its lines modified in this core's cache, and
    // the writer thread then took half as long again to read them.
    std::vector<char> columnRecords_;
    std::size_t kept_ = 0;
};
