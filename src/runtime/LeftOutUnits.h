#pragma once
// Units a highlight leaves unmarked although their channel sums are selected: the small shapes an export's
// minimum area leaves out. One bit per unit of unitPixels x unitPixels stored pixels, rows of whole words.

#include "SelectionRule.h"

#include <QImage>
#include <QSize>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

class LeftOutUnits {
public:
    LeftOutUnits(QSize grid, int unitPixels);

    void add(int unitX, int unitY);
    bool contains(int unitX, int unitY) const { return (row(unitY)[unitX / 64] >> (unitX % 64) & 1) != 0; }
    bool empty() const { return count_ == 0; }
    std::int64_t count() const { return count_; }
    int unitPixels() const { return unitPixels_; }

    // Calls `unit(x, y)` for every unit left out within columns [left, right) and rows [top, bottom).
    template <typename Unit> void forEachWithin(int left, int top, int right, int bottom, Unit&& unit) const {
        left = std::max(left, 0);
        top = std::max(top, 0);
        right = std::min(right, grid_.width());
        bottom = std::min(bottom, grid_.height());
        for (int y = top; y < bottom; ++y) {
            const std::uint64_t* words = row(y);
            for (int word = left / 64; word * 64 < right; ++word) {
                for (std::uint64_t bits = words[word]; bits != 0; bits &= bits - 1) {
                    const int x = word * 64 + std::countr_zero(bits);
                    if (x >= left && x < right) {
                        unit(x, y);
                    }
                }
            }
        }
    }

private:
    const std::uint64_t* row(int unitY) const {
        return bits_.data() + static_cast<std::size_t>(unitY) * words_;
    }

    QSize grid_;
    int unitPixels_;
    std::size_t words_;
    std::vector<std::uint64_t> bits_;
    std::int64_t count_ = 0;
};

// Paints back, in `marked` (a highlight's painting of `size` stored pixels from `storedCorner` on), the
// pixels of left-out units in their colours in `shown` (the same pixels unmarked, from `shownCorner` on).
void unmarkLeftOutAtFullSize(QImage& marked, QSize size, QPoint storedCorner, const QImage& shown,
                             QPoint shownCorner, const LeftOutUnits& leftOut);

// The same below 100 %: `marked` holds `area` of the reduced copy `reduced` of `surface`, whose shown pixels
// stand for footprints of its units of `block` pixels (1: of its pixels). A shown pixel marked because of
// left-out units only is painted back; one whose footprint also holds a kept selected unit stays marked.
void unmarkLeftOutReduced(QImage& marked, const QRect& area, const QImage& reduced, const QImage& surface,
                          int block, const SelectedSums& sums, QRgb colour, const LeftOutUnits& leftOut);
