// Placement of the preview in the open dialog's 473 x 353 frame.

#include "open/PreviewPlacement.h"

#include <QtTest>

using Branch = PreviewPlacement::Branch;
Q_DECLARE_METATYPE(PreviewPlacement::Branch)

class PreviewPlacementTest : public QObject {
    Q_OBJECT
private slots:
    void placesTheLoaderBoxInTheFrame_data() {
        QTest::addColumn<float>("loaderWidth");
        QTest::addColumn<float>("loaderHeight");
        QTest::addColumn<Branch>("branch");
        QTest::addColumn<double>("left");
        QTest::addColumn<double>("top");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::newRow("the frame's own size fits")
            << 473.0f << 353.0f << Branch::Fits << 0.0 << 0.0 << 473.0 << 353.0;
        QTest::newRow("small, centred on halves")
            << 202.0f << 102.0f << Branch::Fits << 135.5 << 125.5 << 202.0 << 102.0;
        QTest::newRow("design size of the loader box")
            << 81.0f << 33.0f << Branch::Fits << 196.0 << 160.0 << 81.0 << 33.0;
        QTest::newRow("full width, lower height fits")
            << 473.0f << 300.0f << Branch::Fits << 0.0 << 26.5 << 473.0 << 300.0;
        QTest::newRow("narrower but taller fills the height")
            << 300.0f << 400.0f << Branch::FillHeight << 104.125 << 0.0 << 264.75 << 353.0;
        QTest::newRow("relatively wider fills the width")
            << 1002.0f << 502.0f << Branch::FillWidth << 0.0 << 58.01397 << 473.0 << 236.97206;
        QTest::newRow("one pixel too wide fills the width")
            << 474.0f << 353.0f << Branch::FillWidth << 0.0 << 0.3723602 << 473.0 << 352.25528;
        QTest::newRow("equal proportions fill the height")
            << 946.0f << 706.0f << Branch::FillHeight << 0.0 << 0.0 << 473.0 << 353.0;
    }
    void placesTheLoaderBoxInTheFrame() {
        QFETCH(float, loaderWidth);
        QFETCH(float, loaderHeight);
        QFETCH(Branch, branch);
        QFETCH(double, left);
        QFETCH(double, top);
        QFETCH(double, width);
        QFETCH(double, height);
        const PreviewPlacement placement(loaderWidth, loaderHeight, 473.0f, 353.0f);
        QCOMPARE(placement.branch(), branch);
        // Exact where the values are exact in single precision; otherwise to the single's precision.
        QCOMPARE(placement.Left(), float(left));
        QCOMPARE(placement.Top(), float(top));
        QCOMPARE(placement.Width(), float(width));
        QCOMPARE(placement.Height(), float(height));
    }
};

QTEST_MAIN(PreviewPlacementTest)
#include "PreviewPlacementTest.moc"
