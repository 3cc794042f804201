#pragma once
// How a drawing shows the selection, and the speck filter an export applies.

#include <cstdint>

enum class ShapeKind {
    Outlines, // every shape as closed outlines along the units' edges, its holes as holes
    Squares,  // the units as filled rectangles, merged down and across the columns
    Smooth,   // every outline as a polygon of straight edges in any direction, every centre on its side
};

// The shapes the command draws when none is chosen: what a CAD user can select, offset and cut.
inline constexpr ShapeKind DefaultShapeKind = ShapeKind::Outlines;

struct ShapeChoice {
    // A job given no choice draws squares: the formats' own sinks, in one pass. The dialog and the
    // command choose, and start from DefaultShapeKind.
    ShapeKind kind = ShapeKind::Squares;
    // Shapes of fewer units are left out, where the format allows it; 0 and 1 keep every shape.
    std::int64_t minimumArea = 0;
};

// The largest minimum area the export dialog takes, in units.
inline constexpr std::int64_t LargestDialogMinimumArea = 1'000'000;
