#pragma once
// A sweep over a selection's columns that tells its shapes apart: each column's runs of selected rows
// join the runs of the column before that touch them through an edge or a corner (union-find over the
// shapes of the two columns, renumbered for every column). Every shape carries a Part, which takes in
// the Part of a shape it meets (`void join(Part&&)`); a shape with no run in the column that has come
// is complete, and its Part is handed on. Work and memory go with the runs of two columns.

#include <cstdint>
#include <utility>
#include <vector>

template <typename Part> class ShapeSweep {
public:
    struct Run {
        std::int32_t top;
        std::int32_t bottom; // past the last row
        std::uint32_t shape = 0;
    };

    // The rows from `top` to past `bottom` of the column coming in, runs top to bottom; a run that
    // begins where the one before ends goes on from it.
    void addRun(std::int32_t top, std::int32_t bottom) {
        if (!coming_.empty() && coming_.back().bottom == top) {
            coming_.back().bottom = bottom;
        } else {
            coming_.push_back({top, bottom});
        }
    }

    // Joins the runs of the column coming in to the shapes of the column before that they touch.
    void joinColumn();
    const std::vector<Run>& before() const { return before_; }
    const std::vector<Run>& coming() const { return coming_; }
    // The part of a run's shape, once the run's column has been joined.
    Part& partOf(const Run& run) { return shapes_[root(run.shape)].part; }

    // Hands done(Part&&, run) each shape complete with the column before, with one of its runs there;
    // the column coming in becomes the column before.
    template <typename Done> void endColumn(Done&& done);
    // Every column has come: hands on every shape still open.
    template <typename Done> void finish(Done&& done) {
        handComplete(done);
        shapes_.clear();
        before_.clear();
    }

private:
    static constexpr std::uint32_t None = UINT32_MAX;
    static constexpr std::uint32_t Handed = UINT32_MAX - 1;

    struct Shape {
        std::uint32_t parent;
        Part part{};
        std::uint32_t renumbered = None; // in the next column, or Handed once complete
    };

    std::uint32_t root(std::uint32_t shape) {
        while (shapes_[shape].parent != shape) {
            shapes_[shape].parent = shapes_[shapes_[shape].parent].parent;
            shape = shapes_[shape].parent;
        }
        return shape;
    }
    template <typename Done> void handComplete(Done& done) {
        for (const Run& run : before_) {
            Shape& shape = shapes_[root(run.shape)];
            if (shape.renumbered == None) {
                shape.renumbered = Handed;
                done(std::move(shape.part), run);
            }
        }
    }

    std::vector<Run> before_;   // the runs of the column before, with their shapes' numbers
    std::vector<Run> coming_;   // the runs of the column coming in
    std::vector<Shape> shapes_; // those of the column before first, then new ones
    std::vector<Shape> goingOn_;
};

template <typename Part> void ShapeSweep<Part>::joinColumn() {
    // Runs of the column before that end above a run's row before its first cannot touch it or any
    // later run; one may touch several runs coming in.
    std::size_t first = 0;
    for (Run& run : coming_) {
        while (first < before_.size() && before_[first].bottom < run.top) {
            ++first;
        }
        std::uint32_t shape = None;
        for (std::size_t k = first; k < before_.size() && before_[k].top <= run.bottom; ++k) {
            const std::uint32_t joined = root(before_[k].shape);
            if (shape == None) {
                shape = joined;
            } else if (joined != shape) {
                shapes_[joined].parent = shape;
                shapes_[shape].part.join(std::move(shapes_[joined].part));
            }
        }
        if (shape == None) {
            shape = static_cast<std::uint32_t>(shapes_.size());
            shapes_.push_back({shape});
        }
        run.shape = shape;
    }
}

template <typename Part> template <typename Done> void ShapeSweep<Part>::endColumn(Done&& done) {
    goingOn_.clear();
    for (Run& run : coming_) {
        Shape& shape = shapes_[root(run.shape)];
        if (shape.renumbered == None) {
            shape.renumbered = static_cast<std::uint32_t>(goingOn_.size());
            goingOn_.push_back({shape.renumbered, std::move(shape.part)});
        }
        run.shape = shape.renumbered;
    }
    handComplete(done);
    shapes_.swap(goingOn_);
    before_.swap(coming_);
    coming_.clear();
}
