// Smooth outlines: the polygons of small grids worked by hand from the chord rule, and on random grids,
// drawn pictures and the sample pictures every property a smooth drawing keeps, with the vertex counts.

#include "SmoothProperties.h"

#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QtTest>

#include <random>

using namespace smooth_properties;

namespace {

// A grid drawn as text, rows from the top: '#' selected.
Grid drawnGrid(const QStringList& rows) {
    Grid grid(rows.isEmpty() ? 0 : static_cast<std::size_t>(rows[0].size()),
              std::vector<bool>(static_cast<std::size_t>(rows.size())));
    for (qsizetype y = 0; y < rows.size(); ++y) {
        for (qsizetype x = 0; x < rows[y].size(); ++x) {
            grid[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] = rows[y][x] == u'#';
        }
    }
    return grid;
}

Grid darkPixels(const QImage& image) {
    Grid grid(static_cast<std::size_t>(image.width()),
              std::vector<bool>(static_cast<std::size_t>(image.height())));
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            grid[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] = qGray(image.pixel(x, y)) < 122;
        }
    }
    return grid;
}

// The pixels whose centres lie within radii `inner` and `outer` of the picture's middle.
Grid ring(int side, double inner, double outer) {
    Grid grid(static_cast<std::size_t>(side), std::vector<bool>(static_cast<std::size_t>(side)));
    for (int x = 0; x < side; ++x) {
        for (int y = 0; y < side; ++y) {
            const double d = std::hypot(x + 0.5 - side / 2.0, y + 0.5 - side / 2.0);
            grid[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] = d >= inner && d <= outer;
        }
    }
    return grid;
}

constexpr const char* PageText =
    "Quillet turns a raster picture into drawing data for CAD programs: points, squares, outlines and "
    "smooth outlines that keep every pixel centre on its side. A circle, a letter's bowl or a slanted "
    "hairline comes out as straight lines and round curves as far as the pixels allow. 0123456789 "
    "ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz (Ring 6/11, disc 20) & more; quod erat.";

// A page of A4 at 300 dpi, full of DejaVu Serif 12 pt drawn without antialiasing.
QImage textPage() {
    QImage page(2480, 3508, QImage::Format_RGB32);
    page.setDotsPerMeterX(11811);
    page.setDotsPerMeterY(11811);
    page.fill(Qt::white);
    QPainter painter(&page);
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPointSize(12);
    font.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(font);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setPen(Qt::black);
    QString text;
    for (int k = 0; k < 12; ++k) {
        text += QLatin1String(PageText) + QLatin1Char(' ');
    }
    painter.drawText(QRect(300, 300, 1880, 2908), Qt::TextWordWrap, text);
    return page;
}

// Corners in half units, as a smoothed shape's outlines hold them.
QString polygonText(const std::vector<OutlineCorner>& polygon) {
    QStringList points;
    for (const OutlineCorner p : polygon) {
        points << QStringLiteral("%1,%2").arg(p.x).arg(p.y);
    }
    return points.join(u' ');
}

struct Counts {
    std::int64_t vertices = 0, corners = 0, midpoint = 0;
};

Counts countsOf(const std::vector<SmoothedShape>& shapes) {
    Counts counts;
    for (const SmoothedShape& shape : shapes) {
        for (const Polygon& polygon : shape.polygons) {
            counts.vertices += static_cast<std::int64_t>(polygon.size());
        }
        counts.corners += shape.corners;
        counts.midpoint += shape.midpointVertices;
    }
    return counts;
}

} // namespace

class SmoothOutlineTest : public QObject {
    Q_OBJECT
private slots:
    // Each shape's polygons in half units (y down), outer first, holes marked, from the vertex the smoothing
    // starts at. Corners are cut through the midpoints of their edges (a chord may pass one turn when the
    // area it moves stays within 1/8 unit per turn); straight and 45 degree runs are one chord; the
    // staircase's chord from (6, 2.5) to (1.5, 0) moves 3/8 unit over 5 turns, one more edge would move 7/8;
    // the L's inner corner is cut from (2, 2.5) to (0.5, 0), the centre (1.5, 1.5) 0.09 unit outside.
    void smallGridsGiveTheChordsWorkedByHand_data() {
        QTest::addColumn<QStringList>("picture");
        QTest::addColumn<QStringList>("polygons");
        QTest::newRow("one pixel") << QStringList{"#"} << QStringList{"0,1 1,2 2,1 1,0"};
        QTest::newRow("2 x 1 domino") << QStringList{"##"} << QStringList{"0,1 1,2 3,2 4,1 3,0 1,0"};
        QTest::newRow("45 degree line of five")
            << QStringList{"#....", ".#...", "..#..", "...#.", "....#"} << QStringList{"0,1 9,10 10,9 1,0"};
        QTest::newRow("1:2 staircase")
            << QStringList{"##....", "####..", "######"} << QStringList{"0,1 0,5 1,6 11,6 12,5 3,0 1,0"};
        QTest::newRow("L") << QStringList{"#.", "#.", "##"} << QStringList{"0,1 0,5 1,6 3,6 4,5 1,0"};
        QTest::newRow("ring") << QStringList{"###", "#.#", "###"}
                              << QStringList{"0,1 0,5 1,6 5,6 6,5 6,1 5,0 1,0", "hole 3,2 4,3 3,4 2,3"};
    }
    void smallGridsGiveTheChordsWorkedByHand() {
        QFETCH(QStringList, picture);
        QFETCH(QStringList, polygons);
        // As the outlines of the smoothed shape, holes marked.
        QStringList smoothed;
        OutlineSmoother smoother;
        for (const SmoothedShape& shape : smoothShapes(drawnGrid(picture))) {
            const TracedShape& smoothedShape = smoother.smoothedShape({shape.units, shape.outlines});
            for (const Outline& polygon : smoothedShape.outlines) {
                smoothed << (polygon.hole ? QStringLiteral("hole ") : QString()) +
                                polygonText(polygon.corners);
            }
        }
        QCOMPARE(smoothed.join(QStringLiteral(" | ")), polygons.join(QStringLiteral(" | ")));
    }

    void everyPropertyHoldsOnRandomGrids() {
        std::mt19937 random(36);
        for (int round = 0; round < 400; ++round) {
            const int w = 1 + static_cast<int>(random() % (round < 300 ? 12 : 48));
            const int h = 1 + static_cast<int>(random() % (round < 300 ? 12 : 48));
            const unsigned density = 20 + random() % 60;
            Grid grid(static_cast<std::size_t>(w), std::vector<bool>(static_cast<std::size_t>(h)));
            for (auto& column : grid) {
                for (std::size_t y = 0; y < column.size(); ++y) {
                    column[y] = random() % 100 < density;
                }
            }
            const std::vector<SmoothedShape> shapes = smoothShapes(grid);
            const QString failure = everyProperty(grid, shapes);
            const Counts counts = countsOf(shapes);
            QVERIFY2(failure.isEmpty(), qPrintable(QStringLiteral("round %1: %2").arg(round).arg(failure)));
            QVERIFY2(counts.vertices <= counts.midpoint, qPrintable(QString::number(round)));
        }
    }

    // `most` is the percentage of the pixel-edge corners the vertices may reach; 0 for no bound.
    void everyPropertyHoldsOnPictures_data() {
        QTest::addColumn<QImage>("image");
        QTest::addColumn<Grid>("grid");
        QTest::addColumn<int>("most");
        QTest::newRow("disc r=20") << QImage() << ring(44, 0, 20) << 50;
        QTest::newRow("ring 6/11") << QImage() << ring(26, 6, 11) << 50;
        QTest::newRow("DejaVu Serif 12 pt at 300 dpi") << textPage() << Grid() << 55;
        for (const char* name : {"stripes.gif", "tiny.gif", "one-pixel.gif", "cmyk.jpg"}) {
            QTest::newRow(name) << QImage(QStringLiteral(QUILLET_TEST_DATA "/") + QLatin1String(name))
                                << Grid() << 0;
        }
    }
    void everyPropertyHoldsOnPictures() {
        QFETCH(QImage, image);
        QFETCH(Grid, grid);
        QFETCH(int, most);
        if (QByteArray(QTest::currentDataTag()).startsWith("DejaVu")) {
            QVERIFY2(QFontDatabase::families().contains(QStringLiteral("DejaVu Serif")),
                     "DejaVu Serif is not installed (fonts-dejavu-core)");
        }
        if (!image.isNull()) {
            grid = darkPixels(image);
        }
        const std::vector<SmoothedShape> shapes = smoothShapes(grid);
        const Counts counts = countsOf(shapes);
        qInfo("%lld vertices, %lld pixel-edge corners, %lld midpoint vertices",
              static_cast<long long>(counts.vertices), static_cast<long long>(counts.corners),
              static_cast<long long>(counts.midpoint));
        const QString failure = everyProperty(grid, shapes);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QVERIFY(counts.vertices <= counts.midpoint);
        QVERIFY(counts.vertices * 100 <= counts.corners * most || most == 0);
    }
};

QTEST_MAIN(SmoothOutlineTest)
#include "SmoothOutlineTest.moc"
