#pragma once
// The properties every smooth drawing keeps, checked exactly on half units (twice the pixel
// coordinates), whatever construction made the polygons: each check returns what failed, or nothing.
// 1 every centre on its side, none within 1/100 unit of an edge; 2 no edge meets another but its
// neighbours at their shared vertex; 4 every point within a unit of the outline and back; 5 each shape's
// area within 1/8 unit per corner of its pixel count.

#include "export/OutlineSmoother.h"
#include "export/OutlineTracing.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <vector>

namespace smooth_properties {

__extension__ typedef __int128 Wide;

using Grid = std::vector<std::vector<bool>>; // [x][y], true where selected
using Polygon = std::vector<HalfPoint>;

struct SmoothedShape {
    std::int64_t units = 0;
    std::int64_t corners = 0;          // of its pixel-edge outlines
    std::int64_t midpointVertices = 0; // of its midpoint polygons, collinear points dropped
    std::vector<Outline> outlines;
    std::vector<Polygon> polygons; // one per outline
};

inline int width(const Grid& grid) {
    return static_cast<int>(grid.size());
}
inline int height(const Grid& grid) {
    return grid.empty() ? 0 : static_cast<int>(grid[0].size());
}

// The unit edges of an outline, as the corner each starts from (half units) and its direction.
struct UnitEdge {
    std::int64_t x, y, dx, dy;
    HalfPoint middle() const {
        return {static_cast<std::int32_t>(x + dx), static_cast<std::int32_t>(y + dy)};
    }
};

inline std::vector<UnitEdge> unitEdges(const Outline& outline) {
    std::vector<UnitEdge> edges;
    for (std::size_t k = 0; k < outline.corners.size(); ++k) {
        const OutlineCorner from = outline.corners[k];
        const OutlineCorner to = outline.corners[(k + 1) % outline.corners.size()];
        const int dx = (to.x > from.x) - (to.x < from.x);
        const int dy = (to.y > from.y) - (to.y < from.y);
        for (int step = 0; step < std::abs(to.x - from.x) + std::abs(to.y - from.y); ++step) {
            edges.push_back({2 * (from.x + dx * step), 2 * (from.y + dy * step), dx, dy});
        }
    }
    return edges;
}

inline std::int64_t midpointVertices(const Outline& outline) {
    const std::vector<UnitEdge> edges = unitEdges(outline);
    const std::size_t n = edges.size();
    std::int64_t vertices = 0;
    for (std::size_t k = 0; k < n; ++k) {
        const HalfPoint a = edges[(k + n - 1) % n].middle();
        const HalfPoint b = edges[k].middle();
        const HalfPoint c = edges[(k + 1) % n].middle();
        vertices += std::int64_t{b.x - a.x} * (c.y - b.y) - std::int64_t{b.y - a.y} * (c.x - b.x) != 0;
    }
    return vertices;
}

// Traces and smooths the selection of `grid`.
inline std::vector<SmoothedShape> smoothShapes(const Grid& grid) {
    ShapeGrid units(QSize(width(grid), height(grid)));
    for (int x = 0; x < width(grid); ++x) {
        for (int y = 0; y < height(grid); ++y) {
            if (grid[x][y]) {
                units.select(x, y, 1);
            }
        }
    }
    std::vector<SmoothedShape> shapes;
    OutlineSmoother smoother;
    traceShapes(units, [&](const TracedShape& traced) {
        SmoothedShape shape;
        shape.units = traced.units;
        shape.outlines = traced.outlines;
        for (const Outline& outline : traced.outlines) {
            shape.corners += static_cast<std::int64_t>(outline.corners.size());
            shape.midpointVertices += midpointVertices(outline);
            shape.polygons.emplace_back();
            smoother.smooth(outline, shape.polygons.back());
        }
        shapes.push_back(std::move(shape));
    });
    return shapes;
}

inline Wide cross(HalfPoint a, HalfPoint b, HalfPoint c) {
    return Wide{b.x - a.x} * (c.y - a.y) - Wide{b.y - a.y} * (c.x - a.x);
}

// 10000 times the squared distance from `c` to the segment ab, compared with `limit` (in half units).
inline bool closerThan(HalfPoint a, HalfPoint b, HalfPoint c, Wide tenThousandthsSquared) {
    const Wide abx = b.x - a.x, aby = b.y - a.y, acx = c.x - a.x, acy = c.y - a.y;
    const Wide length = abx * abx + aby * aby;
    const Wide along = abx * acx + aby * acy;
    if (along <= 0 || length == 0) {
        return 10000 * (acx * acx + acy * acy) < tenThousandthsSquared;
    }
    if (along >= length) {
        const Wide bcx = c.x - b.x, bcy = c.y - b.y;
        return 10000 * (bcx * bcx + bcy * bcy) < tenThousandthsSquared;
    }
    const Wide side = cross(a, b, c);
    return 10000 * side * side < tenThousandthsSquared * length;
}

inline QString at(HalfPoint p) {
    return QStringLiteral("(%1, %2)/2").arg(p.x).arg(p.y);
}

// Calls `edge(a, b, shape)` for every edge of every polygon.
template <typename Visit> void forEachEdge(const std::vector<SmoothedShape>& shapes, Visit&& edge) {
    for (std::size_t s = 0; s < shapes.size(); ++s) {
        for (const Polygon& polygon : shapes[s].polygons) {
            for (std::size_t k = 0; k < polygon.size(); ++k) {
                edge(polygon[k], polygon[(k + 1) % polygon.size()], s);
            }
        }
    }
}

// 1: even-odd over all polygons, row by row with the crossings sorted exactly; then the margin.
inline QString centresOnTheirSides(const Grid& grid, const std::vector<SmoothedShape>& shapes) {
    struct Crossing {
        Wide num, den; // x = num / den, den > 0
    };
    std::vector<std::vector<Crossing>> rows(static_cast<std::size_t>(height(grid)));
    forEachEdge(shapes, [&](HalfPoint a, HalfPoint b, std::size_t) {
        const int top = std::max(0, std::min(a.y, b.y) / 2 - 1);
        const int bottom = std::min(height(grid) - 1, std::max(a.y, b.y) / 2 + 1);
        for (int y = top; y <= bottom; ++y) {
            const std::int64_t row = 2 * y + 1;
            if ((a.y <= row) != (b.y <= row)) {
                Wide den = b.y - a.y;
                Wide num = Wide{a.x} * den + Wide{row - a.y} * (b.x - a.x);
                if (den < 0) {
                    den = -den;
                    num = -num;
                }
                rows[static_cast<std::size_t>(y)].push_back({num, den});
            }
        }
    });
    for (int y = 0; y < height(grid); ++y) {
        std::vector<Crossing>& crossings = rows[static_cast<std::size_t>(y)];
        std::sort(crossings.begin(), crossings.end(),
                  [](const Crossing& l, const Crossing& r) { return l.num * r.den < r.num * l.den; });
        std::size_t passed = 0;
        for (int x = 0; x < width(grid); ++x) {
            const Wide column = 2 * x + 1;
            while (passed < crossings.size() && crossings[passed].num < column * crossings[passed].den) {
                ++passed;
            }
            if (passed < crossings.size() && crossings[passed].num == column * crossings[passed].den) {
                return QStringLiteral("centre (%1, %2) on an edge").arg(x).arg(y);
            }
            if ((passed % 2 == 1) != grid[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)]) {
                return QStringLiteral("centre (%1, %2) on the wrong side").arg(x).arg(y);
            }
        }
    }
    QString failure;
    forEachEdge(shapes, [&](HalfPoint a, HalfPoint b, std::size_t) {
        const int left = std::max(0, std::min(a.x, b.x) / 2 - 1);
        const int right = std::min(width(grid) - 1, std::max(a.x, b.x) / 2 + 1);
        for (int x = left; x <= right && failure.isEmpty(); ++x) {
            // The rows the segment passes over this column, and one more on each side.
            const double t0 = a.x == b.x ? 0.0 : std::clamp((2.0 * x - 1 - a.x) / (b.x - a.x), 0.0, 1.0);
            const double t1 = a.x == b.x ? 1.0 : std::clamp((2.0 * x + 3 - a.x) / (b.x - a.x), 0.0, 1.0);
            const double y0 = a.y + t0 * (b.y - a.y), y1 = a.y + t1 * (b.y - a.y);
            const int top = std::max(0, static_cast<int>(std::floor(std::min(y0, y1) / 2)) - 1);
            const int bottom =
                std::min(height(grid) - 1, static_cast<int>(std::ceil(std::max(y0, y1) / 2)) + 1);
            for (int y = top; y <= bottom; ++y) {
                // 1/100 unit is 2/100 half unit: 10000 d² < 4.
                if (closerThan(a, b, {2 * x + 1, 2 * y + 1}, 4)) {
                    failure = QStringLiteral("centre (%1, %2) within 1/100 of %3-%4")
                                  .arg(x)
                                  .arg(y)
                                  .arg(at(a), at(b));
                }
            }
        }
    });
    return failure;
}

inline bool segmentsMeet(HalfPoint a, HalfPoint b, HalfPoint c, HalfPoint d) {
    const auto sign = [](Wide v) { return (v > 0) - (v < 0); };
    const int d1 = sign(cross(a, b, c)), d2 = sign(cross(a, b, d));
    const int d3 = sign(cross(c, d, a)), d4 = sign(cross(c, d, b));
    if (d1 * d2 < 0 && d3 * d4 < 0) {
        return true;
    }
    const auto within = [](HalfPoint p, HalfPoint q, HalfPoint r) {
        return std::min(p.x, q.x) <= r.x && r.x <= std::max(p.x, q.x) && std::min(p.y, q.y) <= r.y &&
               r.y <= std::max(p.y, q.y);
    };
    return (d1 == 0 && within(a, b, c)) || (d2 == 0 && within(a, b, d)) || (d3 == 0 && within(c, d, a)) ||
           (d4 == 0 && within(c, d, b));
}

// 2: edges bucketed by 8 × 8 half-unit cells; neighbours in a polygon may share their vertex only.
inline QString polygonsSimple(const std::vector<SmoothedShape>& shapes) {
    struct Segment {
        HalfPoint a, b;
        std::size_t polygon, index, size;
    };
    std::vector<Segment> segments;
    std::size_t polygonId = 0;
    for (const SmoothedShape& shape : shapes) {
        for (const Polygon& polygon : shape.polygons) {
            if (polygon.size() < 3) {
                return QStringLiteral("a polygon of %1 vertices").arg(polygon.size());
            }
            for (std::size_t k = 0; k < polygon.size(); ++k) {
                segments.push_back(
                    {polygon[k], polygon[(k + 1) % polygon.size()], polygonId, k, polygon.size()});
            }
            ++polygonId;
        }
    }
    constexpr int Cell = 8;
    std::map<std::pair<int, int>, std::vector<std::size_t>> cells;
    for (std::size_t s = 0; s < segments.size(); ++s) {
        const Segment& g = segments[s];
        for (int cx = std::min(g.a.x, g.b.x) / Cell; cx <= std::max(g.a.x, g.b.x) / Cell; ++cx) {
            // The rows of cells the segment passes within this column of cells.
            const double t0 =
                g.a.x == g.b.x ? 0.0 : std::clamp((cx * Cell - 1.0 - g.a.x) / (g.b.x - g.a.x), 0.0, 1.0);
            const double t1 = g.a.x == g.b.x
                                  ? 1.0
                                  : std::clamp(((cx + 1) * Cell + 1.0 - g.a.x) / (g.b.x - g.a.x), 0.0, 1.0);
            const double y0 = g.a.y + t0 * (g.b.y - g.a.y), y1 = g.a.y + t1 * (g.b.y - g.a.y);
            for (int cy = static_cast<int>(std::floor(std::min(y0, y1) / Cell)) - 1;
                 cy <= static_cast<int>(std::floor(std::max(y0, y1) / Cell)) + 1; ++cy) {
                cells[{cx, cy}].push_back(s);
            }
        }
    }
    for (const auto& [cell, inCell] : cells) {
        for (std::size_t i = 0; i < inCell.size(); ++i) {
            for (std::size_t j = i + 1; j < inCell.size(); ++j) {
                const Segment& s = segments[inCell[i]];
                const Segment& t = segments[inCell[j]];
                const bool next = s.polygon == t.polygon &&
                                  ((s.index + 1) % s.size == t.index || (t.index + 1) % t.size == s.index);
                if (next) {
                    // Sharing one vertex, they may not fold back over each other.
                    const Segment& first = (s.index + 1) % s.size == t.index ? s : t;
                    const Segment& second = &first == &s ? t : s;
                    if (s.size > 2 && cross(first.a, first.b, second.b) == 0 &&
                        Wide{first.b.x - first.a.x} * (second.b.x - second.a.x) +
                                Wide{first.b.y - first.a.y} * (second.b.y - second.a.y) <=
                            0) {
                        return QStringLiteral("edges fold back at %1").arg(at(first.b));
                    }
                    continue;
                }
                if (segmentsMeet(s.a, s.b, t.a, t.b)) {
                    return QStringLiteral("%1-%2 meets %3-%4").arg(at(s.a), at(s.b), at(t.a), at(t.b));
                }
            }
        }
    }
    return {};
}

// 4 and the vertices on the picture: every vertex the midpoint of one of its outline's edges, in the
// outline's order; each chord within a unit of the edges it stands for, and they of it.
inline QString polygonsClose(const Grid& grid, const std::vector<SmoothedShape>& shapes) {
    for (const SmoothedShape& shape : shapes) {
        for (std::size_t o = 0; o < shape.outlines.size(); ++o) {
            const std::vector<UnitEdge> edges = unitEdges(shape.outlines[o]);
            const Polygon& polygon = shape.polygons[o];
            std::map<std::pair<int, int>, std::size_t> edgeAt;
            for (std::size_t k = 0; k < edges.size(); ++k) {
                edgeAt[{edges[k].middle().x, edges[k].middle().y}] = k;
            }
            std::vector<std::size_t> indices;
            for (const HalfPoint p : polygon) {
                if (p.x < 0 || p.y < 0 || p.x > 2 * width(grid) || p.y > 2 * height(grid)) {
                    return QStringLiteral("vertex %1 off the picture").arg(at(p));
                }
                const auto found = edgeAt.find({p.x, p.y});
                if (found == edgeAt.end()) {
                    return QStringLiteral("vertex %1 not on its outline").arg(at(p));
                }
                indices.push_back(found->second);
            }
            const std::size_t n = edges.size();
            std::size_t walked = 0;
            for (std::size_t k = 0; k < indices.size(); ++k) {
                const std::size_t from = indices[k];
                const std::size_t to = indices[(k + 1) % indices.size()];
                const std::size_t span = (to + n - from) % n == 0 ? n : (to + n - from) % n;
                walked += span;
                const HalfPoint a = polygon[k], b = polygon[(k + 1) % polygon.size()];
                // The chain's corners within a unit (2 half units) of the chord.
                for (std::size_t s = 1; s <= span; ++s) {
                    const UnitEdge& e = edges[(from + s) % n];
                    if (!closerThan(a, b, {static_cast<std::int32_t>(e.x), static_cast<std::int32_t>(e.y)},
                                    10000 * 4 + 1)) {
                        return QStringLiteral("corner (%1, %2)/2 a unit from %3-%4")
                            .arg(e.x)
                            .arg(e.y)
                            .arg(at(a), at(b));
                    }
                }
                // The chord's points within a unit of the chain, sampled.
                for (int t = 0; t <= 32; ++t) {
                    const double px = a.x + (b.x - a.x) * t / 32.0, py = a.y + (b.y - a.y) * t / 32.0;
                    double nearest = 1e300;
                    for (std::size_t s = 0; s <= span; ++s) {
                        const UnitEdge& e = edges[(from + s) % n];
                        const double u = std::clamp((px - e.x) * e.dx + (py - e.y) * e.dy, 0.0, 2.0);
                        nearest = std::min(nearest, std::hypot(e.x + u * e.dx - px, e.y + u * e.dy - py));
                    }
                    if (nearest > 2.0 + 1e-9) {
                        return QStringLiteral("%1-%2 strays from its edges").arg(at(a), at(b));
                    }
                }
            }
            if (walked != n) {
                return QStringLiteral("the polygon from %1 goes round %2 edges of %3")
                    .arg(at(polygon[0]))
                    .arg(walked)
                    .arg(n);
            }
        }
    }
    return {};
}

// 5: twice the area in half units is 8 times the area in units.
inline QString areasKept(const std::vector<SmoothedShape>& shapes) {
    for (const SmoothedShape& shape : shapes) {
        Wide twice = 0;
        for (const Polygon& polygon : shape.polygons) {
            for (std::size_t k = 0; k < polygon.size(); ++k) {
                const HalfPoint a = polygon[k], b = polygon[(k + 1) % polygon.size()];
                twice += Wide{a.y} * b.x - Wide{a.x} * b.y; // y down: the outer boundaries count positive
            }
        }
        const Wide off = twice - 8 * Wide{shape.units};
        if (off > shape.corners || -off > shape.corners) {
            return QStringLiteral("a shape of %1 units has area %2/8 (%3 corners)")
                .arg(shape.units)
                .arg(static_cast<double>(twice))
                .arg(shape.corners);
        }
    }
    return {};
}

inline QString everyProperty(const Grid& grid, const std::vector<SmoothedShape>& shapes) {
    for (const QString& failure : {centresOnTheirSides(grid, shapes), polygonsSimple(shapes),
                                   polygonsClose(grid, shapes), areasKept(shapes)}) {
        if (!failure.isEmpty()) {
            return failure;
        }
    }
    return {};
}

} // namespace smooth_properties
