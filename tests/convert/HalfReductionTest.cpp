#include "convert/HalfReduction.h"
#include "PixelCompare.h"
#include "RecordingSteps.h"

#include <QtTest>

namespace {

ColourValue greyAt(int x, int y) {
    const int level = (x * 5 + y * 11) % 256;
    return RGB(level, level, level);
}

PictureSurface greyPicture(int width, int height) {
    PictureSurface surface(0, width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            surface.PSet(float(x), float(y), greyAt(x, y));
        }
    }
    return surface;
}

// The half-resolution window's surface: the opened picture's pixel size, half of it in units.
PictureSurface halfScaled(int width, int height) {
    PictureSurface surface(0, width, height);
    surface.setScaleHeight(height / 2.0f);
    surface.setScaleWidth(width / 2.0f);
    return surface;
}

// Device pixels (x, y) with both even and x below firstBlack hold the grey pixel (x, y); the rest black.
std::function<ColourValue(int, int)> keptPixels(int firstBlack = INT_MAX) {
    return
        [firstBlack](int x, int y) { return x % 2 == 0 && y % 2 == 0 && x < firstBlack ? greyAt(x, y) : 0; };
}

} // namespace

class HalfReductionTest : public QObject {
    Q_OBJECT
private slots:
    void keepsEverySecondPixelOfEverySecondRow_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QList<double>>("percents");
        QTest::newRow("5 x 5") << 5 << 5 << QList<double>{0, 40, 80};
        QTest::newRow("1 x 1") << 1 << 1 << QList<double>{0};
        QTest::newRow("odd height") << 4 << 5 << QList<double>{0, 50};
        QTest::newRow("width 0") << 0 << 0 << QList<double>{};
        QTest::newRow("across blocks") << 600 << 7 << QList<double>{};
    }
    void keepsEverySecondPixelOfEverySecondRow() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QList<double>, percents);
        const PictureSurface source = greyPicture(width, height);
        PictureSurface target = halfScaled(width, height);
        RecordingSteps run;
        reduceToHalf(source, source, target, run.steps);
        QCOMPARE(run.shown.size(), (width + 1) / 2);
        if (!percents.isEmpty()) {
            QCOMPARE(run.percents(), percents);
        }
        QCOMPARE(firstPixelDifference(target, keptPixels()), QString());
        for (int v = 0; 2 * v < height; ++v) {
            for (int u = 0; 2 * u < width; ++u) {
                QCOMPARE(target.Point(float(u), float(v)), greyAt(2 * u, 2 * v));
            }
        }
        QCOMPARE(run.closes, 1);
    }

    void progressTextUsesLowResolutionPrefix() {
        const PictureSurface source = greyPicture(5, 5);
        PictureSurface target = halfScaled(5, 5);
        RecordingSteps run;
        reduceToHalf(source, source, target, run.steps);
        QCOMPARE(run.shown[1].caption, QStringLiteral("转换成低分辨率黑白图片……已经完成:40%"));
        QCOMPARE(run.shown[1].label, QStringLiteral("40%"));
        QCOMPARE(run.shown[1].barWidth, 2454.0);
    }

    void cancelBeforeColumnTenCopiesItAndStops() {
        const PictureSurface source = greyPicture(100, 6);
        PictureSurface target = halfScaled(100, 6);
        RecordingSteps run;
        run.onYield = [&](int yield) {
            if (yield == 6) {
                run.cancelFlag = BooleanTrue;
            }
        };
        reduceToHalf(source, source, target, run.steps);
        QCOMPARE(run.percents(), (QList<double>{0, 2, 4, 6, 8, 10, 12}));
        QCOMPARE(firstPixelDifference(target, keptPixels(12)), QString());
        QCOMPARE(run.flagAtClose, BooleanTrue);
        QCOMPARE(run.cancelFlag, BooleanFalse);
    }

    // Another picture opened after the grey run: the progress passes 100 % and pixels beyond the
    // new target are dropped.
    void narrowerReferenceLetsProgressPassHundred() {
        const PictureSurface source = greyPicture(8, 8);
        const PictureSurface reference(0, 4, 4);
        PictureSurface target = halfScaled(4, 4);
        RecordingSteps run;
        run.frameWidth = 100;
        reduceToHalf(source, reference, target, run.steps);
        QCOMPARE(run.percents(), (QList<double>{0, 50, 100, 150}));
        QCOMPARE(run.shown.last().barWidth, 150.0);
        QCOMPARE(firstPixelDifference(target, keptPixels()), QString());
    }

    void referenceWidthZeroShowsZeroWithEmptyBar() {
        const PictureSurface source = greyPicture(5, 2);
        PictureSurface target = halfScaled(5, 2);
        RecordingSteps run;
        reduceToHalf(source, PictureSurface(), target, run.steps);
        QCOMPARE(run.percents(), (QList<double>{0, 0, 0}));
        QCOMPARE(run.shown.last().barWidth, 0.0);
        QCOMPARE(firstPixelDifference(target, keptPixels()), QString());
    }

    // A unit that is not 2 x 2 pixels goes through the positions: unit 1 of a 3-pixel unit is pixel 3.
    void otherTargetScaleGoesThroughPositions() {
        const PictureSurface source = greyPicture(4, 4);
        PictureSurface target(0, 6, 6);
        target.setScaleWidth(2);
        target.setScaleHeight(2);
        RecordingSteps run;
        reduceToHalf(source, source, target, run.steps);
        QCOMPARE(firstPixelDifference(
                     target, [](int x, int y) { return x % 3 || y % 3 ? 0 : greyAt(x * 2 / 3, y * 2 / 3); }),
                 QString());
    }
};

QTEST_APPLESS_MAIN(HalfReductionTest)
#include "HalfReductionTest.moc"
