#include "ShapeSizes.h"

void ShapeSizes::addRun(std::int32_t top, std::int32_t bottom) {
    if (!coming_.empty() && coming_.back().bottom == top) {
        coming_.back().bottom = bottom;
    } else {
        coming_.push_back({top, bottom});
    }
}

std::uint32_t ShapeSizes::root(std::uint32_t shape) {
    while (shapes_[shape].parent != shape) {
        shapes_[shape].parent = shapes_[shapes_[shape].parent].parent;
        shape = shapes_[shape].parent;
    }
    return shape;
}

const std::vector<CompleteShape>& ShapeSizes::endColumn(std::int32_t x) {
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
                shapes_[shape].units += shapes_[joined].units;
            }
        }
        if (shape == None) {
            shape = static_cast<std::uint32_t>(shapes_.size());
            shapes_.push_back({shape});
        }
        shapes_[shape].units += run.bottom - run.top;
        run.shape = shape;
    }
    goingOn_.clear();
    for (Run& run : coming_) {
        Shape& shape = shapes_[root(run.shape)];
        if (shape.renumbered == None) {
            shape.renumbered = static_cast<std::uint32_t>(goingOn_.size());
            goingOn_.push_back({shape.renumbered, shape.units});
        }
        run.shape = shape.renumbered;
    }
    handComplete(beforeX_);
    shapes_.swap(goingOn_);
    before_.swap(coming_);
    coming_.clear();
    beforeX_ = x;
    return complete_;
}

const std::vector<CompleteShape>& ShapeSizes::finish() {
    handComplete(beforeX_);
    shapes_.clear();
    before_.clear();
    return complete_;
}

void ShapeSizes::handComplete(std::int32_t x) {
    complete_.clear();
    for (const Run& run : before_) {
        Shape& shape = shapes_[root(run.shape)];
        if (shape.renumbered == None) {
            shape.renumbered = Handed;
            complete_.push_back({shape.units, x, run.top});
        }
    }
}
