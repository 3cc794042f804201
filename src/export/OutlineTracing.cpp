#include "OutlineTracing.h"

#include "PointSink.h"
#include "ShapeSweep.h"

#include <QtEndian>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define QUILLET_TRACING_SSE2 1
#endif

#include <algorithm>
#include <bit>
#include <iterator>
#include <utility>

namespace {

// Directions of travel, each a right turn from the one before.
constexpr int East = 0;
constexpr int South = 1;
constexpr int West = 2;

// Of `rows` units (up to 64) of a column from `column` on, with the column before from `left` on:
// bit i of `selected` tells whether unit i is selected, bit i of `untraced` whether it is also beside
// an unselected unit on its left and not traced yet. Reads whole words past the last of the rows.
void readColumn(const std::uint8_t* column, const std::uint8_t* left, int rows, std::uint64_t& selected,
                std::uint64_t& untraced) {
    static_assert(ShapeGrid::Selected == 1 && ShapeGrid::Traced == 2);
    selected = 0;
    untraced = 0;
#ifdef QUILLET_TRACING_SSE2
    for (int k = 0; k < rows; k += 16) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(column + k));
        const __m128i lefts = _mm_loadu_si128(reinterpret_cast<const __m128i*>(left + k));
        // Bit 0 of every byte moved to its bit 7, which the mask takes.
        const __m128i starts = _mm_andnot_si128(lefts, _mm_andnot_si128(_mm_srli_epi16(units, 1), units));
        selected |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_slli_epi16(units, 7)))}
                    << k;
        untraced |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_slli_epi16(starts, 7)))}
                    << k;
    }
#else
    for (int k = 0; k < rows; k += 8) {
        const auto units = qFromLittleEndian<std::uint64_t>(column + k);
        const auto lefts = qFromLittleEndian<std::uint64_t>(left + k);
        // Bit 0 of each byte gathered into one byte.
        const auto gathered = [](std::uint64_t bytes) {
            return ((bytes & 0x0101010101010101u) * 0x0102040810204080u) >> 56;
        };
        selected |= gathered(units) << k;
        untraced |= gathered(units & ~(units >> 1) & ~lefts) << k;
    }
#endif
    const std::uint64_t inColumn = rows == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << rows) - 1;
    selected &= inColumn;
    untraced &= inColumn;
}

// Lists that shapes handed on leave behind, taken again for the next ones: most shapes are small, and
// their lists would otherwise cost an allocation each. Large lists go back to the system.
class Spares {
public:
    std::vector<OutlineCorner> corners() { return take(corners_); }
    std::vector<Outline> outlines() { return take(outlines_); }

    // Room to sort a shape's holes in.
    std::vector<std::pair<std::uint64_t, std::size_t>> order;

    void keep(std::vector<Outline>&& outlines) {
        for (Outline& outline : outlines) {
            keep(corners_, std::move(outline.corners));
        }
        keep(outlines_, std::move(outlines));
    }

private:
    static constexpr std::size_t MostKept = 1024;
    static constexpr std::size_t LargestKept = 4096;

    template <typename List> static List take(std::vector<List>& spare) {
        if (spare.empty()) {
            return {};
        }
        List list = std::move(spare.back());
        spare.pop_back();
        return list;
    }
    template <typename List> static void keep(std::vector<List>& spare, List&& list) {
        if (spare.size() < MostKept && list.capacity() != 0 && list.capacity() <= LargestKept) {
            list.clear();
            spare.push_back(std::move(list));
        }
    }

    std::vector<std::vector<OutlineCorner>> corners_;
    std::vector<std::vector<Outline>> outlines_;
};

// The outline through the left edge of `unit`, whose left neighbour is unselected, starting at its
// first corner in column order; marks the left edges it passes as Traced. `units` gets the area it
// encloses, negative for a hole. `corners` is room to trace in.
Outline traceOutline(ShapeGrid& grid, std::size_t unit, std::int64_t& units,
                     std::vector<OutlineCorner>& corners, Spares& spares) {
    // A corner is named by the unit below and right of it. The outline runs down the left sides of its
    // shape's units, so the shape lies on the left as the picture is seen. Arriving at a corner, the two
    // units ahead decide: with the one on the right selected the outline turns right, also where that
    // unit meets the shape only at this corner, which keeps it in the shape; else with the one on the
    // left selected it goes straight on; else it turns left around the shape's corner.
    const std::size_t stride = static_cast<std::size_t>(grid.stride());
    const std::size_t aheadRight[4] = {0, 0 - stride, 0 - stride - 1, 0 - std::size_t{1}};
    std::uint8_t* const bytes = &grid[0];
    const auto selected = [bytes](std::size_t at) { return (bytes[at] & ShapeGrid::Selected) != 0; };

    corners.clear();
    std::size_t first = 0;
    // Twice the area enclosed, by the shoelace formula taken so that an outer boundary's is positive:
    // along a row y a step east adds y, along a column x a step down takes x.
    std::int64_t twice = 0;
    std::int32_t x = grid.columnOf(unit);
    std::int32_t y = grid.rowOf(unit);
    std::size_t corner = unit;
    int direction = South;
    for (;;) {
        // Straight on to the next corner where the outline turns; going down, it marks the left edges it
        // passes, and it ends where it comes back to the first one.
        std::int32_t steps = 0;
        switch (direction) {
        case East:
            do {
                corner += stride;
                ++steps;
            } while (!selected(corner) && selected(corner - 1));
            twice += std::int64_t{y} * steps;
            x += steps;
            break;
        case South:
            do {
                bytes[corner] |= ShapeGrid::Traced;
                ++corner;
                ++steps;
            } while (corner != unit && !selected(corner - stride) && selected(corner));
            twice -= std::int64_t{x} * steps;
            y += steps;
            break;
        case West:
            do {
                corner -= stride;
                ++steps;
            } while (!selected(corner - stride - 1) && selected(corner - stride));
            twice -= std::int64_t{y} * steps;
            x -= steps;
            break;
        default:
            do {
                --corner;
                ++steps;
            } while (!selected(corner - 1) && selected(corner - stride - 1));
            twice += std::int64_t{x} * steps;
            y -= steps;
            break;
        }
        if (corner == unit && direction == South) {
            break;
        }
        if (!corners.empty() && (x < corners[first].x || (x == corners[first].x && y < corners[first].y))) {
            first = corners.size();
        }
        corners.push_back({x, y});
        direction = (direction + (selected(corner + aheadRight[direction]) ? 1 : 3)) % 4;
        if (corner == unit && direction == South) {
            break;
        }
    }
    units = twice / 2;
    Outline outline;
    outline.corners = spares.corners();
    outline.corners.insert(outline.corners.end(), corners.begin() + static_cast<std::ptrdiff_t>(first),
                           corners.end());
    outline.corners.insert(outline.corners.end(), corners.begin(),
                           corners.begin() + static_cast<std::ptrdiff_t>(first));
    return outline;
}

// A shape as the sweep finds its outlines: the outer boundary at the shape's first unit, each hole at
// a unit of the shape whose runs the sweep may join to the rest of it only later.
struct TracedPart {
    TracedShape shape;
    // The shorter list goes over to the longer: a large shape meets many small parts of itself.
    void join(TracedPart&& other) {
        shape.units += other.shape.units;
        std::vector<Outline>& outlines = shape.outlines;
        if (outlines.size() < other.shape.outlines.size()) {
            outlines.swap(other.shape.outlines);
        }
        std::move(other.shape.outlines.begin(), other.shape.outlines.end(), std::back_inserter(outlines));
    }
};

std::uint64_t firstCornerKey(const Outline& outline) {
    const OutlineCorner first = outline.corners.front();
    return std::uint64_t{static_cast<std::uint32_t>(first.x)} << 32 | static_cast<std::uint32_t>(first.y);
}

void handOn(TracedPart&& part, const std::function<void(const TracedShape&)>& shape, ShapeCounts& counts,
            Spares& spares) {
    std::vector<Outline>& outlines = part.shape.outlines;
    const auto outer =
        std::find_if(outlines.begin(), outlines.end(), [](const Outline& o) { return !o.hole; });
    std::rotate(outlines.begin(), outer, outer + 1);
    const auto byFirstCorner = [](const Outline& a, const Outline& b) {
        return firstCornerKey(a) < firstCornerKey(b);
    };
    if (outlines.size() > 2 && !std::is_sorted(outlines.begin() + 1, outlines.end(), byFirstCorner)) {
        // By keys held together: the outlines' corners lie all over the memory.
        std::vector<std::pair<std::uint64_t, std::size_t>>& order = spares.order;
        order.clear();
        for (std::size_t k = 1; k < outlines.size(); ++k) {
            order.emplace_back(firstCornerKey(outlines[k]), k);
        }
        std::sort(order.begin(), order.end());
        std::vector<Outline> sorted = spares.outlines();
        sorted.reserve(outlines.size());
        sorted.push_back(std::move(outlines.front()));
        for (const auto& [key, k] : order) {
            sorted.push_back(std::move(outlines[k]));
        }
        outlines.swap(sorted);
        spares.keep(std::move(sorted));
    }
    ++counts.shapes;
    counts.outlines += static_cast<std::int64_t>(outlines.size());
    for (const Outline& outline : outlines) {
        counts.corners += static_cast<std::int64_t>(outline.corners.size());
    }
    counts.units += part.shape.units;
    shape(part.shape);
    spares.keep(std::move(outlines));
}

} // namespace

ShapeCounts traceShapes(ShapeGrid& grid, const std::function<void(const TracedShape&)>& shape) {
    // Every outline passes the left edge of some unit whose left neighbour is unselected, going down:
    // the first of them not traced yet starts the tracing of its outline, which belongs to the shape of
    // that unit's run. The columns are read 64 rows at a time, as bits.
    ShapeSweep<TracedPart> sweep;
    ShapeCounts counts;
    Spares spares;
    const auto done = [&](TracedPart&& part, const ShapeSweep<TracedPart>::Run&) {
        handOn(std::move(part), shape, counts, spares);
    };
    std::vector<std::int32_t> starts;
    std::vector<OutlineCorner> corners;
    for (std::int32_t x = 0; x < grid.columns(); ++x) {
        const std::size_t top = grid.at(x, 0);
        const std::uint8_t* column = grid.data() + top;
        const std::uint8_t* left = grid.data() + grid.at(x - 1, 0);
        for (std::int32_t first = 0; first < grid.rows(); first += 64) {
            ColumnStretch stretch{x, first, static_cast<std::size_t>(std::min(64, grid.rows() - first))};
            std::uint64_t untraced = 0;
            readColumn(column + first, left + first, static_cast<int>(stretch.count), stretch.selected,
                       untraced);
            forEachSelectedRun(
                stretch, [&](int from, int length) { sweep.addRun(first + from, first + from + length); });
            for (; untraced != 0; untraced &= untraced - 1) {
                starts.push_back(first + std::countr_zero(untraced));
            }
        }
        sweep.joinColumn();
        auto run = sweep.coming().begin();
        for (const std::int32_t y : starts) {
            const std::size_t unit = top + static_cast<std::size_t>(y);
            // An outline traced from above in this column may have passed here already.
            if ((grid[unit] & ShapeGrid::Traced) != 0) {
                continue;
            }
            while (run->bottom <= y) {
                ++run;
            }
            std::int64_t units = 0;
            TracedShape& traced = sweep.partOf(*run).shape;
            if (traced.outlines.capacity() == 0) {
                traced.outlines = spares.outlines();
            }
            traced.outlines.push_back(traceOutline(grid, unit, units, corners, spares));
            traced.outlines.back().hole = units < 0;
            traced.units += units;
        }
        starts.clear();
        sweep.endColumn(done);
    }
    sweep.finish(done);
    return counts;
}
