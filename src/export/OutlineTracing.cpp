#include "OutlineTracing.h"

#include <algorithm>
#include <utility>

namespace {

// Directions of travel, each a right turn from the one before: east, south, west, north.
constexpr int South = 1;
constexpr std::int32_t StepX[4] = {1, 0, -1, 0};
constexpr std::int32_t StepY[4] = {0, 1, 0, -1};

bool firstInColumnOrder(const OutlineCorner& a, const OutlineCorner& b) {
    return a.x != b.x ? a.x < b.x : a.y < b.y;
}

} // namespace

Outline traceOutline(ShapeGrid& grid, std::size_t unit, std::int64_t& units) {
    // A corner is named by the unit below and right of it. The outline runs down the left sides of its
    // shape's units, so the shape lies on the left as the picture is seen. Arriving at a corner, the two
    // units ahead decide: with the one on the right selected the outline turns right, also where that
    // unit meets the shape only at this corner, which keeps it in the shape; else with the one on the
    // left selected it goes straight on; else it turns left around the shape's corner.
    const std::ptrdiff_t stride = grid.stride();
    const std::ptrdiff_t step[4] = {stride, 1, -stride, -1};
    const std::ptrdiff_t aheadLeft[4] = {-1, 0, -stride, -stride - 1};
    const std::ptrdiff_t aheadRight[4] = {0, -stride, -stride - 1, -1};

    Outline outline;
    std::int32_t x = grid.columnOf(unit);
    std::int32_t y = grid.rowOf(unit);
    std::size_t corner = unit;
    int direction = South;
    do {
        if (direction == South) {
            grid[corner] |= ShapeGrid::Traced;
        }
        corner += static_cast<std::size_t>(step[direction]);
        x += StepX[direction];
        y += StepY[direction];
        int turned = direction;
        if (grid.selected(corner + static_cast<std::size_t>(aheadRight[direction]))) {
            turned = (direction + 1) % 4;
        } else if (!grid.selected(corner + static_cast<std::size_t>(aheadLeft[direction]))) {
            turned = (direction + 3) % 4;
        }
        if (turned != direction) {
            outline.corners.push_back({x, y});
            direction = turned;
        }
    } while (corner != unit || direction != South);

    std::vector<OutlineCorner>& corners = outline.corners;
    std::rotate(corners.begin(), std::min_element(corners.begin(), corners.end(), firstInColumnOrder),
                corners.end());
    // Twice the area enclosed, by the shoelace formula taken so that an outer boundary's is positive.
    std::int64_t twice = 0;
    for (std::size_t k = 0; k < corners.size(); ++k) {
        const OutlineCorner& a = corners[k];
        const OutlineCorner& b = corners[(k + 1) % corners.size()];
        twice += std::int64_t{a.y} * b.x - std::int64_t{a.x} * b.y;
    }
    units = twice / 2;
    return outline;
}

void traceShapes(ShapeGrid& grid, const std::function<void(const TracedShape&)>& shape) {
    const std::ptrdiff_t stride = grid.stride();
    const auto untracedLeftEdge = [&grid, stride](std::size_t unit) {
        return (grid[unit] & (ShapeGrid::Selected | ShapeGrid::Traced)) == ShapeGrid::Selected &&
               !grid.selected(unit - static_cast<std::size_t>(stride));
    };
    for (std::int32_t x = 0; x < grid.columns(); ++x) {
        const std::size_t top = grid.at(x, 0);
        for (std::size_t unit = top; unit < top + static_cast<std::size_t>(grid.rows()); ++unit) {
            if (!untracedLeftEdge(unit)) {
                continue;
            }
            // The shape's first unit: its left edge lies on the outer boundary, and every other
            // untraced left edge of the shape on a hole.
            TracedShape traced;
            std::int64_t units = 0;
            traced.outlines.push_back(traceOutline(grid, unit, units));
            traced.units = units;
            grid.walkShape(
                unit,
                [&](std::size_t reached) {
                    if (untracedLeftEdge(reached)) {
                        traced.outlines.push_back(traceOutline(grid, reached, units));
                        traced.outlines.back().hole = true;
                        traced.units += units;
                    }
                },
                [](std::size_t) {});
            std::sort(traced.outlines.begin() + 1, traced.outlines.end(),
                      [](const Outline& a, const Outline& b) {
                          return firstInColumnOrder(a.corners.front(), b.corners.front());
                      });
            shape(traced);
        }
    }
}
