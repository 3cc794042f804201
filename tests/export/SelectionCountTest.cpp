#include "export/SelectionCount.h"
#include "FormatExport.h"
#include "export/ColumnRuns.h"
#include "export/MergedRectangles.h"
#include "runtime/HalfResolutionScale.h"

#include <QtTest>

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
const QString Scaled = QStringLiteral("scale 1.5 w x 1.5 h");

// The picture in varied colours, as the chosen source: the picture itself, its half-resolution
// picture as the program sets it up (same pixels, each unit 2 x 2 of them), or a scale of its own.
PictureSurface source(QSize size, const QString& kind) {
    const PictureSurface picture = surfaceOf(size.width(), size.height());
    PictureSurface chosen = picture;
    if (kind == "half") {
        setHalfResolutionScale(chosen, picture);
    } else if (kind == Scaled) {
        // Finer than the pixels: some pixels are read by two units, some by one.
        chosen.setScaleWidth(1.5f * static_cast<float>(size.width()));
        chosen.setScaleHeight(1.5f * static_cast<float>(size.height()));
    }
    return chosen;
}

} // namespace

class SelectionCountTest : public QObject {
    Q_OBJECT
private slots:
    void countsTheExportedPoints_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("kind");
        for (const QSize size : {QSize(37, 23), QSize(7, 7), QSize(1, 1), QSize(3, 70)}) {
            for (const QString& kind : {QStringLiteral("grey"), QStringLiteral("half"), Scaled}) {
                QTest::addRow("%dx%d %s", size.width(), size.height(), qPrintable(kind)) << size << kind;
            }
        }
    }
    void countsTheExportedPoints() {
        QFETCH(QSize, size);
        QFETCH(QString, kind);
        const PictureSurface picture = source(size, kind);
        const SelectionCounts both = selectionCounts(picture);
        const ColumnRuns columnRuns(picture);
        for (const PointNumbering numbering :
             {PointNumbering::UnitsFromOne, PointNumbering::PixelsFromZero}) {
            const SelectionCount& count = both.of(numbering);
            QVERIFY(SelectionCount(picture, numbering).sumCounts() == count.sumCounts());
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
        const bool oneDigit = size.width() <= 7 && size.height() <= 7 && kind != Scaled;
        for (const FormatEntry& format : outputFormats()) {
            const SelectionCount& count = both.of(format.numbering);
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
        SelectionCount::SumCounts counts{};
        for (qsizetype i = 0; i < means.size(); i += 2) {
            counts[3 * means[i]] = means[i + 1];
        }
        QCOMPARE(otsuThreshold(counts).value_or(-1), expected);
    }
};

QTEST_APPLESS_MAIN(SelectionCountTest)
#include "SelectionCountTest.moc"
