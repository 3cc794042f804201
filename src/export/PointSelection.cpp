#include "PointSelection.h"

#include "ChannelSums.h"
#include "SelectedRows.h"
#include "runtime/Numbers.h"
#include "runtime/Prefetch.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace {

// Columns whose pixels are read together: the picture is stored row by row, and reading it a
// column at a time would touch another memory page for every pixel.
constexpr int BlockColumns = 512;
// Rows whose sums lie together: a block's sums are kept in tiles of this many rows, column after
// column within a tile, so that both the reading (along rows) and the selecting (down columns) stay
// within a few memory pages. A tile is one stretch.
constexpr std::size_t TileRows = ColumnStretch::MaxRows;
// Rows read together: eight rows by eight columns are turned at a time.
constexpr std::size_t GroupRows = 8;
static_assert(TileRows % GroupRows == 0 && TileRows % 16 == 0);
// Point's -1 outside the picture splits into red = green = blue = 255.
constexpr std::uint16_t OutsideSum = 3 * 255;

// Pixels a unit spans along one side: 1, or 2 for the half-resolution picture's user scale.
int pixelsPerUnit(int pixels, float units) {
    return units > 0 ? std::max(1, static_cast<int>(std::lround(pixels / static_cast<double>(units)))) : 1;
}

struct Axis {
    std::int32_t units;
    int step;
};

Axis pixelAxis(int pixels, float scaleUnits) {
    const int step = pixelsPerUnit(pixels, scaleUnits);
    return {(pixels + step - 1) / step, step};
}

} // namespace

PointSelection::PointSelection(ExportControls& controls, PointNumbering numbering)
    : controls_(controls), numbering_(numbering),
      firstUnit_(numbering == PointNumbering::UnitsFromOne ? 1 : 0) {}

QSize PointSelection::unitGrid(const PictureSurface& source, PointNumbering numbering) {
    if (numbering == PointNumbering::UnitsFromOne) {
        return {toInteger32(source.ScaleWidth()), toInteger32(source.ScaleHeight())};
    }
    return {pixelAxis(source.pixelWidth(), source.ScaleWidth()).units,
            pixelAxis(source.pixelHeight(), source.ScaleHeight()).units};
}

int PointSelection::unitSpan(const PictureSurface& source) {
    return pixelAxis(source.pixelWidth(), source.ScaleWidth()).step;
}

UnitReads PointSelection::unitReads(const PictureSurface& source, PointNumbering numbering) {
    const QSize grid = unitGrid(source, numbering);
    const bool fromOne = numbering == PointNumbering::UnitsFromOne;
    const std::int32_t firstUnit = fromOne ? 1 : 0;
    const int columnStep = pixelAxis(source.pixelWidth(), source.ScaleWidth()).step;
    const int rowStep = pixelAxis(source.pixelHeight(), source.ScaleHeight()).step;
    const auto device = [&](std::int64_t unit, bool column) {
        if (!fromOne) {
            return static_cast<int>(unit * (column ? columnStep : rowStep));
        }
        const int at =
            column ? source.deviceX(static_cast<float>(unit)) : source.deviceY(static_cast<float>(unit));
        return at >= 0 && at < (column ? source.pixelWidth() : source.pixelHeight()) ? at : -1;
    };
    UnitReads reads;
    reads.columns.reserve(static_cast<std::size_t>(std::max(grid.width(), 0)));
    reads.rows.reserve(static_cast<std::size_t>(std::max(grid.height(), 0)));
    for (std::int64_t x = firstUnit; x < firstUnit + std::int64_t{grid.width()}; ++x) {
        reads.columns.push_back(device(x, true));
    }
    for (std::int64_t y = firstUnit; y < firstUnit + std::int64_t{grid.height()}; ++y) {
        reads.rows.push_back(device(y, false));
    }
    return reads;
}

std::int64_t PointSelection::run(PictureSurface source, PointSink& sink) {
    // The copy cannot change during the export, so its sizes read once stand for the per-column
    // reads of ScaleWidth (for the progress) and ScaleHeight (for the rows).
    const bool fromOne = numbering_ == PointNumbering::UnitsFromOne;
    const double progressWidth = fromOne ? source.ScaleWidth() : unitGrid(source, numbering_).width();
    UnitReads reads = unitReads(source, numbering_);
    rows_ = std::move(reads.rows);
    const std::span<const int> columns(reads.columns);
    tiles_ = (rows_.size() + TileRows - 1) / TileRows;
    blockColumns_ = std::min(columns.size(), static_cast<std::size_t>(BlockColumns));
    sums_.resize(tiles_ * blockColumns_ * TileRows);

    std::int64_t selected = 0;
    for (std::size_t first = 0; first < columns.size(); first += BlockColumns) {
        const std::size_t count = std::min(columns.size() - first, static_cast<std::size_t>(BlockColumns));
        gatherBlock(source, columns.subspan(first, count));
        for (std::size_t c = 0; c < count; ++c) {
            const std::int64_t x = firstUnit_ + static_cast<std::int64_t>(first + c);
            controls_.yield();
            const double done = static_cast<double>(first + c + 1);
            controls_.showProgress(roundDown(done / progressWidth * 100.0));
            selected += selectColumn(static_cast<std::int32_t>(x), c, sink);
        }
    }
    sink.finish();
    return selected;
}

std::uint16_t* PointSelection::tileSums(std::size_t tile, std::size_t column) {
    return sums_.data() + (tile * blockColumns_ + column) * TileRows;
}

void PointSelection::gatherBlock(const PictureSurface& source, std::span<const int> columns) {
    const std::size_t rowCount = rows_.size();
    const std::size_t columnCount = columns.size();
    const auto first = std::find_if(columns.begin(), columns.end(), [](int column) { return column >= 0; });
    // Outside columns read a real pixel here and are overwritten below, keeping the loops free of tests.
    std::vector<int> reads(columns.begin(), columns.end());
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
                prefetchForRead(ahead + *lowest, 4 * static_cast<std::size_t>(*highest - *lowest + 1));
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

std::int64_t PointSelection::selectColumn(std::int32_t x, std::size_t column, PointSink& sink) {
    const SelectedSums passing = selectedSums(controls_.polarity(), controls_.threshold());
    std::int64_t selected = 0;
    if (passing.first < passing.end) {
        for (std::size_t tile = 0; tile < tiles_; ++tile) {
            // A column's tiles lie a block's width apart, too far for the processor to fetch ahead by itself.
            if (column + 2 < blockColumns_) {
                prefetchForRead(tileSums(tile, column + 2), TileRows * sizeof(std::uint16_t));
            }
            ColumnStretch stretch;
            stretch.x = x;
            stretch.firstY = static_cast<std::int32_t>(tile * TileRows) + firstUnit_;
            stretch.count = std::min(TileRows, rows_.size() - tile * TileRows);
            stretch.sums = tileSums(tile, column);
            stretch.selected = selectedRows(stretch.sums, stretch.count, passing);
            if (stretch.selected != 0) {
                selected += std::popcount(stretch.selected);
                sink.addStretch(stretch);
            }
        }
    }
    sink.endColumn(x);
    return selected;
}
