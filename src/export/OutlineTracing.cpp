#include "OutlineTracing.h"

#include "PointSink.h"
#include "ShapeSweep.h"

#include <algorithm>
#include <bit>
#include <iterator>
#include <utility>

namespace {

// Directions of travel, each a right turn from the one before.
constexpr int East = 0;
constexpr int South = 1;
constexpr int West = 2;

// Lists that shapes handed on leave behind, taken again for the next ones: most shapes are small, and
// their lists would otherwise cost an allocation each. What is kept is bounded by its bytes.
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
    static constexpr std::size_t MostBytesKept = 8u << 20;

    template <typename List> List take(std::vector<List>& spare) {
        if (spare.empty()) {
            return {};
        }
        List list = std::move(spare.back());
        spare.pop_back();
        bytesKept_ -= list.capacity() * sizeof(typename List::value_type);
        return list;
    }
    template <typename List> void keep(std::vector<List>& spare, List&& list) {
        const std::size_t bytes = list.capacity() * sizeof(typename List::value_type);
        if (bytes != 0 && bytesKept_ + bytes <= MostBytesKept) {
            list.clear();
            spare.push_back(std::move(list));
            bytesKept_ += bytes;
        }
    }

    std::vector<std::vector<OutlineCorner>> corners_;
    std::vector<std::vector<Outline>> outlines_;
    std::size_t bytesKept_ = 0;
};

// The outline through the left edge of unit (x, y), whose left neighbour is unselected, starting at its
// first corner in column order; marks the units whose left edges it passes as traced. `units` gets the
// area it encloses, negative for a hole. `corners` is room to trace in.
Outline traceOutline(ShapeGrid& grid, const std::int32_t startX, const std::int32_t startY,
                     std::int64_t& units, std::vector<OutlineCorner>& corners, Spares& spares) {
    // A corner (x, y) is the upper left one of unit (x, y). The outline runs down the left sides of its
    // shape's units, so the shape lies on the left as the picture is seen. Arriving at a corner, the two
    // units ahead decide: with the one on the right selected the outline turns right, also where that
    // unit meets the shape only at this corner, which keeps it in the shape; else with the one on the
    // left selected it goes straight on; else it turns left around the shape's corner.
    constexpr unsigned AboveOnly = 1;
    constexpr unsigned AtOnly = 2;
    constexpr std::uint64_t Bits = (std::uint64_t{1} << 56) - 1;
    corners.clear();
    std::size_t first = 0;
    // Twice the area enclosed, by the shoelace formula taken so that an outer boundary's is positive:
    // along a row y a step east adds y, along a column x a step down takes x.
    std::int64_t twice = 0;
    std::int32_t x = startX;
    std::int32_t y = startY;
    int direction = South;
    for (;;) {
        // Straight on to the next corner where the outline turns; going down, it marks the units it
        // passes, and it ends where it comes back to the first one.
        std::int32_t steps = 0;
        switch (direction) {
        case East:
            do {
                ++x;
                ++steps;
            } while (grid.aboveAndAt(x, y) == AboveOnly);
            twice += std::int64_t{y} * steps;
            break;
        case South: {
            // A word of the column at a time: the units selected with their left neighbours not.
            const std::int32_t top = y++;
            for (;;) {
                const std::uint64_t edges = grid.selectedFrom(x, y) & ~grid.selectedFrom(x - 1, y) & Bits;
                const int down = std::countr_one(edges);
                y += down;
                if (down < 56) {
                    break;
                }
            }
            if (x == startX && top < startY) {
                y = std::min(y, startY);
            }
            grid.markTraced(x, top, y);
            twice -= std::int64_t{x} * (y - top);
            break;
        }
        case West:
            do {
                --x;
                ++steps;
            } while (grid.aboveAndAt(x - 1, y) == AtOnly);
            twice -= std::int64_t{y} * steps;
            break;
        default:
            do {
                --y;
                ++steps;
            } while (!grid.selected(x, y - 1) && grid.selected(x - 1, y - 1));
            twice += std::int64_t{x} * steps;
            break;
        }
        if (x == startX && y == startY && direction == South) {
            break;
        }
        if (!corners.empty() && (x < corners[first].x || (x == corners[first].x && y < corners[first].y))) {
            first = corners.size();
        }
        corners.push_back({x, y});
        const bool rightAhead = direction == East    ? grid.selected(x, y)
                                : direction == South ? grid.selected(x - 1, y)
                                : direction == West  ? grid.selected(x - 1, y - 1)
                                                     : grid.selected(x, y - 1);
        direction = (direction + (rightAhead ? 1 : 3)) % 4;
        if (x == startX && y == startY && direction == South) {
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
        for (std::int32_t first = 0; first < grid.rows(); first += 64) {
            const ColumnStretch stretch{x, first, static_cast<std::size_t>(std::min(64, grid.rows() - first)),
                                        grid.selectedWord(x, first)};
            forEachSelectedRun(
                stretch, [&](int from, int length) { sweep.addRun(first + from, first + from + length); });
            for (std::uint64_t untraced =
                     stretch.selected & ~grid.selectedWord(x - 1, first) & ~grid.tracedWord(x, first);
                 untraced != 0; untraced &= untraced - 1) {
                starts.push_back(first + std::countr_zero(untraced));
            }
        }
        sweep.joinColumn();
        auto run = sweep.coming().begin();
        for (const std::int32_t y : starts) {
            // An outline traced from above in this column may have passed here already.
            if (grid.traced(x, y)) {
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
            traced.outlines.push_back(traceOutline(grid, x, y, units, corners, spares));
            traced.outlines.back().hole = units < 0;
            traced.units += units;
        }
        starts.clear();
        sweep.endColumn(done);
    }
    sweep.finish(done);
    return counts;
}
