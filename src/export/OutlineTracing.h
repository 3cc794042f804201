#pragma once
// The outlines of the shapes on a shape grid, along the units' edges, as TracedShape describes them:
// every edge between a selected and an unselected unit lies in exactly one outline, once, and where
// two selected units meet only at a corner the outline turns so that both stay in one shape.

#include "ShapeGrid.h"
#include "TracedShape.h"

#include <cstddef>
#include <cstdint>
#include <functional>

struct ShapeCounts {
    std::int64_t shapes = 0;
    std::int64_t outlines = 0;
    std::int64_t corners = 0;
    std::int64_t units = 0;
};

// Traces every shape of the grid's selection and hands each to `shape` as soon as the columns have
// passed it, in the order the shapes end, column by column and each column top to bottom: its outer
// boundary first, then its holes by their first corners. Leaves marks on the grid; returns what it
// handed on.
ShapeCounts traceShapes(ShapeGrid& grid, const std::function<void(const TracedShape&)>& shape);
