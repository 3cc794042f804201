#pragma once
// The outlines of the shapes on a shape grid, along the units' edges, as TracedShape describes them:
// every edge between a selected and an unselected unit lies in exactly one outline, once, and where
// two selected units meet only at a corner the outline turns so that both stay in one shape.

#include "ShapeGrid.h"
#include "TracedShape.h"

#include <cstddef>
#include <cstdint>
#include <functional>

// The outline through the left edge of `unit`, whose left neighbour is unselected, starting at its
// first corner in column order; marks the left edges it passes as Traced. `units` gets the area it
// encloses, negative for a hole.
Outline traceOutline(ShapeGrid& grid, std::size_t unit, std::int64_t& units);

// Traces every shape of the grid's selection, in the order of the first corners of their outer
// boundaries, column by column and each column top to bottom, and hands each to `shape` with its holes
// in the same order. Leaves marks on the grid.
void traceShapes(ShapeGrid& grid, const std::function<void(const TracedShape&)>& shape);
