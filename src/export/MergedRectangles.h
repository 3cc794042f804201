#pragma once
// Selected units gathered into rectangles as the columns come: consecutive selected rows of a column
// make one run, and a run with exactly the rows of a rectangle in the column before extends that
// rectangle. A rectangle is handed on once it cannot grow any more. The rectangles cover exactly the
// selected units, each once.

#include "PointSink.h"

#include <cstdint>
#include <vector>

struct UnitRectangle {
    std::int32_t left = 0;   // first column
    std::int32_t right = 0;  // past the last column
    std::int32_t top = 0;    // first row
    std::int32_t bottom = 0; // past the last row
};

class MergedRectangles {
public:
    // `rows` is the most rows a column has: the work space is taken once, for the whole picture.
    explicit MergedRectangles(std::size_t rows);

    void addStretch(const ColumnStretch& stretch);
    // Column x is complete: the rectangles that do not go on into it are handed to `done`.
    template <typename Done> void endColumn(std::int32_t x, Done&& done) {
        std::size_t next = 0;
        const auto close = [&](const Open& rectangle) {
            done(UnitRectangle{rectangle.left, x, rectangle.top, rectangle.bottom});
        };
        for (const Run& run : column_) {
            while (next < open_.size() && open_[next].top < run.top) {
                close(open_[next++]);
            }
            std::int32_t left = x;
            if (next < open_.size() && open_[next].top == run.top && open_[next].bottom == run.bottom) {
                left = open_[next++].left;
            }
            growing_.push_back({left, run.top, run.bottom});
        }
        for (; next < open_.size(); ++next) {
            close(open_[next]);
        }
        open_.swap(growing_);
        growing_.clear();
        column_.clear();
    }
    // Every column has come; `end` is past the last one.
    template <typename Done> void finish(std::int32_t end, Done&& done) {
        for (const Open& rectangle : open_) {
            done(UnitRectangle{rectangle.left, end, rectangle.top, rectangle.bottom});
        }
        open_.clear();
    }

    // Runs of consecutive selected rows so far: the shapes there would be without merging columns.
    std::int64_t runs() const { return runs_; }

private:
    struct Run {
        std::int32_t top;
        std::int32_t bottom;
    };
    struct Open {
        std::int32_t left;
        std::int32_t top;
        std::int32_t bottom;
    };

    std::vector<Run> column_;   // the runs of the column coming in, top to bottom
    std::vector<Open> open_;    // rectangles reaching the column before, top to bottom
    std::vector<Open> growing_; // rectangles reaching the column coming in
    std::int64_t runs_ = 0;
};
