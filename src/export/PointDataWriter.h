#pragma once
// The point-data writer: a header record, then one record {x, y, grey level} for every unit of the
// picture whose mean grey lies strictly on the chosen side of the threshold, column by column.

#include "ExportControls.h"
#include "PointRecord.h"
#include "QualifyingRecords.h"
#include "runtime/PictureSurface.h"

#include <cstdint>
#include <vector>

class RecordFile;

class PointDataWriter {
public:
    static constexpr int RecordLength = 24;

    PointDataWriter(ExportControls& controls, RecordFile& file);

    // Writes `header`, then the records of `source`: units (x, y) from (1, 1) to its ScaleWidth
    // and ScaleHeight rounded, read as Point(x, y) would read them, an outside read counting as
    // white. The surface is the writer's own copy (the picture as it was when the export began),
    // so the picture window may change or close while the export yields.
    void write(PictureSurface source, const PointRecord& header);

private:
    void gatherBlock(const PictureSurface& source, const std::vector<int>& columns);
    void writeColumn(std::int32_t x, std::size_t column);
    std::uint16_t* tileSums(std::size_t tile, std::size_t column);

    ExportControls& controls_;
    RecordFile& file_;
    const QualifyingRecordsFunction storeRecords_;
    // Device row of each unit row 1..H, or -1 where the read lies outside the picture.
    std::vector<int> rows_;
    // Channel sums (r + g + b) of one block of columns, in tiles of rows.
    std::vector<std::uint16_t> sums_;
    // One column's records, made here and copied to the file at once.
    std::vector<char> columnRecords_;
    std::size_t tiles_ = 0;
    std::size_t blockColumns_ = 0;
};
