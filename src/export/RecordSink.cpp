#include "RecordSink.h"

#include "runtime/OutputFile.h"

#include <cstring>

RecordSink::RecordSink(OutputFile& file, const PointRecord& header, std::size_t rows)
    : file_(file), storeRecords_(stretchRecords()),
      columnRecords_((rows + StretchSlack) * PointRecord::Length) {
    char fields[PointRecord::Size];
    header.storeTo(fields);
    file_.Put(fields, PointRecord::Size);
}

void RecordSink::addStretch(const ColumnStretch& stretch) {
    kept_ += storeRecords_(columnRecords_.data() + kept_ * PointRecord::Length, stretch);
}

void RecordSink::endColumn(std::int32_t) {
    if (kept_ != 0) {
        std::memcpy(file_.reserve(kept_), columnRecords_.data(), kept_ * PointRecord::Length);
        file_.advance(kept_);
        kept_ = 0;
    }
}
