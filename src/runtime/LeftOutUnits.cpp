#include "LeftOutUnits.h"

#include "ChannelSum.h"

LeftOutUnits::LeftOutUnits(QSize grid, int unitPixels)
    : grid_(grid), unitPixels_(unitPixels), words_((static_cast<std::size_t>(grid.width()) + 63) / 64),
      bits_(words_ * static_cast<std::size_t>(grid.height())) {}

void LeftOutUnits::add(int unitX, int unitY) {
    std::uint64_t& word =
        bits_[static_cast<std::size_t>(unitY) * words_ + static_cast<std::size_t>(unitX) / 64];
    const std::uint64_t bit = std::uint64_t{1} << (unitX % 64);
    count_ += (word & bit) == 0 ? 1 : 0;
    word |= bit;
}

void unmarkLeftOutAtFullSize(QImage& marked, QSize size, QPoint storedCorner, const QImage& shown,
                             QPoint shownCorner, const LeftOutUnits& leftOut) {
    const int k = leftOut.unitPixels();
    const QRect stored(storedCorner, size);
    leftOut.forEachWithin(stored.left() / k, stored.top() / k, (stored.right() + k) / k,
                          (stored.bottom() + k) / k, [&](int unitX, int unitY) {
                              const QRect pixels = QRect(unitX * k, unitY * k, k, k).intersected(stored);
                              for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
                                  const QPoint from = QPoint(pixels.left(), y) - storedCorner;
                                  const auto* colours = reinterpret_cast<const QRgb*>(
                                      shown.constScanLine(from.y() + shownCorner.y()));
                                  auto* to = reinterpret_cast<QRgb*>(marked.scanLine(from.y()));
                                  for (int x = from.x(); x < from.x() + pixels.width(); ++x) {
                                      to[x] = colours[x + shownCorner.x()];
                                  }
                              }
                          });
}

namespace {

// The shown pixel whose footprint holds source pixel `at`, where `shown` of `source` pixels are shown:
// footprint i runs from i·source/shown (rounded down) to the next one's start.
int shownPixelOf(int at, int source, int shown) {
    return static_cast<int>((static_cast<std::int64_t>(at + 1) * shown - 1) / source);
}

int footprintStart(int i, int source, int shown) {
    return static_cast<int>(static_cast<std::int64_t>(i) * source / shown);
}

} // namespace

void unmarkLeftOutReduced(QImage& marked, const QRect& area, const QImage& reduced, const QImage& surface,
                          int block, const SelectedSums& sums, QRgb colour, const LeftOutUnits& leftOut) {
    // Source pixels: the picture's units of `block` pixels, each read at its first pixel.
    const QSize source((surface.width() + block - 1) / block, (surface.height() + block - 1) / block);
    const int perUnit = std::max(1, leftOut.unitPixels() / block); // source pixels along a left-out unit
    const int k = leftOut.unitPixels();
    const auto leftOutAt = [&](int x, int y) { return leftOut.contains(x * block / k, y * block / k); };
    const auto keptSelectedIn = [&](int i, int j) {
        const int right = std::max(footprintStart(i + 1, source.width(), reduced.width()),
                                   footprintStart(i, source.width(), reduced.width()) + 1);
        const int bottom = std::max(footprintStart(j + 1, source.height(), reduced.height()),
                                    footprintStart(j, source.height(), reduced.height()) + 1);
        for (int y = footprintStart(j, source.height(), reduced.height()); y < bottom; ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(surface.constScanLine(y * block));
            for (int x = footprintStart(i, source.width(), reduced.width()); x < right; ++x) {
                if (sums.contains(channelSum(row[x * block])) && !leftOutAt(x, y)) {
                    return true;
                }
            }
        }
        return false;
    };
    // The source pixels of the area's footprints, in left-out units.
    const int left = footprintStart(area.left(), source.width(), reduced.width());
    const int top = footprintStart(area.top(), source.height(), reduced.height());
    const int right = footprintStart(area.right() + 1, source.width(), reduced.width());
    const int bottom = footprintStart(area.bottom() + 1, source.height(), reduced.height());
    leftOut.forEachWithin(
        left / perUnit, top / perUnit, (right + perUnit - 1) / perUnit + 1,
        (bottom + perUnit - 1) / perUnit + 1, [&](int unitX, int unitY) {
            for (int y = unitY * perUnit; y < (unitY + 1) * perUnit && y < source.height(); ++y) {
                for (int x = unitX * perUnit; x < (unitX + 1) * perUnit && x < source.width(); ++x) {
                    const QPoint at(shownPixelOf(x, source.width(), reduced.width()),
                                    shownPixelOf(y, source.height(), reduced.height()));
                    if (!area.contains(at)) {
                        continue;
                    }
                    const QPoint inBuffer = at - area.topLeft();
                    auto* pixel = reinterpret_cast<QRgb*>(marked.scanLine(inBuffer.y())) + inBuffer.x();
                    if (*pixel == colour && !keptSelectedIn(at.x(), at.y())) {
                        *pixel = reduced.pixel(at);
                    }
                }
            }
        });
}
