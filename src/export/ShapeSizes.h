#pragma once
// The sizes of a selection's shapes as its columns come: each column's runs of selected rows join the
// runs of the column before that touch them through an edge or a corner (union-find over the shapes
// of the two columns, renumbered for every column). A shape with no run in the column that has come is
// complete, and is handed on with its units and one of them.

#include <cstdint>
#include <vector>

struct CompleteShape {
    std::int64_t units = 0;
    std::int32_t x = 0; // a unit of the shape
    std::int32_t y = 0;
};

class ShapeSizes {
public:
    // The rows from `top` to past `bottom` of the column coming in, runs top to bottom; a run that begins
    // where the one before ends goes on from it.
    void addRun(std::int32_t top, std::int32_t bottom);
    // Column x has come: returns the shapes complete with the column before it.
    const std::vector<CompleteShape>& endColumn(std::int32_t x);
    // Every column has come: returns the shapes still open.
    const std::vector<CompleteShape>& finish();

private:
    static constexpr std::uint32_t None = UINT32_MAX;
    static constexpr std::uint32_t Handed = UINT32_MAX - 1;

    struct Run {
        std::int32_t top;
        std::int32_t bottom;
        std::uint32_t shape = 0;
    };
    struct Shape {
        std::uint32_t parent;
        std::int64_t units = 0;
        std::uint32_t renumbered = None; // in the next column, or Handed once complete
    };

    std::uint32_t root(std::uint32_t shape);
    void handComplete(std::int32_t x);

    std::vector<Run> before_;   // the runs of the column before, with their shapes' numbers
    std::vector<Run> coming_;   // the runs of the column coming in
    std::vector<Shape> shapes_; // those of the column before first, then new ones
    std::vector<Shape> goingOn_;
    std::vector<CompleteShape> complete_;
    std::int32_t beforeX_ = -1;
};
