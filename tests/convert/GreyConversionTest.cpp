#include "convert/GreyConversion.h"
#include "PixelCompare.h"
#include "RecordingSteps.h"
#include "convert/ColourSplit.h"
#include "convert/GreyLevel.h"
#include "runtime/RuntimeError.h"

#include <QtTest>

namespace {

// Varied colours, different in every column and row.
PictureSurface patterned(int width, int height) {
    PictureSurface surface(0, width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            surface.PSet(float(x), float(y), RGB(x * 7 % 256, (x + y * 13) % 256, (x * y + 3) % 256));
        }
    }
    return surface;
}

// The grey pixel by the text route, or black for the columns from firstBlack on.
std::function<ColourValue(int, int)> greyOf(const PictureSurface& source, int firstBlack = INT_MAX) {
    return [&source, firstBlack](int x, int y) {
        const std::int16_t level = GreyLevel(SplitColour(source.Point(float(x), float(y))));
        return x < firstBlack ? RGB(level, level, level) : 0;
    };
}

} // namespace

class GreyConversionTest : public QObject {
    Q_OBJECT
private slots:
    void greyLevelIsRoundedMean_data() {
        QTest::addColumn<int>("colour");
        QTest::addColumn<int>("level");
        QTest::newRow("255,0,0") << RGB(255, 0, 0) << 85;
        QTest::newRow("255,255,0") << RGB(255, 255, 0) << 170;
        QTest::newRow("255,255,255") << RGB(255, 255, 255) << 255;
        QTest::newRow("1,0,0") << RGB(1, 0, 0) << 0;
        QTest::newRow("1,1,0") << RGB(1, 1, 0) << 1;
        QTest::newRow("200,100,50") << RGB(200, 100, 50) << 117;
    }
    void greyLevelIsRoundedMean() {
        QFETCH(int, colour);
        QFETCH(int, level);
        PictureSurface source(colour, 7, 5);
        PictureSurface target(0, 7, 5);
        RecordingSteps run;
        convertToGrey(source, target, run.steps);
        QCOMPARE(firstPixelDifference(target, [&](int, int) { return RGB(level, level, level); }), QString());
    }

    void progressStepsPerColumn_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<double>("frame");
        QTest::addColumn<int>("x");
        QTest::addColumn<double>("percent");
        QTest::addColumn<double>("bar");
        QTest::newRow("1 wide, first") << 1 << 6135.0 << 0 << 0.0 << 0.0;
        QTest::newRow("1 wide, past the end") << 1 << 6135.0 << 1 << 100.0 << 6135.0;
        QTest::newRow("3 wide, x 1") << 3 << 6135.0 << 1 << 33.0 << 2045.0;
        QTest::newRow("3 wide, x 2") << 3 << 6135.0 << 2 << 66.0 << 4090.0;
        QTest::newRow("3 wide, x 3") << 3 << 6135.0 << 3 << 100.0 << 6135.0;
        QTest::newRow("100 wide, x 29 below 29") << 100 << 100.0 << 29 << 28.0 << 28.0;
        QTest::newRow("100 wide, x 100") << 100 << 100.0 << 100 << 100.0 << 100.0;
    }
    void progressStepsPerColumn() {
        QFETCH(int, width);
        QFETCH(double, frame);
        QFETCH(int, x);
        QFETCH(double, percent);
        QFETCH(double, bar);
        PictureSurface source = patterned(width, 2);
        PictureSurface target(0, width, 2);
        RecordingSteps run;
        run.frameWidth = frame;
        convertToGrey(source, target, run.steps);
        QCOMPARE(run.shown.size(), width + 1);
        QCOMPARE(run.yields, width + 1);
        const QString text = QString::number(percent) + u'%';
        QCOMPARE(run.shown[x].caption, ToBlackCaptionPrefix.toString() + text);
        QCOMPARE(run.shown[x].label, text);
        QCOMPARE(run.shown[x].percent, percent);
        QCOMPARE(run.shown[x].barWidth, bar);
        QCOMPARE(firstPixelDifference(target, greyOf(source)), QString());
        QCOMPARE(run.closes, 1);
    }

    void wholePictureAcrossBlocksMatchesTextRoute() {
        PictureSurface source = patterned(300, 9);
        PictureSurface target(0, 300, 9);
        RecordingSteps run;
        convertToGrey(source, target, run.steps);
        QCOMPARE(firstPixelDifference(target, greyOf(source)), QString());
    }

    // A larger target shows what the reads at column W and row H give: white, written where the
    // target has room; a target of the same size never sees them.
    void readsPastTheEdgeAreWhiteAndLandOnlyInALargerTarget() {
        PictureSurface source = patterned(4, 3);
        PictureSurface target(0, 6, 5);
        RecordingSteps run;
        convertToGrey(source, target, run.steps);
        QCOMPARE(firstPixelDifference(target,
                                      [&](int x, int y) {
                                          if (x > 4 || y > 3) {
                                              return 0;
                                          }
                                          return x == 4 || y == 3 ? RGB(255, 255, 255) : greyOf(source)(x, y);
                                      }),
                 QString());
    }

    void cancelDuringYieldStopsAtNextColumn_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("cancelColumn");
        QTest::newRow("before column 5") << 100 << 5;
        QTest::newRow("last column of a block") << 300 << 127;
        QTest::newRow("first column of a block") << 300 << 128;
        QTest::newRow("inside the second block") << 300 << 200;
    }
    void cancelDuringYieldStopsAtNextColumn() {
        QFETCH(int, width);
        QFETCH(int, cancelColumn);
        PictureSurface source = patterned(width, 4);
        PictureSurface target(0, width, 4);
        RecordingSteps run;
        run.onYield = [&](int yield) {
            if (yield == cancelColumn + 1) {
                run.cancelFlag = BooleanTrue;
            }
        };
        convertToGrey(source, target, run.steps);
        QCOMPARE(run.shown.size(), cancelColumn + 2);
        QCOMPARE(run.shown.last().percent, std::floor((cancelColumn + 1.0) / width * 100.0));
        QCOMPARE(firstPixelDifference(target, greyOf(source, cancelColumn + 1)), QString());
        QCOMPARE(run.closes, 1);
        QCOMPARE(run.flagAtClose, BooleanTrue);
        QCOMPARE(run.cancelFlag, BooleanFalse);
    }

    void flagAlreadySetShowsOnlyZeroAndConvertsNothing() {
        PictureSurface source = patterned(10, 3);
        PictureSurface target(0, 10, 3);
        RecordingSteps run;
        run.cancelFlag = BooleanTrue;
        convertToGrey(source, target, run.steps);
        QCOMPARE(run.percents(), QList<double>{0});
        QCOMPARE(run.yields, 0);
        QCOMPARE(firstPixelDifference(target, [](int, int) { return 0; }), QString());
        QCOMPARE(run.closes, 1);
        QCOMPARE(run.cancelFlag, BooleanFalse);
    }

    void widthZeroGoesStraightToClosing() {
        PictureSurface source;
        PictureSurface target;
        RecordingSteps run;
        run.cancelFlag = BooleanTrue;
        convertToGrey(source, target, run.steps);
        QVERIFY(run.shown.isEmpty());
        QCOMPARE(run.closes, 1);
        QCOMPARE(run.cancelFlag, BooleanFalse);
    }

    void errorInAStepKeepsEarlierColumnsAndSkipsClosing() {
        PictureSurface source = patterned(300, 3);
        PictureSurface target(0, 300, 3);
        RecordingSteps run;
        run.onYield = [](int yield) {
            if (yield == 131) {
                throw RuntimeError::overflow();
            }
        };
        QVERIFY_THROWS_EXCEPTION(RuntimeError, convertToGrey(source, target, run.steps));
        QCOMPARE(firstPixelDifference(target, greyOf(source, 130)), QString());
        QCOMPARE(run.closes, 0);
    }
};

QTEST_APPLESS_MAIN(GreyConversionTest)
#include "GreyConversionTest.moc"
