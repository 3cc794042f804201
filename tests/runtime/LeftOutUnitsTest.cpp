// A highlight's left-out units painted unmarked: at 100 % every pixel of them, below that every shown pixel
// whose footprint holds nothing else marked, for pictures of pixels and of 2 x 2 units shown as blocks.

#include "runtime/ShownPicture.h"

#include "DataRows.h"

#include <QPainter>
#include <QtTest>

#include <memory>

namespace {

struct Painting {
    double zoom;
    int block; // pixels along a unit, of the picture and of the units left out
    QList<QPoint> leftOut;
    QList<QPoint> unmarked; // shown pixels
};

constexpr QRgb Marked = 0xFFFF0000u;

// 8 x 4 black pixels, every one of them marked but for the units left out.
QList<QPoint> unmarkedWhenPainted(const Painting& painting) {
    QImage stored(8, 4, QImage::Format_RGB32);
    stored.fill(Qt::black);
    auto leftOut =
        std::make_shared<LeftOutUnits>(QSize(8 / painting.block, 4 / painting.block), painting.block);
    for (const QPoint unit : painting.leftOut) {
        leftOut->add(unit.x(), unit.y());
    }
    ShownPicture shown;
    shown.setZoom(painting.zoom);
    shown.setUnitBlock(painting.block);
    shown.setHighlight(SumHighlight{selectedSums(ExportPolarity::Black, 122), Marked, leftOut});
    QImage painted(shown.shownLength(8), shown.shownLength(4), QImage::Format_RGB32);
    painted.fill(Qt::white);
    {
        QPainter painter(&painted);
        shown.paint(painter, QPoint(0, 0), stored, painted.rect());
    }
    QList<QPoint> unmarked;
    for (int y = 0; y < painted.height(); ++y) {
        for (int x = 0; x < painted.width(); ++x) {
            if (painted.pixel(x, y) != Marked) {
                unmarked.append({x, y});
            }
        }
    }
    return unmarked;
}

} // namespace

Q_DECLARE_METATYPE(Painting)

class LeftOutUnitsTest : public QObject {
    Q_OBJECT
private slots:
    void leftOutUnitsAreShownUnmarked_data() {
        addRows<Painting>({
            {"none left out", {1.0, 1, {}, {}}},
            {"100 %: a pixel", {1.0, 1, {{2, 1}, {7, 3}}, {{2, 1}, {7, 3}}}},
            {"100 %: a unit as its block", {1.0, 2, {{1, 0}}, {{2, 0}, {3, 0}, {2, 1}, {3, 1}}}},
            {"50 %: a whole footprint", {0.5, 1, {{2, 0}, {3, 0}, {2, 1}, {3, 1}}, {{1, 0}}}},
            {"50 %: part of a footprint stays marked", {0.5, 1, {{2, 0}, {3, 1}}, {}}},
            {"50 %: units of 2, one a shown pixel", {0.5, 2, {{1, 0}, {3, 1}}, {{1, 0}, {3, 1}}}},
            {"25 %: units of 2, two to a shown pixel", {0.25, 2, {{2, 0}, {3, 0}, {2, 1}}, {}}},
        });
    }
    void leftOutUnitsAreShownUnmarked() {
        QFETCH(Painting, row);
        QCOMPARE(unmarkedWhenPainted(row), row.unmarked);
    }
};

QTEST_MAIN(LeftOutUnitsTest)
#include "LeftOutUnitsTest.moc"
