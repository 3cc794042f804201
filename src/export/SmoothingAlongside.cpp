#include "SmoothingAlongside.h"

#include <utility>

namespace {

// Enough corners that handing a batch over costs little beside its smoothing, few enough that the
// smoothing starts early and the batches waiting take little memory.
constexpr std::size_t BatchCorners = 1 << 15;

} // namespace

void SmoothingAlongside::Batch::add(const TracedShape& shape) {
    shapes.push_back({shape.units, shape.outlines.size()});
    for (const Outline& outline : shape.outlines) {
        outlines.push_back({outline.corners.size(), outline.hole});
        corners.insert(corners.end(), outline.corners.begin(), outline.corners.end());
    }
}

void SmoothingAlongside::Batch::smooth(const Batch& traced, OutlineSmoother& smoother) {
    // Straight from the traced batch's corners: no shape is built to be smoothed.
    clear();
    shapes = traced.shapes;
    const OutlineCorner* corner = traced.corners.data();
    for (const Line& line : traced.outlines) {
        const std::span<const OutlineCorner> polygon = smoother.smooth({corner, line.corners});
        corner += line.corners;
        outlines.push_back({polygon.size(), line.hole});
        corners.insert(corners.end(), polygon.begin(), polygon.end());
    }
}

void SmoothingAlongside::Batch::clear() {
    shapes.clear();
    outlines.clear();
    corners.clear();
}

void SmoothingAlongside::Batch::forEach(TracedShape& into, CornerLists& spare,
                                        const std::function<void(const TracedShape&)>& shape) const {
    auto outline = outlines.begin();
    const OutlineCorner* corner = corners.data();
    for (const Shape& next : shapes) {
        into.units = next.units;
        resizeKeepingLists(into.outlines, next.outlines, spare);
        for (Outline& line : into.outlines) {
            line.hole = outline->hole;
            line.corners.assign(corner, corner + outline->corners);
            corner += outline->corners;
            ++outline;
        }
        shape(into);
    }
}

SmoothingAlongside::SmoothingAlongside() : thread_([this] { smoothBatches(); }) {}

SmoothingAlongside::~SmoothingAlongside() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void SmoothingAlongside::add(const TracedShape& shape) {
    filling_.add(shape);
    if (filling_.corners.size() >= BatchCorners) {
        handOver();
    }
}

void SmoothingAlongside::handOver() {
    const std::lock_guard lock(mutex_);
    waiting_.push_back(std::move(filling_));
    ++added_;
    filling_ = Batch();
    if (!spare_.empty()) {
        filling_ = std::move(spare_.back());
        spare_.pop_back();
    }
    changed_.notify_all();
}

void SmoothingAlongside::take(bool every, const std::function<void(const TracedShape&)>& smoothed) {
    if (every && !filling_.shapes.empty()) {
        handOver();
    }
    for (;;) {
        Batch batch;
        {
            std::unique_lock lock(mutex_);
            if (every) {
                changed_.wait(lock, [this] { return !smoothed_.empty() || returned_ == added_ || failure_; });
            }
            if (failure_) {
                std::rethrow_exception(failure_);
            }
            if (smoothed_.empty()) {
                return;
            }
            batch = std::move(smoothed_.front());
            smoothed_.pop_front();
            ++returned_;
        }
        batch.forEach(taken_, takenSpare_, smoothed);
        batch.clear();
        const std::lock_guard lock(mutex_);
        spare_.push_back(std::move(batch));
    }
}

void SmoothingAlongside::smoothBatches() {
    OutlineSmoother smoother;
    Batch polygons;
    for (;;) {
        Batch shapes;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return !waiting_.empty() || stopping_; });
            if (stopping_) {
                return;
            }
            shapes = std::move(waiting_.front());
            waiting_.pop_front();
        }
        try {
            polygons.smooth(shapes, smoother);
        } catch (...) {
            const std::lock_guard lock(mutex_);
            failure_ = std::current_exception();
            changed_.notify_all();
            return;
        }
        const std::lock_guard lock(mutex_);
        smoothed_.push_back(std::move(polygons));
        polygons = std::move(shapes); // its lists for the next batch's polygons
        changed_.notify_all();
    }
}
