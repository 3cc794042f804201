#pragma once
// Smooth outlines that stay exact: each outline of the pixel-edge tracing (TracedShape.h) becomes a
// closed polygon whose vertices are midpoints of its unit edges, joined by straight chords as long as
// the pixel centres allow.
//
// A chord from the midpoint of edge a to that of edge b stands for the edges a..b. Every edge has an
// inside centre (the unit on the shape's side) and an outside centre; the chord must keep a square of
// half-side 1/100 about each inside centre of its edges strictly on the shape's side and each outside
// square on the other side, leave edge a forwards and reach edge b forwards, and the area between it
// and the edges it stands for may not exceed 1/8 unit per turn of those edges. Such a chord crosses
// only the cells between those centres, which no other chord of any outline enters: the polygons do
// not cross or touch, every centre keeps its side of the outline and stays more than 1/100 unit from
// every edge, and no point moves a unit away from the outline. The midpoint polygon's own edges are
// such chords, and from a vertex of it the longest chord reaches at least its next vertex: no loop has
// more vertices than its midpoint polygon. The chords grow greedily, the directions still allowed
// kept as a cone of cross products on integers, so that a loop takes time linear in its length.

#include "TracedShape.h"

#include <cstdint>
#include <span>
#include <vector>

// A polygon vertex in half units from the picture's top left corner: (2x, 2y) is the grid corner
// (x, y); the midpoint of a unit edge has one odd coordinate.
struct HalfPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;

    friend bool operator==(const HalfPoint&, const HalfPoint&) = default;
};

class OutlineSmoother {
public:
    // The polygon of `outline`, the shape on the same side, starting at a vertex of its midpoint
    // polygon; replaces what `polygon` held.
    void smooth(const Outline& outline, std::vector<HalfPoint>& polygon);
    // The polygons of every outline of `shape`, in its order; valid until the next call.
    std::span<const std::vector<HalfPoint>> smooth(const TracedShape& shape);
    // The same polygons as a shape of outlines in half units, holes as holes; valid until the next call.
    const TracedShape& smoothedShape(const TracedShape& shape);
    // The polygon of the outline through `corners`, as corners in half units; valid until the next call.
    std::span<const OutlineCorner> smooth(std::span<const OutlineCorner> corners);

private:
    struct Edge {
        std::int32_t x = 0; // the corner it starts from
        std::int32_t y = 0;
        std::int8_t dx = 0; // its direction, one unit
        std::int8_t dy = 0;
    };

    // smooth(), into polygons of half points or of outline corners in half units.
    template <typename Point>
    void smoothInto(std::span<const OutlineCorner> corners, std::vector<Point>& polygon);
    // How far a chord from edge `from` (an index into edges_, taken round the loop) may reach.
    std::size_t longestChord(std::size_t from, std::size_t last) const;

    std::vector<Edge> edges_; // the outline's unit edges, in order, reused from loop to loop
    std::vector<std::vector<HalfPoint>> polygons_;
    std::vector<OutlineCorner> polygon_; // the last outline's polygon
    TracedShape shape_;                  // the polygons as outlines
    CornerLists spareLists_;             // of polygons a shape had beyond the next one's
};
