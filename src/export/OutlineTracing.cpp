#include "OutlineTracing.h"

#include "PointSink.h"
#include "ShapeSweep.h"

#include <algorithm>
#include <array>
#include <bit>
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
    // A list kept, or a new one with room for most outlines.
    std::vector<OutlineCorner> corners() {
        std::vector<OutlineCorner> list;
        if (corners_.empty()) {
            list.reserve(LeastMade);
        } else {
            list = std::move(corners_.back());
            corners_.pop_back();
            bytesKept_ -= list.capacity() * sizeof(OutlineCorner);
        }
        return list;
    }

    // Keeps the outlines' lists, leaving `outlines` empty.
    void keep(std::vector<Outline>& outlines) {
        for (Outline& outline : outlines) {
            const std::size_t bytes = outline.corners.capacity() * sizeof(OutlineCorner);
            if (bytes != 0 && bytesKept_ + bytes <= MostBytesKept) {
                outline.corners.clear();
                corners_.push_back(std::move(outline.corners));
                bytesKept_ += bytes;
            }
        }
        outlines.clear();
    }

    // Room to sort a shape's holes in.
    std::vector<std::pair<std::uint64_t, std::size_t>> holes;
    std::vector<std::pair<std::uint64_t, std::size_t>> sortRoom;
    std::vector<Outline> sorted;

private:
    static constexpr std::size_t MostBytesKept = 8u << 20;
    static constexpr std::size_t LeastMade = 16;

    std::vector<std::vector<OutlineCorner>> corners_;
    std::size_t bytesKept_ = 0;
};

// The outline through the left edge of unit (x, y), whose left neighbour is unselected, starting at its
// first corner in column order; marks the first unit of each run of such edges it passes as traced. `units`
// gets the area it encloses, negative for a hole.
Outline traceOutline(ShapeGrid& grid, const std::int32_t startX, const std::int32_t startY,
                     std::int64_t& units, Spares& spares) {
    // A corner (x, y) is the upper left one of unit (x, y). The outline runs down the left sides of its
    // shape's units, so the shape lies on the left as the picture is seen. Arriving at a corner, the two
    // units ahead decide: with the one on the right selected the outline turns right, also where that
    // unit meets the shape only at this corner, which keeps it in the shape; else with the one on the
    // left selected it goes straight on; else it turns left around the shape's corner.
    constexpr unsigned AboveOnly = 1;
    constexpr unsigned AtOnly = 2;
    constexpr std::uint64_t Bits = (std::uint64_t{1} << 56) - 1;
    Outline outline;
    std::vector<OutlineCorner>& corners = outline.corners = spares.corners();
    std::size_t first = 0;
    // Twice the area enclosed, by the shoelace formula taken so that an outer boundary's is positive:
    // along a row y a step east adds y, along a column x a step down takes x.
    std::int64_t twice = 0;
    std::int32_t x = startX;
    std::int32_t y = startY;
    int direction = South;
    for (;;) {
        // Straight on to the next corner where the outline turns; going down, it marks the top of the
        // run of edges it passes (an outline start), and it ends where it comes back to the first one.
        // The unit ahead on the right, read as the step ends.
        bool rightAhead;
        std::int32_t steps = 0;
        switch (direction) {
        case East: {
            unsigned ahead;
            do {
                ++x;
                ++steps;
            } while ((ahead = grid.aboveAndAt(x, y)) == AboveOnly);
            rightAhead = (ahead & AtOnly) != 0;
            twice += std::int64_t{y} * steps;
            break;
        }
        case South: {
            // A word of the column at a time: the units selected with their left neighbours not.
            const std::int32_t top = y++;
            for (;;) {
                const std::uint64_t left = grid.selectedFrom(x - 1, y);
                const int down = std::countr_one(grid.selectedFrom(x, y) & ~left & Bits);
                y += down;
                if (down < 56) {
                    rightAhead = ((left >> down) & 1) != 0;
                    break;
                }
            }
            if (x == startX && top < startY) {
                y = std::min(y, startY);
            }
            grid.markTraced(x, top);
            twice -= std::int64_t{x} * (y - top);
            break;
        }
        case West: {
            unsigned ahead;
            do {
                --x;
                ++steps;
            } while ((ahead = grid.aboveAndAt(x - 1, y)) == AtOnly);
            rightAhead = (ahead & AboveOnly) != 0;
            twice -= std::int64_t{y} * steps;
            break;
        }
        default:
            do {
                --y;
                ++steps;
            } while (!(rightAhead = grid.selected(x, y - 1)) && grid.selected(x - 1, y - 1));
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
        direction = (direction + (rightAhead ? 1 : 3)) % 4;
        if (x == startX && y == startY && direction == South) {
            break;
        }
    }
    units = twice / 2;
    std::rotate(corners.begin(), corners.begin() + static_cast<std::ptrdiff_t>(first), corners.end());
    return outline;
}

// Where a shape's outlines start: the units of the shape whose left edges begin a run of edges with an
// unselected unit on their left, found column by column and kept until the shape is complete. Every
// outline passes at least one of them going down. They lie in one list for all shapes, each shape's
// linked through it, so that joining two parts of a shape is linking two chains.
class OutlineStarts {
public:
    static constexpr std::uint32_t None = UINT32_MAX;
    struct Start {
        std::int32_t x;
        std::int32_t y;
        std::uint32_t next;
    };
    // A shape's chain: its first and last start.
    struct Chain {
        OutlineStarts* starts = nullptr;
        std::uint32_t first = None;
        std::uint32_t last = None;
        void join(Chain&& other) {
            if (other.first == None) {
                return;
            }
            if (first == None) {
                *this = other;
            } else {
                starts->list_[last].next = other.first;
                last = other.last;
            }
            other.first = other.last = None;
        }
    };

    void add(Chain& chain, std::int32_t x, std::int32_t y) {
        std::uint32_t start = free_;
        if (start == None) {
            start = static_cast<std::uint32_t>(list_.size());
            list_.push_back({x, y, None});
        } else {
            free_ = list_[start].next;
            list_[start] = {x, y, None};
        }
        if (chain.first == None) {
            chain = {this, start, start};
        } else {
            list_[chain.last].next = start;
            chain.last = start;
        }
    }
    const Start& operator[](std::uint32_t start) const { return list_[start]; }
    // The chain's starts are free for other shapes.
    void release(const Chain& chain) {
        list_[chain.last].next = free_;
        free_ = chain.first;
    }

private:
    std::vector<Start> list_;
    std::uint32_t free_ = None;
};

std::uint64_t cornerKey(const OutlineCorner& corner) {
    return std::uint64_t{static_cast<std::uint32_t>(corner.x)} << 32 | static_cast<std::uint32_t>(corner.y);
}

// Sorts keyed items by their keys: many at a time a byte of the key at a time, least significant first,
// skipping the bytes all keys share; the corners of a large shape's holes take only four passes.
void sortByKey(std::vector<std::pair<std::uint64_t, std::size_t>>& items,
               std::vector<std::pair<std::uint64_t, std::size_t>>& room) {
    if (items.size() < 256) {
        std::sort(items.begin(), items.end());
        return;
    }
    room.resize(items.size());
    // Every byte's counts in one pass over the items.
    std::array<std::array<std::size_t, 256>, 8> placed{};
    for (const auto& item : items) {
        for (int byte = 0; byte < 8; ++byte) {
            ++placed[byte][(item.first >> (8 * byte)) & 255];
        }
    }
    for (int byte = 0; byte < 8; ++byte) {
        std::array<std::size_t, 256>& at = placed[byte];
        if (std::find(at.begin(), at.end(), items.size()) != at.end()) {
            continue;
        }
        std::size_t next = 0;
        for (std::size_t& place : at) {
            next += std::exchange(place, next);
        }
        for (const auto& item : items) {
            room[at[(item.first >> (8 * byte)) & 255]++] = item;
        }
        items.swap(room);
    }
}

// Puts the outer boundary, outlines[outer], first and the holes in the order of their first corners;
// `holes` holds each hole's first corner's key and its place, as they were traced.
void order(std::vector<Outline>& outlines, std::size_t outer, Spares& spares) {
    auto& holes = spares.holes;
    const bool holesInOrder = std::is_sorted(holes.begin(), holes.end());
    if (outer == 0 && holesInOrder) {
        return;
    }
    if (!holesInOrder) {
        sortByKey(holes, spares.sortRoom);
    }
    std::vector<Outline>& sorted = spares.sorted;
    sorted.clear();
    sorted.push_back(std::move(outlines[outer]));
    for (const auto& [key, k] : holes) {
        sorted.push_back(std::move(outlines[k]));
    }
    outlines.swap(sorted);
}

} // namespace

ShapeCounts traceShapes(ShapeGrid& grid, const std::function<void(const TracedShape&)>& shape) {
    // The columns are read 64 rows at a time, as bits; a shape is traced once the sweep finds it complete,
    // from each of its starts that no outline traced before has passed. Only one shape's outlines are
    // held at a time.
    using Sweep = ShapeSweep<OutlineStarts::Chain>;
    Sweep sweep;
    OutlineStarts starts;
    ShapeCounts counts;
    Spares spares;
    TracedShape traced;
    const auto done = [&](OutlineStarts::Chain&& chain, const Sweep::Run&) {
        traced.units = 0;
        spares.holes.clear();
        std::size_t outer = 0;
        for (std::uint32_t at = chain.first; at != OutlineStarts::None; at = starts[at].next) {
            const OutlineStarts::Start start = starts[at];
            if (grid.traced(start.x, start.y)) {
                continue;
            }
            std::int64_t units = 0;
            Outline& outline =
                traced.outlines.emplace_back(traceOutline(grid, start.x, start.y, units, spares));
            outline.hole = units < 0;
            if (outline.hole) {
                spares.holes.emplace_back(cornerKey(outline.corners.front()), traced.outlines.size() - 1);
            } else {
                outer = traced.outlines.size() - 1;
            }
            traced.units += units;
            counts.corners += static_cast<std::int64_t>(outline.corners.size());
        }
        starts.release(chain);
        order(traced.outlines, outer, spares);
        ++counts.shapes;
        counts.outlines += static_cast<std::int64_t>(traced.outlines.size());
        counts.units += traced.units;
        shape(traced);
        spares.keep(traced.outlines);
    };
    std::vector<std::int32_t> columnStarts;
    for (std::int32_t x = 0; x < grid.columns(); ++x) {
        std::uint64_t edgeAbove = 0;
        for (std::int32_t first = 0; first < grid.rows(); first += 64) {
            const ColumnStretch stretch{x, first, static_cast<std::size_t>(std::min(64, grid.rows() - first)),
                                        grid.selectedWord(x, first)};
            forEachSelectedRun(
                stretch, [&](int from, int length) { sweep.addRun(first + from, first + from + length); });
            const std::uint64_t edges = stretch.selected & ~grid.selectedWord(x - 1, first);
            for (std::uint64_t tops = edges & ~(edges << 1 | edgeAbove); tops != 0; tops &= tops - 1) {
                columnStarts.push_back(first + std::countr_zero(tops));
            }
            edgeAbove = edges >> 63;
        }
        sweep.joinColumn();
        auto run = sweep.coming().begin();
        for (const std::int32_t y : columnStarts) {
            while (run->bottom <= y) {
                ++run;
            }
            starts.add(sweep.partOf(*run), x, y);
        }
        columnStarts.clear();
        sweep.endColumn(done);
    }
    sweep.finish(done);
    return counts;
}
