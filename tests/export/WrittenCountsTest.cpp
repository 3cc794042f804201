// What the preview counts of an export without writing it, against what the export writes: over random
// grains of every density, for each drawing and format that leaves small shapes out, with and without a
// minimum area, from both sources. The outlines' corners are the tracing's.

#include "export/WrittenCounts.h"
#include "export/SelectionShapes.h"

#include "DataRows.h"
#include "FormatExport.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

struct Grain {
    int width, height, percentBlack;
    bool half;
    OutputFormat format;
    ShapeKind kind;
    std::int64_t minimumArea;
};

PictureSurface grainPicture(const Grain& grain) {
    QRandomGenerator random(static_cast<quint32>(grain.width * 1000 + grain.height + grain.percentBlack));
    const PictureSurface grey = greyPicture(greyLevels(grain.width, grain.height, [&](int, int) {
        return static_cast<int>(random.bounded(100)) < grain.percentBlack ? 40 : 200;
    }));
    return grain.half ? halfOf(grey) : grey;
}

// The tracing's corners of the shapes the export keeps.
std::int64_t tracedCorners(const PictureSurface& picture, const FormatEntry& format,
                           std::int64_t minimumArea) {
    FixedExportControls controls(ExportPolarity::Black, 122);
    SelectionShapes shapes(PointSelection::unitGrid(picture, format.numbering), minimumArea);
    PointSelection(controls, format.numbering).run(picture, shapes);
    shapes.forEachShape([](const TracedShape&) {});
    return shapes.cornerCount();
}

} // namespace

Q_DECLARE_METATYPE(Grain)

class WrittenCountsTest : public QObject {
    Q_OBJECT
private slots:
    void theCountsAreWhatTheExportWrites_data() {
        addRows<Grain>({
            {"DXF outlines, sparse", {40, 30, 10, false, OutputFormat::Dxf, ShapeKind::Outlines, 0}},
            {"DXF outlines, half, minimum area 3",
             {41, 29, 45, true, OutputFormat::Dxf, ShapeKind::Outlines, 3}},
            {"SVG outlines, dense, minimum area 5",
             {64, 70, 60, false, OutputFormat::Svg, ShapeKind::Outlines, 5}},
            {"SVG outlines, a column of 129 rows",
             {3, 129, 50, false, OutputFormat::Svg, ShapeKind::Outlines, 2}},
            {"DXF smooth, half, minimum area 3", {41, 29, 45, true, OutputFormat::Dxf, ShapeKind::Smooth, 3}},
            {"DXF squares, minimum area 4", {50, 40, 40, false, OutputFormat::Dxf, ShapeKind::Squares, 4}},
            {"SVG squares, every shape", {50, 40, 40, false, OutputFormat::Svg, ShapeKind::Squares, 0}},
            {"CSV, minimum area 2", {33, 65, 30, false, OutputFormat::Csv, ShapeKind::Outlines, 2}},
            {"CSV, half, minimum area 3", {33, 65, 50, true, OutputFormat::Csv, ShapeKind::Outlines, 3}},
        });
    }
    void theCountsAreWhatTheExportWrites() {
        QFETCH(Grain, row);
        const PictureSurface picture = grainPicture(row);
        const FormatEntry& format = formatEntry(row.format);
        const ShapeChoice shapes{row.kind, row.minimumArea};
        const WrittenCounts counts = countWritten(picture, format, shapes, ExportPolarity::Black, 122, 0.5);
        QTemporaryDir folder;
        FixedExportControls controls(ExportPolarity::Black, 122);
        const ExportOutcome written =
            ExportJob(folder.filePath("written"), row.format, shapes).run(picture, {1, 1}, controls, 0.5);
        const ExportOutcome everyShape = ExportJob(folder.filePath("every shape"), row.format, {row.kind, 0})
                                             .run(picture, {1, 1}, controls, 0.5);
        QCOMPARE(counts.points, written.points);
        QCOMPARE(counts.shapes, format.drawing ? std::optional(written.shapes) : std::nullopt);
        QCOMPARE(counts.outlines, written.outlines);
        if (written.outlines) {
            QCOMPARE(counts.corners, std::optional(tracedCorners(picture, format, row.minimumArea)));
        }
        QVERIFY(row.minimumArea < 2 || written.points < everyShape.points); // the grain has small shapes
        QCOMPARE(counts.leftOut ? counts.leftOut->count() : 0, everyShape.points - written.points);
        if (!format.drawing) { // the estimate of a CSV's bytes from the grey levels' digits it writes
            std::int64_t greyDigits = 0;
            for (const QByteArray& line : contents(folder.filePath("written")).split('\n').mid(1)) {
                greyDigits += line.isEmpty() ? 0 : line.split(',').value(2).size();
            }
            QCOMPARE(counts.bytes,
                     ExportJob::fileBytes(picture, row.format, {written.points, 0, greyDigits}, 0.5));
        }
    }
};

QTEST_MAIN(WrittenCountsTest)
#include "WrittenCountsTest.moc"
