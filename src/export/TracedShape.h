#pragma once
// A shape of an export's selection as closed outlines along the units' edges, and the source that
// hands the drawing sinks one shape at a time. A shape is a set of selected units connected through
// edges or corners; its holes are the areas of unselected units it encloses, connected through edges.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// A corner of the unit grid: x columns from the picture's left edge, y rows from its top edge.
struct OutlineCorner {
    std::int32_t x = 0;
    std::int32_t y = 0;

    friend bool operator==(const OutlineCorner&, const OutlineCorner&) = default;
};

// One closed boundary: its corners in order, the last joined to the first, only where the direction
// turns. With y down the shape lies on the right of the direction of travel, so that in a drawing's
// upright (y up) coordinates it lies on the left: outer boundaries counter-clockwise there, holes
// clockwise. It runs down the left sides of the shape's units and up their right sides: a single unit
// at (0, 0) is (0, 0), (0, 1), (1, 1), (1, 0). Each outline starts at its first corner column by column.
struct Outline {
    std::vector<OutlineCorner> corners;
    bool hole = false;
};

struct TracedShape {
    std::int64_t units = 0;        // selected units of the shape
    std::vector<Outline> outlines; // the outer boundary first, then the holes
};

// Lists of corners kept for outlines to come.
using CornerLists = std::vector<std::vector<OutlineCorner>>;

// Makes `outlines` `count` long, the lists of those it loses kept in `spare` and those it gains taken
// from there: shapes read into the same outlines one after another soon need no allocation.
inline void resizeKeepingLists(std::vector<Outline>& outlines, std::size_t count, CornerLists& spare) {
    for (std::size_t k = count; k < outlines.size(); ++k) {
        spare.push_back(std::move(outlines[k].corners));
    }
    for (std::size_t k = outlines.size(); k < count && !spare.empty(); ++k) {
        outlines.push_back({std::move(spare.back())});
        spare.pop_back();
    }
    outlines.resize(count);
}

class ShapeSource {
public:
    virtual ~ShapeSource() = default;
    // Calls `shape` for every shape, in the same order each time it is called.
    virtual void forEachShape(const std::function<void(const TracedShape&)>& shape) const = 0;
};
