#include "PointDataWriter.h"

#include "ChannelSums.h"
#include "runtime/Numbers.h"
#include "runtime/RecordFile.h"

#include <algorithm>
#include <cstring>

namespace {

// Columns whose pixels are read together: the picture is stored row by row, and reading it a
// column at a time would touch another memory page for every pixel.
constexpr int BlockColumns = 512;
// Rows whose sums lie together: a block's sums are kept in tiles of this many rows, column after
// column within a tile, so that both the reading (along rows) and the writing of records (down
// columns) stay within a few memory pages.
constexpr std::size_t TileRows = 64;
// Rows read together: eight rows by eight columns are turned at a time.
constexpr std::size_t GroupRows = 8;
static_assert(TileRows % GroupRows == 0);
// A tile's last run of rows may be read on to the next multiple of the slack.
static_assert(TileRows % QualifyingSlack == 0);
// Point's -1 outside the picture splits into red = green = blue = 255.
constexpr std::uint16_t OutsideSum = 3 * 255;

// Asks for the cache lines holding the `bytes` from `first` on.
void prefetch(const void* first, std::size_t bytes) {
#if defined(__GNUC__)
    for (std::size_t at = 0; at < bytes; at += 64) {
        __builtin_prefetch(static_cast<const char*>(first) + at);
    }
#else
    (void)first, (void)bytes;
#endif
}

} // namespace

PointDataWriter::PointDataWriter(ExportControls& controls, RecordFile& file)
    : controls_(controls), file_(file), storeRecords_(qualifyingRecords()) {}

void PointDataWriter::write(PictureSurface source, const PointRecord& header) {
    char headerFields[PointRecord::Size];
    header.storeTo(headerFields);
    file_.Put(headerFields, PointRecord::Size);

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
    tiles_ = (rows_.size() + TileRows - 1) / TileRows;
    blockColumns_ = static_cast<std::size_t>(std::clamp<std::int32_t>(width, 0, BlockColumns));
    sums_.resize(tiles_ * blockColumns_ * TileRows);
    columnRecords_.resize((rows_.size() + QualifyingSlack) * RecordLength);

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
            writeColumn(static_cast<std::int32_t>(x), static_cast<std::size_t>(x - first));
        }
    }
}

std::uint16_t* PointDataWriter::tileSums(std::size_t tile, std::size_t column) {
    return sums_.data() + (tile * blockColumns_ + column) * TileRows;
}

void PointDataWriter::gatherBlock(const PictureSurface& source, const std::vector<int>& columns) {
    const std::size_t rowCount = rows_.size();
    const std::size_t columnCount = columns.size();
    const auto first = std::find_if(columns.begin(), columns.end(), [](int column) { return column >= 0; });
    // Outside columns read a real pixel here and are overwritten below, keeping the loops free of tests.
    std::vector<int> reads(columns);
    std::replace_if(
        reads.begin(), reads.end(), [](int column) { return column < 0; },
        first == columns.end() ? 0 : *first);
    // Where eight columns read eight neighbouring pixels, the eight-by-eight turn applies.
    std::vector<std::size_t> run(columnCount + 1, 0);
    for (std::size_t c = columnCount; c-- > 0;) {
        run[c] = c + 1 < columnCount && reads[c + 1] == reads[c] + 1 ? run[c + 1] + 1 : 1;
    }
    const auto [lowest, highest] = std::minmax_element(reads.begin(), reads.end());
    const QImage& image = source.image();
    const auto line = [&](std::size_t r) {
        return rows_[r] >= 0 && first != columns.end()
                   ? reinterpret_cast<const QRgb*>(image.constScanLine(rows_[r]))
                   : nullptr;
    };
    for (std::size_t r0 = 0; r0 < rowCount; r0 += GroupRows) {
        const std::size_t count = std::min(GroupRows, rowCount - r0);
        const QRgb* lines[GroupRows] = {};
        for (std::size_t k = 0; k < count; ++k) {
            lines[k] = line(r0 + k);
        }
        const bool whole =
            std::all_of(lines, lines + GroupRows, [](const QRgb* at) { return at != nullptr; });
        // Every row lies on another memory page, which the processor does not fetch ahead by itself.
        for (std::size_t r = r0 + GroupRows; r < std::min(rowCount, r0 + 2 * GroupRows); ++r) {
            if (const QRgb* ahead = line(r)) {
                prefetch(ahead + *lowest, 4 * static_cast<std::size_t>(*highest - *lowest + 1));
            }
        }
        std::uint16_t* const out = tileSums(r0 / TileRows, 0) + r0 % TileRows;
        for (std::size_t c = 0; c < columnCount;) {
            if (whole && run[c] >= 8) {
                storeChannelSums8x8(lines, reads[c], out + c * TileRows, TileRows);
                c += 8;
                continue;
            }
            for (std::size_t k = 0; k < count; ++k) {
                out[c * TileRows + k] =
                    static_cast<std::uint16_t>(lines[k] ? channelSum(lines[k][reads[c]]) : OutsideSum);
            }
            ++c;
        }
    }
    for (std::size_t c = 0; c < columnCount; ++c) {
        if (columns[c] < 0) {
            for (std::size_t tile = 0; tile < tiles_; ++tile) {
                std::fill_n(tileSums(tile, c), TileRows, OutsideSum);
            }
        }
    }
}

void PointDataWriter::writeColumn(std::int32_t x, std::size_t column) {
    const ExportPolarity polarity = controls_.polarity();
    if (polarity == ExportPolarity::None || rows_.empty()) {
        return;
    }
    // For whole numbers, sum / 3 < t exactly when sum < 3t (and likewise for >).
    const int limit = 3 * controls_.threshold();
    std::size_t kept = 0;
    for (std::size_t tile = 0; tile < tiles_; ++tile) {
        // A column's tiles lie a block's width apart, too far for the processor to fetch ahead by itself.
        if (column + 2 < blockColumns_) {
            prefetch(tileSums(tile, column + 2), TileRows * sizeof(std::uint16_t));
        }
        const std::size_t count = std::min(TileRows, rows_.size() - tile * TileRows);
        kept += storeRecords_(columnRecords_.data() + kept * RecordLength, x,
                              static_cast<std::int32_t>(tile * TileRows + 1), tileSums(tile, column), count,
                              polarity, limit);
    }
    // Made aside and copied in one go: records stored one by one, overlapping, straight into the
    // file's buffer left its lines modified in this core's cache, and the writer thread then took
    // half as long again to read them.
    std::memcpy(file_.reserve(kept), columnRecords_.data(), kept * RecordLength);
    file_.advance(kept);
}
