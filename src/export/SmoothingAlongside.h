#pragma once
// Smooths shapes in a thread of its own while the caller traces the next ones and writes the ones
// smoothed: the shapes go over in batches, and come back smoothed in the order they were added.

#include "OutlineSmoother.h"
#include "TracedShape.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class SmoothingAlongside {
public:
    SmoothingAlongside();
    // Stops the smoothing, whatever it has not done.
    ~SmoothingAlongside();
    SmoothingAlongside(const SmoothingAlongside&) = delete;
    SmoothingAlongside& operator=(const SmoothingAlongside&) = delete;

    // Takes a copy of the shape.
    void add(const TracedShape& shape);
    // Hands `smoothed` each shape smoothed so far, in order, as its polygons in half units; with
    // `every`, first waits until every shape added is. Raises what the smoothing raised.
    void take(bool every, const std::function<void(const TracedShape&)>& smoothed);

private:
    // Shapes with their corners in one list, filled again and again.
    struct Batch {
        struct Shape {
            std::int64_t units;
            std::size_t outlines;
        };
        struct Line {
            std::size_t corners;
            bool hole;
        };
        std::vector<Shape> shapes;
        std::vector<Line> outlines;
        std::vector<OutlineCorner> corners;

        void add(const TracedShape& shape);
        // Holds the polygons of the shapes of `traced`, smoothed.
        void smooth(const Batch& traced, OutlineSmoother& smoother);
        void clear();
        // Hands `shape` each shape in turn, read into `into`.
        void forEach(TracedShape& into, CornerLists& spare,
                     const std::function<void(const TracedShape&)>& shape) const;
    };

    void smoothBatches();
    void handOver();

    Batch filling_; // the caller's, until it is full
    TracedShape taken_;
    CornerLists takenSpare_;

    // Shared with the smoothing thread, under mutex_.
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Batch> waiting_;  // to be smoothed, oldest first
    std::deque<Batch> smoothed_; // smoothed, oldest first
    std::vector<Batch> spare_;
    std::size_t added_ = 0;    // batches handed over
    std::size_t returned_ = 0; // batches taken back smoothed
    bool stopping_ = false;
    std::exception_ptr failure_;
    std::thread thread_;
};
