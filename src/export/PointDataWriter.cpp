#include "PointDataWriter.h"

#include "runtime/Numbers.h"
#include "runtime/RecordFile.h"

#include <algorithm>
#include <cstring>

namespace {

// Columns whose pixels are read together: the picture is stored row by row, and reading it a
// column at a time would touch another memory page for every pixel.
constexpr int BlockColumns = 64;
// Point's -1 outside the picture splits into red = green = blue = 255.
constexpr std::uint16_t OutsideSum = 3 * 255;

int channelSum(QRgb pixel) {
    return static_cast<int>(((pixel >> 16) & 0xFFu) + ((pixel >> 8) & 0xFFu) + (pixel & 0xFFu));
}

// The record with zero filler at `to`.
inline void storeRecord(char* to, std::int32_t x, std::int32_t y, std::int32_t value) {
    if constexpr (std::endian::native == std::endian::little) {
        const std::int32_t fields[6] = {x, y, value, 0, 0, 0};
        std::memcpy(to, fields, sizeof fields);
    } else {
        PointRecord{x, y, value}.storeTo(to);
        std::memset(to + PointRecord::Size, 0, PointDataWriter::RecordLength - PointRecord::Size);
    }
}

// Writes the records of one column: every row whose sum passes `qualifies`. Each record is
// stored and then kept or overwritten, which avoids a hard-to-predict branch per pixel.
template <typename Test>
std::size_t storeColumn(char* out, std::int32_t x, const std::uint16_t* sums, std::size_t rows,
                        Test qualifies) {
    std::size_t kept = 0;
    for (std::size_t row = 0; row < rows; ++row) {
        const int sum = sums[row];
        // The mean sum / 3 rounded to nearest: its fraction is 0, 1/3 or 2/3, never a tie.
        storeRecord(out + kept * PointDataWriter::RecordLength, x, static_cast<std::int32_t>(row + 1),
                    (sum + 1) / 3);
        kept += qualifies(sum) ? 1 : 0;
    }
    return kept;
}

} // namespace

PointDataWriter::PointDataWriter(ExportControls& controls, RecordFile& file)
    : controls_(controls), file_(file) {}

void PointDataWriter::write(PictureSurface source, const PointRecord& header) {
    storeRecord(file_.reserve(1), header.x, header.y, header.value);
    file_.advance(1);

    // The copy cannot change during the export, so its sizes read once stand for the per-column
    // reads of ScaleWidth (for the caption) and ScaleHeight (for the rows).
    const double scaleWidth = source.ScaleWidth();
    const std::int32_t width = toInteger32(scaleWidth);
    const std::int32_t height = toInteger32(source.ScaleHeight());
    rows_.clear();
    for (std::int32_t y = 1; y <= height; ++y) {
        const int row = source.deviceY(static_cast<float>(y));
        rows_.push_back(row >= 0 && row < source.pixelHeight() ? row : -1);
    }
    sums_.resize(static_cast<std::size_t>(BlockColumns) * rows_.size());

    std::vector<int> columns;
    for (std::int64_t first = 1; first <= width; first += BlockColumns) {
        const std::int64_t last = std::min<std::int64_t>(width, first + BlockColumns - 1);
        columns.clear();
        for (std::int64_t x = first; x <= last; ++x) {
            const int column = source.deviceX(static_cast<float>(x));
            columns.push_back(column >= 0 && column < source.pixelWidth() ? column : -1);
        }
        gatherBlock(source, columns);
        for (std::int64_t x = first; x <= last; ++x) {
            controls_.yield();
            const double percent = roundDown(static_cast<double>(x) / scaleWidth * 100.0);
            controls_.showCaption(QStringLiteral("导出图像数据---已经完成") + decimalText(percent) +
                                  QLatin1Char('%'));
            writeColumn(static_cast<std::int32_t>(x), sums_.data() + (x - first) * rows_.size());
        }
    }
}

void PointDataWriter::gatherBlock(const PictureSurface& source, const std::vector<int>& columns) {
    const std::size_t rowCount = rows_.size();
    const QImage& image = source.image();
    for (std::size_t c = 0; c < columns.size(); ++c) {
        if (columns[c] < 0) {
            std::fill_n(sums_.data() + c * rowCount, rowCount, OutsideSum);
        }
    }
    for (std::size_t r = 0; r < rowCount; ++r) {
        const QRgb* line =
            rows_[r] >= 0 ? reinterpret_cast<const QRgb*>(image.constScanLine(rows_[r])) : nullptr;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (columns[c] >= 0) {
                sums_[c * rowCount + r] =
                    static_cast<std::uint16_t>(line ? channelSum(line[columns[c]]) : OutsideSum);
            }
        }
    }
}

void PointDataWriter::writeColumn(std::int32_t x, const std::uint16_t* sums) {
    const ExportPolarity polarity = controls_.polarity();
    if (polarity == ExportPolarity::None || rows_.empty()) {
        return;
    }
    // For whole numbers, sum / 3 < t exactly when sum < 3t (and likewise for >).
    const int limit = 3 * controls_.threshold();
    char* out = file_.reserve(rows_.size());
    const std::size_t kept =
        polarity == ExportPolarity::Black
            ? storeColumn(out, x, sums, rows_.size(), [limit](int sum) { return sum < limit; })
            : storeColumn(out, x, sums, rows_.size(), [limit](int sum) { return sum > limit; });
    file_.advance(kept);
}
