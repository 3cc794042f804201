#pragma once
// The selection as one byte per unit, column after column, for labelling and tracing its shapes: a bit
// for the selected units and bits that a tracing or a walk over a shape leaves on the units it has
// passed. Every column has a row of unselected units above it, shared with the row below the column
// before, and unselected columns lie on both sides, so that every unit's eight neighbours can be read
// without asking where the grid ends.

#include <QSize>

#include <cstddef>
#include <cstdint>
#include <vector>

class ShapeGrid {
public:
    static constexpr std::uint8_t Selected = 1;
    // The unit's left edge borders an unselected unit and lies on an outline already traced.
    static constexpr std::uint8_t Traced = 2;
    // A walk over the unit's shape has reached it.
    static constexpr std::uint8_t Reached = 4;
    // The direction (0 to 7, see neighbourOffset) from which a walk reached the unit.
    static constexpr int ParentShift = 3;
    static constexpr std::uint8_t ParentBits = 7 << ParentShift;
    static constexpr std::uint8_t Marks = Traced | Reached | ParentBits;

    // Units past the last column that a read of a whole stretch of rows may reach.
    static constexpr std::size_t WordSlack = 64;

    explicit ShapeGrid(QSize units);

    std::int32_t columns() const { return columns_; }
    std::int32_t rows() const { return rows_; }
    // Units from one column to the next.
    std::ptrdiff_t stride() const { return stride_; }

    // The unit (x, y) for x from -1 to columns() and y from -1 to rows().
    std::size_t at(std::int32_t x, std::int32_t y) const {
        return static_cast<std::size_t>(x + 1) * static_cast<std::size_t>(stride_) +
               static_cast<std::size_t>(y + 1);
    }
    std::int32_t columnOf(std::size_t unit) const {
        return static_cast<std::int32_t>((unit - 1) / static_cast<std::size_t>(stride_)) - 1;
    }
    std::int32_t rowOf(std::size_t unit) const {
        return static_cast<std::int32_t>((unit - 1) % static_cast<std::size_t>(stride_));
    }

    std::uint8_t& operator[](std::size_t unit) { return units_[unit]; }
    std::uint8_t operator[](std::size_t unit) const { return units_[unit]; }
    bool selected(std::size_t unit) const { return (units_[unit] & Selected) != 0; }
    const std::uint8_t* data() const { return units_.data(); }

    // Neighbour `direction` of a unit: 0 below, 1 above, 2 right, 3 left, then the four diagonals.
    std::ptrdiff_t neighbourOffset(int direction) const { return offsets_[direction]; }

    // Takes every mark off, keeping the selection.
    void clearMarks();

    // Walks over the selected units 8-connected to `first` that no walk has reached yet, without a stack
    // of its own: each unit keeps the direction it was reached from. Calls enter(unit) as a unit is
    // reached and leave(unit) once everything reachable from it has been, `first` last; a unit keeps
    // Reached and its direction unless leave changes them.
    template <typename Enter, typename Leave> void walkShape(std::size_t first, Enter&& enter, Leave&& leave);

private:
    std::int32_t columns_;
    std::int32_t rows_;
    std::ptrdiff_t stride_;
    std::ptrdiff_t offsets_[8];
    std::vector<std::uint8_t> units_;
};

template <typename Enter, typename Leave>
void ShapeGrid::walkShape(std::size_t first, Enter&& enter, Leave&& leave) {
    std::size_t unit = first;
    units_[unit] |= Reached;
    enter(unit);
    int next = 0;
    for (;;) {
        while (next < 8) {
            const std::size_t neighbour = unit + static_cast<std::size_t>(offsets_[next]);
            if ((units_[neighbour] & (Selected | Reached)) == Selected) {
                units_[neighbour] = static_cast<std::uint8_t>((units_[neighbour] & ~ParentBits) | Reached |
                                                              (next << ParentShift));
                unit = neighbour;
                enter(unit);
                next = 0;
            } else {
                ++next;
            }
        }
        if (unit == first) {
            leave(unit);
            return;
        }
        const int from = (units_[unit] & ParentBits) >> ParentShift;
        leave(unit);
        unit -= static_cast<std::size_t>(offsets_[from]);
        next = from + 1;
    }
}
