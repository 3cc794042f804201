#include "PixelCompare.h"
#include "TestPictures.h"
#include "convert/GreyConversion.h"
#include "convert/GreyLevel.h"
#include "convert/HalfReduction.h"

#include <QtTest>

#include <climits>
#include <vector>

namespace {

// Stands in for the progress dialog: records every display; the cancel flag is set during yield number
// cancelAtYield (counted from 1). The captions are the dialog's, and its test's.
class RecordingDisplay : public ProgressDisplay {
public:
    struct Shown {
        double percent;
        double barWidth;
    };
    double fullBarWidth() const override { return frameWidth; }
    void showProgress(double percent, double barWidth) override { shown.append({percent, barWidth}); }

    double frameWidth = 100;
    Boolean cancelFlag = BooleanFalse;
    int cancelAtYield = 0, yields = 0;
    QList<Shown> shown;
    ConversionSteps steps{*this, cancelFlag,
                          [this] { cancelFlag = ++yields == cancelAtYield ? BooleanTrue : cancelFlag; }};
};

// A grey run on a picture width x 4 into a target `larger` pixels wider and
// taller, in a bar frame of `frame` pixels: the yield during which the flag is set (-1: before the run,
// 0: never), the columns converted and the percentage and bar width shown at column x.
struct GreyRun {
    int width, larger = 0, frame = 100, cancelAtYield = 0, converted, x, percent, bar;
};

// A reduction: the grey picture's size, the opened picture's size (the target's, and W1), the yield during
// which the flag is set (0: never), the percentages shown and the pixels per unit.
struct Reduction {
    const char* name;
    QSize grey, opened;
    int cancelAtYield;
    QList<double> percents;
    int unit = 2;
};

} // namespace

Q_DECLARE_METATYPE(GreyRun)
Q_DECLARE_METATYPE(Reduction)

class ConvertTest : public QObject {
    Q_OBJECT
private slots:
    // The text route and the forms the pixel loops use: both splits give the low three bytes for every
    // colour and a sweep of values with the top byte set; the grey level is (sum + 1) div 3 for every channel
    // sum; the grey row equals the grey of the split for every pixel.
    void fastFormsEqualTextRouteForEveryColour() {
        const auto agree = [](ColourValue colour) {
            const auto value = static_cast<std::uint32_t>(colour);
            const ColourChannels identity{std::int16_t(value & 0xFF), std::int16_t(value >> 8 & 0xFF),
                                          std::int16_t(value >> 16 & 0xFF)};
            return SplitColour(colour) == identity && splitColourBits(colour) == identity;
        };
        QVERIFY(agree(INT_MIN));
        std::vector<QRgb> pixels(1 << 24), grey(pixels.size() + 1);
        for (ColourValue colour = 0; colour <= 0xFFFFFF; ++colour) {
            const std::uint32_t top = colour * 0x9E3779B1u & 0xFF000000u; // any top byte, the sign's too
            if (!agree(colour) || !agree(ColourValue(colour | top))) {
                QFAIL(qPrintable(QString::number(colour, 16)));
            }
            pixels[colour] = storedPixel(colour) ^ top;
        }
        greyStoredRow(pixels.data(), grey.data() + 1, int(pixels.size()));
        for (ColourValue colour = 0; colour <= 0xFFFFFF; ++colour) {
            if (grey[colour + 1] != storedPixel(greyColour(colour))) {
                QFAIL(qPrintable(QString::number(colour, 16)));
            }
        }
        for (int sum = 0; sum <= 765; ++sum) {
            const ColourChannels channels{std::int16_t(std::min(sum, 255)),
                                          std::int16_t(std::clamp(sum - 255, 0, 255)),
                                          std::int16_t(std::max(sum - 510, 0))};
            QCOMPARE(int(GreyLevel(channels)), (sum + 1) / 3);
        }
    }

    void greyRunShowsEachColumnAndStopsAfterACancel_data() {
        QTest::addColumn<GreyRun>("run");
        const auto row = [](const char* tag, const GreyRun& run) { QTest::newRow(tag) << run; };
        row("1 wide", {.width = 1, .frame = 6135, .converted = 2, .x = 1, .percent = 100, .bar = 6135});
        row("3 wide, x 2: rounded down",
            {.width = 3, .frame = 6135, .converted = 4, .x = 2, .percent = 66, .bar = 4090});
        row("100 wide, x 29 falls below 29",
            {.width = 100, .converted = 101, .x = 29, .percent = 28, .bar = 28});
        // Only a larger target shows the reads at column W and row H: white where the target has room.
        row("reads past the edge",
            {.width = 4, .larger = 2, .converted = 5, .x = 4, .percent = 100, .bar = 100});
        row("cancel before column 5",
            {.width = 100, .cancelAtYield = 6, .converted = 6, .x = 6, .percent = 6, .bar = 6});
        row("cancel before the last column of a strip",
            {.width = 300, .cancelAtYield = 128, .converted = 128, .x = 3, .percent = 1, .bar = 1});
        row("cancel before the first column of a strip",
            {.width = 300, .cancelAtYield = 129, .converted = 129, .x = 3, .percent = 1, .bar = 1});
        row("flag already set",
            {.width = 10, .cancelAtYield = -1, .converted = 0, .x = 0, .percent = 0, .bar = 0});
        row("width 0", {.width = 0, .converted = 0, .x = -1, .percent = 0, .bar = 0});
    }
    void greyRunShowsEachColumnAndStopsAfterACancel() {
        QFETCH(GreyRun, run);
        const PictureSurface source = surfaceOf(run.width, 4);
        PictureSurface target(0, run.width + run.larger, 4 + run.larger);
        RecordingDisplay display;
        display.frameWidth = run.frame;
        display.steps.stripPixels = 128 * 5;
        display.cancelAtYield = run.cancelAtYield;
        display.cancelFlag = toBoolean(run.cancelAtYield < 0);
        convertToGrey(source, target, display.steps);
        QCOMPARE(display.shown.size(), run.converted + (run.cancelAtYield != 0)); // a cancel's column shows
        if (run.x >= 0) {
            QCOMPARE(display.shown[run.x].percent, double(run.percent));
            QCOMPARE(display.shown[run.x].barWidth, double(run.bar));
        }
        // The grey pixel by the text route (white outside the source) in the columns and rows walked.
        const auto grey = [&](int x, int y) {
            const std::int16_t level = GreyLevel(SplitColour(source.Point(float(x), float(y))));
            return x < run.converted && y <= 4 ? RGB(level, level, level) : 0;
        };
        QCOMPARE(firstPixelDifference(target, grey), QString());
        QCOMPARE(display.steps.cancelled, run.cancelAtYield != 0);
    }

    void reductionKeepsEverySecondPixelOfEverySecondRow_data() {
        QTest::addColumn<Reduction>("reduction");
        const Reduction reductions[] = {
            {"5 x 5", {5, 5}, {5, 5}, 0, {0, 40, 80}},
            {"1 x 1", {1, 1}, {1, 1}, 0, {0}},
            {"odd height", {4, 5}, {4, 5}, 0, {0, 50}},
            {"width 0", {0, 0}, {0, 0}, 0, {}},
            {"cancel before column 10", {100, 6}, {100, 6}, 6, {0, 2, 4, 6, 8, 10, 12}},
            {"narrower opened picture passes 100", {8, 8}, {4, 4}, 0, {0, 50, 100, 150}},
            {"opened picture of width 0 shows 0", {5, 2}, {0, 0}, 0, {0, 0, 0}},
            {"units of 3 pixels go through positions", {4, 4}, {6, 6}, 0, {0, 33}, 3}};
        for (const Reduction& reduction : reductions) {
            QTest::newRow(reduction.name) << reduction;
        }
    }
    void reductionKeepsEverySecondPixelOfEverySecondRow() {
        QFETCH(Reduction, reduction);
        const PictureSurface source = surfaceOf(reduction.grey.width(), reduction.grey.height());
        PictureSurface target(0, reduction.opened.width(), reduction.opened.height());
        target.setScaleHeight(reduction.opened.height() / float(reduction.unit));
        target.setScaleWidth(reduction.opened.width() / float(reduction.unit));
        RecordingDisplay display;
        display.steps.stripPixels = 4 * 6;
        display.cancelAtYield = reduction.cancelAtYield;
        reduceToHalf(source, PictureSurface(0, reduction.opened.width(), 1), target, display.steps);
        QCOMPARE(display.shown.size(), reduction.percents.size());
        for (qsizetype index = 0; index < display.shown.size(); ++index) {
            QCOMPARE(display.shown[index].percent, reduction.percents[index]);
            QCOMPARE(display.shown[index].barWidth, reduction.percents[index]);
        }
        // Unit (u, v) is device pixel (unit * u, unit * v) and holds grey pixel (2u, 2v).
        const int firstBlack = reduction.cancelAtYield == 0 ? INT_MAX : 2 * reduction.cancelAtYield;
        const auto kept = [&](int x, int y) {
            const int u = x / reduction.unit, v = y / reduction.unit;
            const bool written = x % reduction.unit == 0 && y % reduction.unit == 0 && 2 * u < firstBlack;
            return written ? source.Point(2.0f * u, 2.0f * v) : 0;
        };
        QCOMPARE(firstPixelDifference(target, kept), QString());
        QCOMPARE(display.steps.cancelled, reduction.cancelAtYield != 0);
    }
};

QTEST_APPLESS_MAIN(ConvertTest)
#include "ConvertTest.moc"
