#pragma once
// The selection as bits, one per unit, column after column, for labelling and tracing its shapes, and
// a second plane of bits in which a tracing marks where it has passed. A column's bits lie in whole
// words with a word of unselected rows above and below, and unselected columns lie on both sides, so
// that every unit's eight neighbours can be read without asking where the grid ends. An eighth of a
// byte per unit keeps the columns a long outline crosses close together in the processor's caches.

#include <QSize>

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

class ShapeGrid {
public:
    explicit ShapeGrid(QSize units);

    std::int32_t columns() const { return columns_; }
    std::int32_t rows() const { return rows_; }

    // Selects the units of column x whose bits are set in `bits`, from row firstY on.
    void select(std::int32_t x, std::int32_t firstY, std::uint64_t bits) {
        orBits(selected_, x, firstY, bits);
    }
    // Unselects rows top to past bottom of column x.
    void unselect(std::int32_t x, std::int32_t top, std::int32_t bottom);

    // For x from -1 to columns() and y from -1 to rows().
    bool selected(std::int32_t x, std::int32_t y) const { return (bitsFrom(selected_, x, y) & 1) != 0; }
    // Bit 0: unit (x, y - 1) selected; bit 1: unit (x, y) selected.
    unsigned aboveAndAt(std::int32_t x, std::int32_t y) const {
        return static_cast<unsigned>(bitsFrom(selected_, x, y - 1) & 3);
    }
    // The 64 rows of column x from row `first` on, a multiple of 64.
    std::uint64_t selectedWord(std::int32_t x, std::int32_t first) const { return selected_[word(x, first)]; }
    // Of column x from row y on: the units (up to 57 of them) with bit 0 for row y.
    std::uint64_t selectedFrom(std::int32_t x, std::int32_t y) const { return bitsFrom(selected_, x, y); }

    // The unit begins a run of left edges that border unselected units, and an outline already traced
    // has passed it.
    bool traced(std::int32_t x, std::int32_t y) const { return (bitsFrom(traced_, x, y) & 1) != 0; }
    void markTraced(std::int32_t x, std::int32_t y) {
        traced_[word(x, y)] |= std::uint64_t{1} << ((y + Above) & 63);
    }
    // Takes every tracing mark off, keeping the selection.
    void clearMarks();

    // Calls run(top, bottom) for every run of selected units of column x that meets the rows top to
    // past bottom, top to bottom, whole (it may start above `top` and end below `bottom`).
    template <typename Run>
    void forEachRunMeeting(std::int32_t x, std::int32_t top, std::int32_t bottom, Run&& run) const;

private:
    // Row y of a column is bit y + 64 of its words: the word above holds row -1.
    static constexpr std::int32_t Above = 64;

    std::size_t word(std::int32_t x, std::int32_t y) const {
        return static_cast<std::size_t>(x + 1) * wordsPerColumn_ + static_cast<std::size_t>((y + Above) >> 6);
    }
    // The bits of column x from row y on, bit 0 for row y; at least 57 of them are real.
    std::uint64_t bitsFrom(const std::vector<std::uint64_t>& plane, std::int32_t x, std::int32_t y) const {
        const std::size_t bit =
            static_cast<std::size_t>(x + 1) * wordsPerColumn_ * 64 + static_cast<std::size_t>(y + Above);
        std::uint64_t bits;
        std::memcpy(&bits, reinterpret_cast<const unsigned char*>(plane.data()) + bit / 8, sizeof bits);
        return bits >> (bit % 8);
    }
    void orBits(std::vector<std::uint64_t>& plane, std::int32_t x, std::int32_t firstY, std::uint64_t bits);

    std::int32_t columns_;
    std::int32_t rows_;
    std::size_t wordsPerColumn_;
    std::vector<std::uint64_t> selected_;
    std::vector<std::uint64_t> traced_;
};

template <typename Run>
void ShapeGrid::forEachRunMeeting(std::int32_t x, std::int32_t top, std::int32_t bottom, Run&& run) const {
    std::int32_t y = top;
    // Back to the start of a run that the first row lies in.
    while (selected(x, y) && selected(x, y - 1)) {
        --y;
    }
    while (y < bottom) {
        const std::uint64_t bits = selectedFrom(x, y) & ((std::uint64_t{1} << 56) - 1);
        if (bits == 0) {
            y += 56;
            continue;
        }
        y += std::countr_zero(bits);
        if (y >= bottom) {
            return;
        }
        std::int32_t end = y;
        while (std::countr_one(selectedFrom(x, end)) >= 56) {
            end += 56;
        }
        end += std::countr_one(selectedFrom(x, end));
        run(y, end);
        y = end;
    }
}
