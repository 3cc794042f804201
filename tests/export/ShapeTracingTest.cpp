// The shapes of a selection as the export's point selection hands them over: their exact outlines on
// small grids, and on random grids the rules every tracing keeps, the counts and the speck filter.

#include "FormatExport.h"
#include "export/SelectionShapes.h"

#include <QtTest>

#include <map>
#include <memory>
#include <random>
#include <set>
#include <utility>

namespace {

// A picture drawn as text, rows from the top: '#' black, anything else white.
PictureSurface drawnPicture(const QStringList& rows) {
    const int width = rows.isEmpty() ? 0 : static_cast<int>(rows[0].size());
    return greyPicture(greyLevels(width, static_cast<int>(rows.size()),
                                  [&rows](int x, int y) { return rows[y][x] == u'#' ? 0 : 255; }));
}

// The shapes of the picture's black data at 122, as a drawing's export selects them.
std::unique_ptr<SelectionShapes> shapesOf(const PictureSurface& picture, std::int64_t minimumArea = 0) {
    auto shapes = std::make_unique<SelectionShapes>(
        PointSelection::unitGrid(picture, PointNumbering::PixelsFromZero), minimumArea);
    FixedExportControls controls(ExportPolarity::Black, 122);
    PointSelection(controls, PointNumbering::PixelsFromZero).run(picture, *shapes);
    return shapes;
}

QStringList cornerTexts(const Outline& outline) {
    QStringList corners;
    for (const OutlineCorner& corner : outline.corners) {
        corners << QStringLiteral("%1,%2").arg(corner.x).arg(corner.y);
    }
    return corners;
}

// `traced` written from `start`, its first occurrence whose next corner is `next` (a corner the
// outline passes twice), else the first; empty when the outline does not pass `start`.
QStringList fromCorner(const QStringList& traced, const QString& start, const QString& next) {
    QStringList from;
    for (qsizetype at = 0; at < traced.size(); ++at) {
        if (traced[at] == start && (from.isEmpty() || traced[(at + 1) % traced.size()] == next)) {
            from = traced.mid(at) + traced.mid(0, at);
        }
    }
    return from;
}

// A shape as "units: outer | hole | ...", each outline from the corner the expected one starts with.
QString shapeText(const TracedShape& shape, const QStringList& expectedOutlines) {
    QStringList outlines;
    for (std::size_t k = 0; k < shape.outlines.size(); ++k) {
        const QStringList traced = cornerTexts(shape.outlines[k]);
        const QStringList expected = k < static_cast<std::size_t>(expectedOutlines.size())
                                         ? expectedOutlines[static_cast<qsizetype>(k)].split(u' ')
                                         : QStringList();
        const QStringList from =
            expected.size() > 1 ? fromCorner(traced, expected[0], expected[1]) : QStringList();
        outlines << (shape.outlines[k].hole == (k > 0) ? QString() : QStringLiteral("wrong kind: ")) +
                        (from.isEmpty() ? traced : from).join(u' ');
    }
    return QStringLiteral("%1: %2").arg(shape.units).arg(outlines.join(QStringLiteral(" | ")));
}

using Grid = std::vector<std::vector<bool>>; // [x][y]

// Shapes of the grid by a plain flood fill: through edges and corners, or through edges only.
std::vector<std::vector<int>> labels(const Grid& grid, bool value, bool corners, int& count) {
    const int width = static_cast<int>(grid.size());
    const int height = width == 0 ? 0 : static_cast<int>(grid[0].size());
    std::vector<std::vector<int>> label(width, std::vector<int>(height, -1));
    count = 0;
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            if (grid[x][y] != value || label[x][y] >= 0) {
                continue;
            }
            std::vector<std::pair<int, int>> open{{x, y}};
            label[x][y] = count;
            while (!open.empty()) {
                const auto [u, v] = open.back();
                open.pop_back();
                for (int du = -1; du <= 1; ++du) {
                    for (int dv = -1; dv <= 1; ++dv) {
                        const int nu = u + du;
                        const int nv = v + dv;
                        if ((du == 0) == (dv == 0) && !corners) {
                            continue;
                        }
                        if (nu >= 0 && nu < width && nv >= 0 && nv < height && grid[nu][nv] == value &&
                            label[nu][nv] < 0) {
                            label[nu][nv] = count;
                            open.emplace_back(nu, nv);
                        }
                    }
                }
            }
            ++count;
        }
    }
    return label;
}

} // namespace

class ShapeTracingTest : public QObject {
    Q_OBJECT
private slots:
    // Each shape "units: outer | holes" in the order the shapes end, each outline from a named corner on;
    // y down, each outline going down the left sides of its shape's units (counter-clockwise as the
    // picture is seen).
    void outlinesFollowTheUnitsExactly_data() {
        QTest::addColumn<QStringList>("picture");
        QTest::addColumn<bool>("half");
        QTest::addColumn<QStringList>("shapes");
        QTest::newRow("one pixel") << QStringList{"#"} << false << QStringList{"1: 0,0 0,1 1,1 1,0"};
        QTest::newRow("ring") << QStringList{"###", "#.#", "###"} << false
                              << QStringList{"8: 0,0 0,3 3,3 3,0 | 1,1 2,1 2,2 1,2"};
        QTest::newRow("a hole inside a shape inside a hole")
            << QStringList{"#######", "#.....#", "#.###.#", "#.#.#.#", "#.###.#", "#.....#", "#######"}
            << false
            << QStringList{"8: 2,2 2,5 5,5 5,2 | 3,3 4,3 4,4 3,4", "24: 0,0 0,7 7,7 7,0 | 1,1 6,1 6,6 1,6"};
        // The narrow hole is met first, at its right side; holes come by their first corners.
        QTest::newRow("holes met out of their corners' order")
            << QStringList{"#######", "#.....#", "#######", "#.#####", "#######"} << false
            << QStringList{"29: 0,0 0,5 7,5 7,0 | 1,1 6,1 6,2 1,2 | 1,3 2,3 2,4 1,4"};
        QTest::newRow("two pixels touching at a corner")
            << QStringList{"#.", ".#"} << false << QStringList{"2: 0,0 0,1 1,1 1,2 2,2 2,1 1,1 1,0"};
        QTest::newRow("45 degree line down")
            << QStringList{"#..", ".#.", "..#"} << false
            << QStringList{"3: 0,0 0,1 1,1 1,2 2,2 2,3 3,3 3,2 2,2 2,1 1,1 1,0"};
        QTest::newRow("45 degree line up")
            << QStringList{"..#", ".#.", "#.."} << false
            << QStringList{"3: 0,2 0,3 1,3 1,2 2,2 2,1 3,1 3,0 2,0 2,1 1,1 1,2"};
        QTest::newRow("ring whose hole touches the outside at a corner")
            << QStringList{".##", "#.#", "###"} << false
            << QStringList{"7: 0,1 0,3 3,3 3,0 1,0 1,1 | 1,1 2,1 2,2 1,2"};
        QTest::newRow("checkerboard")
            << QStringList{"#.#.", ".#.#", "#.#.", ".#.#"} << false
            << QStringList{"8: 0,0 0,1 1,1 1,2 0,2 0,3 1,3 1,4 2,4 2,3 3,3 3,4 4,4 4,3 3,3 3,2 4,2 4,1 3,1 "
                           "3,0 2,0 2,1 1,1 1,0 | 1,2 2,2 2,3 1,3 | 2,1 3,1 3,2 2,2"};
        QTest::newRow("U") << QStringList{"#.#", "#.#", "###"} << false
                           << QStringList{"7: 0,0 0,3 3,3 3,0 2,0 2,2 1,2 1,0"};
        // On the left, top, right and bottom borders, in the order they end.
        QTest::newRow("shapes on every border") << QStringList{"##.#", "...#", "#...", "#.##"} << false
                                                << QStringList{"2: 0,2 0,4 1,4 1,2", "2: 0,0 0,1 2,1 2,0",
                                                               "2: 3,0 3,2 4,2 4,0", "2: 2,3 2,4 4,4 4,3"};
        // Units are the pixels (2i, 2j) of 5 x 3 pixels: 3 x 2 units, the last unit white.
        QTest::newRow("half, odd width")
            << QStringList{"#####", ".....", "####."} << true << QStringList{"5: 0,0 0,2 2,2 2,1 3,1 3,0"};
        QTest::newRow("nothing selected") << QStringList{"...", "..."} << false << QStringList{};
    }
    void outlinesFollowTheUnitsExactly() {
        QFETCH(QStringList, picture);
        QFETCH(bool, half);
        QFETCH(QStringList, shapes);
        const auto traced = shapesOf(half ? halfOf(drawnPicture(picture)) : drawnPicture(picture));
        QStringList got;
        traced->forEachShape([&](const TracedShape& shape) {
            const qsizetype at = got.size();
            got << shapeText(shape,
                             at < shapes.size()
                                 ? shapes[at].section(QStringLiteral(": "), 1).split(QStringLiteral(" | "))
                                 : QStringList());
        });
        QCOMPARE(got, shapes);
    }

    // Random grids of black units (every height beyond a stretch of 64 rows), traced with a speck filter:
    // every edge between a kept and another unit lies in exactly one outline, once, with its shape on the
    // outline's left as the picture is seen; outlines have corners only, each starting at its first
    // corner, the holes in the order of their first corners; the outlines' even-odd inside is the kept units;
    // each shape's units are its outlines' signed area and one 8-connected part of the kept units; outlines
    // of different shapes share no point; the counts agree with what was traced, and outlines are the shapes
    // and their 4-connected holes.
    void randomGridsTraceByTheRules_data() {
        QTest::addColumn<int>("seed");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("percent"); // of units black
        QTest::addColumn<int>("minimumArea");
        QTest::newRow("one unit") << 1 << QSize(1, 1) << 100 << 0;
        QTest::newRow("sparse") << 2 << QSize(40, 30) << 25 << 0;
        QTest::newRow("grain") << 3 << QSize(41, 150) << 50 << 0;
        QTest::newRow("dense") << 4 << QSize(64, 64) << 70 << 0;
        QTest::newRow("a shape of thousands of holes") << 11 << QSize(160, 150) << 75 << 0;
        QTest::newRow("grain without specks") << 5 << QSize(57, 70) << 50 << 4;
        QTest::newRow("sparse without specks") << 6 << QSize(30, 130) << 35 << 3;
        QTest::newRow("a minimum above every shape") << 7 << QSize(20, 20) << 30 << 1000;
        QTest::newRow("all black") << 8 << QSize(9, 70) << 100 << 0;
        QTest::newRow("one column") << 9 << QSize(1, 90) << 50 << 0;
        QTest::newRow("one row") << 10 << QSize(90, 1) << 50 << 2;
    }
    void randomGridsTraceByTheRules() {
        QFETCH(int, seed);
        QFETCH(QSize, size);
        QFETCH(int, percent);
        QFETCH(int, minimumArea);
        const int width = size.width();
        const int height = size.height();
        std::mt19937 random(static_cast<unsigned>(seed));
        Grid black(width, std::vector<bool>(height));
        for (auto& column : black) {
            for (auto&& unit : column) {
                unit = static_cast<int>(random() % 100) < percent;
            }
        }
        int parts = 0;
        const auto part = labels(black, true, true, parts);
        std::vector<std::int64_t> partUnits(static_cast<std::size_t>(parts));
        for (int x = 0; x < width; ++x) {
            for (int y = 0; y < height; ++y) {
                partUnits[static_cast<std::size_t>(std::max(part[x][y], 0))] += black[x][y];
            }
        }
        Grid kept = black;
        std::int64_t keptUnits = 0;
        for (int x = 0; x < width; ++x) {
            for (int y = 0; y < height; ++y) {
                kept[x][y] = black[x][y] && partUnits[static_cast<std::size_t>(part[x][y])] >= minimumArea;
                keptUnits += kept[x][y];
            }
        }
        int keptParts = 0;
        labels(kept, true, true, keptParts);
        int whiteParts = 0;
        const auto white = labels(kept, false, false, whiteParts);
        std::set<int> outside;
        for (int x = 0; x < width; ++x) {
            for (int y = 0; y < height; ++y) {
                if (x == 0 || y == 0 || x == width - 1 || y == height - 1) {
                    outside.insert(white[x][y]);
                }
            }
        }
        outside.erase(-1);
        const auto isKept = [&](int x, int y) {
            return x >= 0 && y >= 0 && x < width && y < height && kept[x][y];
        };

        const auto shapes = shapesOf(
            greyPicture(greyLevels(width, height, [&](int x, int y) { return black[x][y] ? 0 : 255; })),
            minimumArea);
        for (int x = 0; x < width; ++x) {
            for (int y = 0; y < height; ++y) {
                const std::uint16_t sums[1] = {};
                QCOMPARE(shapes->keptRows({x, y, 1, 1, sums}), std::uint64_t{kept[x][y]});
            }
        }

        // A unit edge by its first corner in column order and whether it runs down; the units on the left
        // and right of travel east, south, west and north from a corner (x, y), as the picture is seen.
        const int leftX[4] = {0, 0, -1, -1}, leftY[4] = {-1, 0, 0, -1};
        std::set<std::tuple<int, int, bool>> edges;
        std::map<std::pair<int, int>, std::int64_t> pointShape;
        std::vector<std::vector<int>> crossings(width + 1, std::vector<int>(height)); // down or up at (x, y)
        std::int64_t traced = 0, outlines = 0, corners = 0, units = 0;
        // Shapes come in the order they end: by their last column, then their first unit there.
        std::vector<std::pair<int, int>> partEnd(static_cast<std::size_t>(parts), {-1, 0});
        for (int x = 0; x < width; ++x) {
            for (int y = height - 1; y >= 0; --y) {
                if (black[x][y]) {
                    partEnd[static_cast<std::size_t>(part[x][y])] = {x, y};
                }
            }
        }
        std::pair<int, int> lastEnd{-1, 0};
        QStringList faults;
        shapes->forEachShape([&](const TracedShape& shape) {
            const auto fault = [&](const QString& what, OutlineCorner at) {
                faults << QStringLiteral("shape %1 at %2,%3: %4").arg(traced).arg(at.x).arg(at.y).arg(what);
            };
            const OutlineCorner first = shape.outlines.front().corners.front();
            for (std::size_t k = 2; k < shape.outlines.size(); ++k) {
                const OutlineCorner a = shape.outlines[k - 1].corners.front();
                const OutlineCorner b = shape.outlines[k].corners.front();
                if (std::pair{b.x, b.y} < std::pair{a.x, a.y}) {
                    fault(QStringLiteral("hole out of order"), b);
                }
            }
            std::int64_t area = 0;
            std::set<int> partsSeen;
            for (const Outline& outline : shape.outlines) {
                const auto& points = outline.corners;
                std::int64_t twice = 0;
                for (std::size_t k = 0; k < points.size(); ++k) {
                    const OutlineCorner a = points[k];
                    const OutlineCorner b = points[(k + 1) % points.size()];
                    const OutlineCorner c = points[(k + 2) % points.size()];
                    twice += std::int64_t{a.y} * b.x - std::int64_t{a.x} * b.y;
                    const int dx = (b.x > a.x) - (b.x < a.x), dy = (b.y > a.y) - (b.y < a.y);
                    const int ex = (c.x > b.x) - (c.x < b.x), ey = (c.y > b.y) - (c.y < b.y);
                    if ((dx != 0) == (dy != 0) || (ex != 0) == (ey != 0) || dx * ex + dy * ey != 0) {
                        fault(QStringLiteral("no corner"), b);
                    }
                    if (std::pair{b.x, b.y} < std::pair{points[0].x, points[0].y}) {
                        fault(QStringLiteral("before the outline's start"), b);
                    }
                    const int direction = dx > 0 ? 0 : dy > 0 ? 1 : dx < 0 ? 2 : 3;
                    const int right =
                        (direction + 1) % 4; // the unit on the right lies where the next's left does
                    for (OutlineCorner at = a; at != b; at = {at.x + dx, at.y + dy}) {
                        const int insideX = at.x + leftX[direction], insideY = at.y + leftY[direction];
                        const bool down = dy != 0;
                        const std::tuple<int, int, bool> edge{std::min(at.x, at.x + dx),
                                                              std::min(at.y, at.y + dy), down};
                        if (!edges.insert(edge).second || !isKept(insideX, insideY) ||
                            isKept(at.x + leftX[right], at.y + leftY[right])) {
                            fault(QStringLiteral("edge towards %1").arg(direction), at);
                        } else {
                            partsSeen.insert(part[insideX][insideY]);
                        }
                        if (down) {
                            ++crossings[at.x][std::min(at.y, at.y + dy)];
                        }
                        const auto [owner, fresh] = pointShape.emplace(std::pair{at.x, at.y}, traced);
                        if (!fresh && owner->second != traced) {
                            fault(QStringLiteral("meets shape %1").arg(owner->second), at);
                        }
                    }
                }
                if ((twice > 0) == outline.hole) {
                    fault(QStringLiteral("runs the wrong way"), points[0]);
                }
                area += twice / 2;
                corners += static_cast<std::int64_t>(points.size());
            }
            if (partsSeen.size() != 1 || area != shape.units ||
                shape.units != partUnits[static_cast<std::size_t>(*partsSeen.begin())]) {
                fault(QStringLiteral("%1 units, area %2").arg(shape.units).arg(area), first);
            } else if (partEnd[static_cast<std::size_t>(*partsSeen.begin())] <= lastEnd) {
                fault(QStringLiteral("out of order"), first);
            } else {
                lastEnd = partEnd[static_cast<std::size_t>(*partsSeen.begin())];
            }
            units += shape.units;
            outlines += static_cast<std::int64_t>(shape.outlines.size());
            ++traced;
        });
        QCOMPARE(faults.mid(0, 5), QStringList());

        std::size_t boundary = 0;
        for (int x = 0; x < width; ++x) {
            for (int y = 0; y < height; ++y) {
                if (kept[x][y]) {
                    boundary += !isKept(x - 1, y) + !isKept(x + 1, y) + !isKept(x, y - 1) + !isKept(x, y + 1);
                }
            }
        }
        QCOMPARE(edges.size(), boundary);
        for (int y = 0; y < height; ++y) {
            int inside = 0;
            for (int x = 0; x < width; ++x) {
                inside ^= crossings[x][y] & 1;
                QVERIFY2((inside != 0) == kept[x][y], qPrintable(QStringLiteral("unit %1,%2").arg(x).arg(y)));
            }
        }
        QCOMPARE(traced, std::int64_t{keptParts});
        QCOMPARE(outlines, std::int64_t{keptParts + whiteParts} - static_cast<std::int64_t>(outside.size()));
        QCOMPARE(units, keptUnits);
        QCOMPARE((QList<qint64>{shapes->shapeCount(), shapes->outlineCount(), shapes->cornerCount(),
                                shapes->keptUnits()}),
                 (QList<qint64>{traced, outlines, corners, units}));
        // Traced again, the same.
        std::int64_t again = 0;
        shapes->forEachShape(
            [&](const TracedShape& shape) { again += static_cast<std::int64_t>(shape.outlines.size()); });
        QCOMPARE(again, outlines);
    }
};

QTEST_GUILESS_MAIN(ShapeTracingTest)
#include "ShapeTracingTest.moc"
