// What an export selects: the selection and the wide records checked against plain ones for every sum and
// stretch length, the records, progress and header the point-data file gets, and the count of the points
// and the file's size stated before any export, with Otsu's threshold.

#include "FormatExport.h"
#include "PointFiles.h"
#include "export/ColumnRuns.h"
#include "export/MergedRectangles.h"
#include "export/SelectedRows.h"
#include "export/StretchRecords.h"
#include "export/SumHistogram.h"

#include <QtTest>

#include <numeric>
#include <random>
#include <vector>

namespace {

// Counts the column runs, as the drawing formats' sinks find them before merging columns.
class RunCounter : public PointSink {
public:
    explicit RunCounter(int rows) : merged(static_cast<std::size_t>(std::max(rows, 0))) {}
    void addStretch(const ColumnStretch& stretch) override { merged.addStretch(stretch); }
    void endColumn(std::int32_t x) override {
        merged.endColumn(x, [](const UnitRectangle&) {});
    }
    void finish() override {}
    MergedRectangles merged;
};

constexpr ExportPolarity Polarities[] = {ExportPolarity::Black, ExportPolarity::White};

} // namespace

Q_DECLARE_METATYPE(PictureSurface)

class RecordExportTest : public QObject {
    Q_OBJECT
private slots:
    // Every sum from 0 to 765, both polarities, thresholds at and around the ends, stretches of every
    // length up to 64, and sums past the stretch that would pass if they were read as part of it: the
    // selection must be the rule's, and the wide records exactly the portable ones' bytes.
    void selectionAndRecordsHoldForEverySumAndLength() {
        const StretchRecordsFunction wide = wideStretchRecords();
        std::vector<std::uint16_t> sums(766);
        std::iota(sums.begin(), sums.end(), std::uint16_t{0});
        std::shuffle(sums.begin(), sums.end(), std::mt19937(7));
        sums.insert(sums.end(), 64, 0);
        std::vector<char> expected(24 * (64 + StretchSlack));
        std::vector<char> stored(expected.size());
        for (const ExportPolarity polarity : Polarities) {
            for (const int threshold : {0, 1, 122, 254, 255}) {
                const SelectedSums selected = selectedSums(polarity, threshold);
                for (std::size_t first = 0, count = 1; first + count <= 766;
                     first += count, count = count % 64 + 1) {
                    const std::uint16_t* const at = sums.data() + first;
                    std::uint64_t plain = 0;
                    for (std::size_t i = 0; i < count; ++i) {
                        plain |= std::uint64_t{isSelected(polarity, threshold, at[i])} << i;
                    }
                    const ColumnStretch stretch{7, 100 + int(first), count, selectedRows(at, count, selected),
                                                at};
                    QCOMPARE(stretch.selected, plain);
                    const std::size_t portableKept = storeStretchRecordsPortable(expected.data(), stretch);
                    QCOMPARE(portableKept, std::size_t(std::popcount(plain)));
                    if (wide) {
                        QCOMPARE(wide(stored.data(), stretch), portableKept);
                        QCOMPARE(QByteArray(stored.data(), qsizetype(24 * portableKept)),
                                 QByteArray(expected.data(), qsizetype(24 * portableKept)));
                    }
                }
            }
        }
        QCOMPARE(selectedRows(sums.data(), 64, selectedSums(ExportPolarity::None, 133)), std::uint64_t{0});
        if (!wide) {
            QSKIP("this processor has no wide version: the portable one alone was checked");
        }
    }

    // The worked example's black and white data, the half-resolution units (pixel (2u, 2v); a unit past the
    // picture reads white) and an empty picture: the records, the header and the progress shown.
    void recordsFollowPolarityAndThreshold_data() {
        QTest::addColumn<PictureSurface>("picture");
        QTest::addColumn<bool>("white");
        QTest::addColumn<int>("threshold");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<QList<double>>("percents");
        const auto half = [](int width) {
            return halfOf(greyPicture(greyLevels(width, 5, [](int x, int y) { return 10 * x + y; })));
        };
        const auto row = [](const char* tag, const PictureSurface& picture, bool white, int threshold,
                            const QByteArray& expected, const QList<double>& percents) {
            QTest::newRow(tag) << picture << white << threshold << expected << percents;
        };
        const PictureSurface worked = greyPicture(workedLevels());
        row("black data at 122: the worked example", worked, false, 122,
            pointRecords({{3, 3, 0}, {1, 1, 40}, {2, 1, 121}}), QList<double>{33, 66, 100});
        row("white data: outside reads are white", worked, true, 122,
            pointRecords({{3, 3, 0}, {1, 2, 130}, {1, 3, 255}, {2, 2, 200}, {2, 3, 255}}) +
                pointRecords({{3, 1, 255}, {3, 2, 255}, {3, 3, 255}}),
            QList<double>{33, 66, 100});
        row("half, 5 x 5", half(5), true, 0,
            pointRecords({{5, 5, 0}, {1, 1, 22}, {1, 2, 24}, {2, 1, 42}, {2, 2, 44}}), QList<double>{40, 80});
        row("half, 7 wide: column 4 outside", half(7), true, 0,
            pointRecords({{7, 5, 0}, {1, 1, 22}, {1, 2, 24}, {2, 1, 42}, {2, 2, 44}}) +
                pointRecords({{3, 1, 62}, {3, 2, 64}, {4, 1, 255}, {4, 2, 255}}),
            QList<double>{28, 57, 85, 114});
        row("width zero: the header, no progress", PictureSurface(), false, 122, QByteArray(24, '\0'), {});
    }
    void recordsFollowPolarityAndThreshold() {
        QFETCH(PictureSurface, picture);
        QFETCH(bool, white);
        QFETCH(int, threshold);
        const FormatExport result = exportFormat(picture, OutputFormat::Records, white, threshold);
        QTEST(result.bytes, "expected");
        QTEST(result.percents, "percents");
        // The count the command reports comes from the job: it must be the records written.
        QCOMPARE(result.outcome.points + 1, result.bytes.size() / PointRecord::Length);
    }

    void widePicturesKeepColumnMajorOrderPastSixteenBitColumns() {
        const int width = 33000; // and 70 rows: several blocks of columns and tiles of rows
        const auto colour = [](int x, int y) {
            return RGB((x * 7 + y * 13) % 256, (x + 5 * y) % 256, (x * y) % 256);
        };
        QByteArray expected = pointRecords({{width, 70, 0}});
        for (int x = 1; x <= width; ++x) {
            for (int y = 1; y <= 70; ++y) {
                const ColourValue c = x < width && y < 70 ? colour(x, y) : RGB(255, 255, 255);
                if (const int sum = (c & 0xFF) + (c >> 8 & 0xFF) + (c >> 16); sum < 366) {
                    expected += pointRecords({{x, y, (sum + 1) / 3}});
                }
            }
        }
        const FormatExport result =
            exportFormat(surfaceOf(width, 70, colour), OutputFormat::Records, false, 122);
        QVERIFY(result.bytes == expected);
        QCOMPARE(result.percents.size(), width);
    }

    void countsTheExportedPoints_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<float>("scale"); // units per pixel; 0.5: the half-resolution picture
        for (const QSize size : {QSize(37, 23), QSize(7, 7), QSize(1, 1), QSize(3, 70)}) {
            // 1.5: finer than the pixels, some pixels read by two units, some by one
            for (const float scale : {1.0f, 0.5f, 1.5f}) {
                QTest::addRow("%dx%d scale %g", size.width(), size.height(), scale) << size << scale;
            }
        }
    }
    void countsTheExportedPoints() {
        QFETCH(QSize, size);
        QFETCH(float, scale);
        PictureSurface picture = surfaceOf(size.width(), size.height()); // in varied colours
        picture.setScaleWidth(scale * static_cast<float>(size.width()));
        picture.setScaleHeight(scale * static_cast<float>(size.height()));
        const SumHistograms both = sumHistograms(picture);
        const ColumnRuns columnRuns(picture);
        for (const PointNumbering numbering :
             {PointNumbering::UnitsFromOne, PointNumbering::PixelsFromZero}) {
            const SumHistogram& count = both.of(numbering);
            QVERIFY(SumHistogram(picture, numbering).sumCounts() == count.sumCounts());
            // Every threshold through the walk every format's export takes (each names its numbering).
            for (const ExportPolarity polarity : Polarities) {
                for (int threshold = 0; threshold <= 255; ++threshold) {
                    FixedExportControls controls(polarity, threshold);
                    RunCounter walk(PointSelection::unitGrid(picture, numbering).height());
                    QCOMPARE(count.points(polarity, threshold),
                             PointSelection(controls, numbering).run(picture, walk));
                    if (numbering == PointNumbering::PixelsFromZero) {
                        QCOMPARE(columnRuns.runs(polarity, threshold), walk.merged.runs());
                    }
                }
            }
        }
        // A few thresholds through the real job in every format, with the file's size: exact for the
        // point-data file and wherever every number written has one digit, else within a fifth.
        const bool oneDigit = size.width() <= 7 && size.height() <= 7 && scale <= 1;
        for (const FormatEntry& format : outputFormats()) {
            const SumHistogram& count = both.of(format.numbering);
            for (const ExportPolarity polarity : Polarities) {
                for (const int threshold : {0, 100, 254}) {
                    const FormatExport written = exportFormat(
                        picture, format.format, polarity == ExportPolarity::White, threshold, 1.0);
                    QCOMPARE(written.outcome.points, count.points(polarity, threshold));
                    SelectionExtent extent = count.extent(polarity, threshold);
                    if (format.format == OutputFormat::Csv) { // the grey levels' digits, from the lines' ends
                        std::int64_t digits = 0;
                        for (const QByteArray& line : written.bytes.split('\n').mid(1)) {
                            digits += line.size() - line.lastIndexOf(',') - 1;
                        }
                        QCOMPARE(extent.greyDigits, digits);
                    }
                    QVERIFY(written.outcome.shapes <= columnRuns.runs(polarity, threshold));
                    extent.shapes = written.outcome.shapes;
                    const std::int64_t error = std::abs(
                        ExportJob::fileBytes(picture, format.format, extent, 1.0) - written.bytes.size());
                    const bool exact = format.format == OutputFormat::Records || oneDigit;
                    QVERIFY2(exact ? error == 0 : error * 5 <= written.bytes.size(),
                             qPrintable(QString::number(error)));
                }
            }
        }
    }

    void otsuThresholdOfWorkedHistograms_data() {
        QTest::addColumn<QList<int>>("means"); // mean, units, mean, units...
        QTest::addColumn<int>("expected");     // -1: none
        // {0} | {100, 200, 200}: 1 · 3 · (500/3)² = 83333; {0, 100} | {200, 200}: 2 · 2 · 150² = 90000.
        QTest::newRow("three greys") << QList<int>{0, 1, 100, 1, 200, 2} << 101;
        // {0} | {100, 200} and {0, 100} | {200} both give 2 · 150²: the smaller t.
        QTest::newRow("tie") << QList<int>{0, 1, 100, 1, 200, 1} << 1;
        // The same in shares whose variances a double rounds apart.
        QTest::newRow("rounded tie") << QList<int>{63, 534, 106, 172, 149, 534} << 64;
        QTest::newRow("single grey") << QList<int>{90, 1000} << -1;
        QTest::newRow("nothing") << QList<int>{} << -1;
    }
    void otsuThresholdOfWorkedHistograms() {
        QFETCH(QList<int>, means);
        QFETCH(int, expected);
        SumHistogram::SumCounts counts{};
        for (qsizetype i = 0; i < means.size(); i += 2) {
            counts[3 * means[i]] = means[i + 1];
        }
        QCOMPARE(otsuThreshold(counts).value_or(-1), expected);
    }
};

QTEST_APPLESS_MAIN(RecordExportTest)
#include "RecordExportTest.moc"
