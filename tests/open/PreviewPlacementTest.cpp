// Placement of the preview in the open dialog's 473 x 353 frame.

#include "open/PreviewPlacement.h"

#include <QtTest>

using Branch = PreviewPlacement::Branch;

class PreviewPlacementTest : public QObject {
    Q_OBJECT
private slots:
    void placesTheLoaderBoxInTheFrame_data() {
        QTest::addColumn<QSizeF>("loader");
        QTest::addColumn<int>("branch");
        QTest::addColumn<QRectF>("preview"); // left, top, width, height
        const int fits = int(Branch::Fits), height = int(Branch::FillHeight), width = int(Branch::FillWidth);
        QTest::newRow("the frame's own size fits") << QSizeF(473, 353) << fits << QRectF(0, 0, 473, 353);
        QTest::newRow("small, centred on halves")
            << QSizeF(202, 102) << fits << QRectF(135.5, 125.5, 202, 102);
        QTest::newRow("the loader's design size") << QSizeF(81, 33) << fits << QRectF(196, 160, 81, 33);
        QTest::newRow("full width, lower height fits")
            << QSizeF(473, 300) << fits << QRectF(0, 26.5, 473, 300);
        QTest::newRow("narrower but taller") << QSizeF(300, 400) << height << QRectF(104.125, 0, 264.75, 353);
        QTest::newRow("relatively wider")
            << QSizeF(1002, 502) << width << QRectF(0, 58.01397, 473, 236.97206);
        QTest::newRow("one pixel too wide")
            << QSizeF(474, 353) << width << QRectF(0, 0.3723602, 473, 352.25528);
        QTest::newRow("equal proportions") << QSizeF(946, 706) << height << QRectF(0, 0, 473, 353);
    }
    void placesTheLoaderBoxInTheFrame() {
        QFETCH(QSizeF, loader);
        QFETCH(int, branch);
        QFETCH(QRectF, preview);
        const PreviewPlacement placement(float(loader.width()), float(loader.height()), 473.0f, 353.0f);
        QCOMPARE(int(placement.branch()), branch);
        QCOMPARE(placement.Left(), float(preview.left()));
        QCOMPARE(placement.Top(), float(preview.top()));
        QCOMPARE(placement.Width(), float(preview.width()));
        QCOMPARE(placement.Height(), float(preview.height()));
    }
};

QTEST_MAIN(PreviewPlacementTest)
#include "PreviewPlacementTest.moc"
