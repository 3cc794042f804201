#include "OutlineSmoother.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Directions and centres in 1/200 unit, so that a centre's margin square has whole corners.
constexpr std::int64_t Scale = 200;
constexpr std::int64_t HalfScale = Scale / 2;
constexpr std::int64_t Margin = 2; // 1/100 unit
// Edges tried past the last chord that fitted before the chord ends there: keeps a loop linear.
constexpr std::size_t LongestMiss = 48;

struct Vector {
    std::int64_t x = 0;
    std::int64_t y = 0;
};

std::int64_t cross(Vector a, Vector b) {
    return a.x * b.y - a.y * b.x;
}

// The open set of directions d with cross(lo, d) > 0 and cross(d, hi) > 0, less than a half turn wide.
class DirectionCone {
public:
    DirectionCone(Vector lo, Vector hi) : lo_(lo), hi_(hi) {}

    // Keeps the directions d with cross(d, v) > 0: those that have v on their positive side.
    void keepBelow(Vector v) {
        if (cross(lo_, v) > 0 && cross(v, hi_) >= 0) {
            hi_ = v;
            return;
        }
        const Vector back{-v.x, -v.y};
        if (cross(lo_, back) >= 0 && cross(back, hi_) > 0) {
            lo_ = back;
            return;
        }
        // Neither bound of the half plane falls in the cone: it holds all of the cone or none.
        if (cross({lo_.x + hi_.x, lo_.y + hi_.y}, v) <= 0) {
            empty_ = true;
        }
    }
    // The 1/100 square about `centre` strictly on the positive side of d (`positive`) or the negative.
    void keepSquare(Vector centre, bool positive) {
        const std::int64_t sign = positive ? 1 : -1;
        const Vector kept{sign * centre.x, sign * centre.y};
        // For a direction d, cross(d, corner) is least at the corner kept + Margin * (sy, -sx), s the signs
        // of d's parts: where every direction of the cone has the same sign of x (or y), two corners bind
        // and the other two keep every direction they keep; in one quadrant, one corner.
        const int sx = lo_.x > 0 && hi_.x > 0 ? 1 : lo_.x < 0 && hi_.x < 0 ? -1 : 0;
        const int sy = lo_.y > 0 && hi_.y > 0 ? 1 : lo_.y < 0 && hi_.y < 0 ? -1 : 0;
        if (sx != 0 && sy != 0) {
            keepBelow({kept.x + Margin * sy, kept.y - Margin * sx});
        } else if (sx != 0) {
            keepBelow({kept.x - Margin, kept.y - Margin * sx});
            keepBelow({kept.x + Margin, kept.y - Margin * sx});
        } else if (sy != 0) {
            keepBelow({kept.x + Margin * sy, kept.y - Margin});
            keepBelow({kept.x + Margin * sy, kept.y + Margin});
        } else {
            for (const Vector corner :
                 {Vector{kept.x - Margin, kept.y - Margin}, Vector{kept.x + Margin, kept.y - Margin},
                  Vector{kept.x - Margin, kept.y + Margin}, Vector{kept.x + Margin, kept.y + Margin}}) {
                keepBelow(corner);
            }
        }
    }
    bool holds(Vector d) const { return !empty_ && cross(lo_, d) > 0 && cross(d, hi_) > 0; }
    bool empty() const { return empty_; }

private:
    Vector lo_;
    Vector hi_;
    bool empty_ = false;
};

} // namespace

std::size_t OutlineSmoother::longestChord(std::size_t from, std::size_t last) const {
    // In the pixel coordinates (y down) the shape lies where cross(direction, point) < 0: the inside
    // normal of a direction e is (e.y, -e.x).
    const Edge& start = edges_[from];
    const Vector origin{Scale * start.x + HalfScale * start.dx, Scale * start.y + HalfScale * start.dy};
    const Vector along{start.dx, start.dy};
    const Vector inward{start.dy, -start.dx};
    // The start's own squares, whose corners nearest its direction bound the cone.
    DirectionCone cone({(HalfScale - Margin) * inward.x + Margin * along.x,
                        (HalfScale - Margin) * inward.y + Margin * along.y},
                       {-(HalfScale - Margin) * inward.x + Margin * along.x,
                        -(HalfScale - Margin) * inward.y + Margin * along.y});
    Vector lastInside{HalfScale * inward.x, HalfScale * inward.y};
    Vector lastOutside{-lastInside.x, -lastInside.y};

    // Twice the area between the edges passed and the chord, in half units (1 is 1/8 unit), with the
    // chord's start as origin; the corner each edge starts from, the same way.
    std::int64_t twiceArea = 0;
    Vector corner{start.dx, start.dy};
    std::int64_t turns = 0;
    std::size_t best = from + 1;
    for (std::size_t b = from + 1; b <= last; ++b) {
        const Edge& edge = edges_[b];
        const Edge& before = edges_[b - 1];
        const Vector middle{Scale * edge.x + HalfScale * edge.dx - origin.x,
                            Scale * edge.y + HalfScale * edge.dy - origin.y};
        const Vector inside{middle.x + HalfScale * edge.dy, middle.y - HalfScale * edge.dx};
        const Vector outside{middle.x - HalfScale * edge.dy, middle.y + HalfScale * edge.dx};
        // A turn leaves one of the two centres as it was.
        if (inside.x != lastInside.x || inside.y != lastInside.y) {
            cone.keepSquare(inside, false);
            lastInside = inside;
        }
        if (outside.x != lastOutside.x || outside.y != lastOutside.y) {
            cone.keepSquare(outside, true);
            lastOutside = outside;
        }
        if (cone.empty()) {
            break;
        }
        if (edge.dx != before.dx || edge.dy != before.dy) {
            ++turns;
        }
        const Vector halfMiddle{corner.x + edge.dx, corner.y + edge.dy};
        const std::int64_t area = twiceArea + cross(corner, halfMiddle);
        // Edge b's own centres make the chord reach it forwards.
        if (cone.holds(middle) && std::abs(area) <= turns) {
            best = b;
        } else if (b - best > LongestMiss) {
            break;
        }
        const Vector next{corner.x + 2 * edge.dx, corner.y + 2 * edge.dy};
        twiceArea += cross(corner, next);
        corner = next;
    }
    return best;
}

void OutlineSmoother::smooth(const Outline& outline, std::vector<HalfPoint>& polygon) {
    smoothInto(outline.corners, polygon);
}

std::span<const OutlineCorner> OutlineSmoother::smooth(std::span<const OutlineCorner> corners) {
    smoothInto(corners, polygon_);
    return polygon_;
}

template <typename Point>
void OutlineSmoother::smoothInto(std::span<const OutlineCorner> corners, std::vector<Point>& polygon) {
    polygon.clear();
    edges_.clear();
    for (std::size_t k = 0; k < corners.size(); ++k) {
        const OutlineCorner from = corners[k];
        const OutlineCorner to = corners[(k + 1) % corners.size()];
        const int dx = (to.x > from.x) - (to.x < from.x);
        const int dy = (to.y > from.y) - (to.y < from.y);
        const std::int32_t length = std::abs(to.x - from.x) + std::abs(to.y - from.y);
        for (std::int32_t step = 0; step < length; ++step) {
            edges_.push_back({from.x + dx * step, from.y + dy * step, static_cast<std::int8_t>(dx),
                              static_cast<std::int8_t>(dy)});
        }
    }
    const std::size_t count = edges_.size();
    if (count < 4) {
        return;
    }
    // Start at a vertex of the midpoint polygon: where the midpoints before and after turn.
    const auto midpoint = [this](std::size_t k) {
        const Edge& edge = edges_[k];
        return Vector{2 * edge.x + edge.dx, 2 * edge.y + edge.dy};
    };
    std::size_t first = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const Vector before = midpoint((k + count - 1) % count);
        const Vector here = midpoint(k);
        const Vector after = midpoint((k + 1) % count);
        if (cross({here.x - before.x, here.y - before.y}, {after.x - here.x, after.y - here.y}) != 0) {
            first = k;
            break;
        }
    }
    std::rotate(edges_.begin(), edges_.begin() + static_cast<std::ptrdiff_t>(first), edges_.end());
    edges_.push_back(edges_.front());
    // At most a vertex an edge: the many holes of a large shape each take one allocation, not several.
    polygon.reserve(count);
    for (std::size_t from = 0; from < count; from = longestChord(from, count)) {
        const Vector point = midpoint(from);
        polygon.push_back({static_cast<std::int32_t>(point.x), static_cast<std::int32_t>(point.y)});
    }
}

std::span<const std::vector<HalfPoint>> OutlineSmoother::smooth(const TracedShape& shape) {
    // Fewer polygons than last time keep their room for the next shape.
    if (polygons_.size() < shape.outlines.size()) {
        polygons_.resize(shape.outlines.size());
    }
    for (std::size_t k = 0; k < shape.outlines.size(); ++k) {
        smooth(shape.outlines[k], polygons_[k]);
    }
    return {polygons_.data(), shape.outlines.size()};
}

const TracedShape& OutlineSmoother::smoothedShape(const TracedShape& shape) {
    shape_.units = shape.units;
    resizeKeepingLists(shape_.outlines, shape.outlines.size(), spareLists_);
    for (std::size_t k = 0; k < shape.outlines.size(); ++k) {
        shape_.outlines[k].hole = shape.outlines[k].hole;
        smoothInto(shape.outlines[k].corners, shape_.outlines[k].corners);
    }
    return shape_;
}
