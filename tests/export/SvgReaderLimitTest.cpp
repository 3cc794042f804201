#include "FormatExport.h"
#include "RealReaders.h"
#include "export/SvgReaderBreaks.h"

#include <QImage>
#include <QtTest>

#include <cstdint>

namespace {

// Grain of every grey level, from a 64-bit linear congruential generator column by column: its squares
// SVG is the smallest such picture found whose paths rsvg-convert refuses without the breaks.
constexpr int GrainSide = 2450;

GreyLevels grain() {
    std::uint64_t state = 1;
    return greyLevels(GrainSide, GrainSide, [&state](int, int) {
        state = state * 6364136223846793005U + 1442695040888963407U;
        return static_cast<int>(state >> 56);
    });
}

// The SVG without its breaks.
QByteArray withoutBreaks(QByteArray svg) {
    return svg.replace(QByteArray(SvgReaderBreaks::text().data(), SvgReaderBreaks::text().size()), "");
}

} // namespace

Q_DECLARE_METATYPE(ShapeKind)

class SvgReaderLimitTest : public QObject {
    Q_OBJECT

private slots:
    void everyStretchBetweenBreaksKeepsWithinTheReadersLimit_data() {
        QTest::addColumn<ShapeKind>("kind");
        QTest::addColumn<int>("threshold");
        QTest::addColumn<int>("breaks");
        QTest::newRow("squares") << ShapeKind::Squares << 122 << 2;
        // below the level where one shape spans the picture: 13 MB of small shapes
        QTest::newRow("outlines") << ShapeKind::Outlines << 90 << 1;
        QTest::newRow("smooth outlines") << ShapeKind::Smooth << 90 << 2;
    }
    void everyStretchBetweenBreaksKeepsWithinTheReadersLimit() {
        QFETCH(ShapeKind, kind);
        QFETCH(int, threshold);
        QFETCH(int, breaks);
        const QByteArray svg =
            exportFormat(greyPicture(grain()), OutputFormat::Svg, false, threshold, 25.4 / 96, {kind}).bytes;
        const QList<QByteArray> stretches =
            QByteArray(svg).replace(SvgReaderBreaks::text().data(), "\x01").split('\x01');
        QCOMPARE(stretches.size(), breaks + 1);
        for (qsizetype at = 0; at < stretches.size(); ++at) {
            QVERIFY2(stretches[at].size() <= SvgReaderBreaks::span(), qPrintable(QString::number(at)));
            if (at > 0) { // between two paths
                QVERIFY(stretches[at - 1].endsWith("\"/>\n") && stretches[at].startsWith("<path d=\""));
            }
        }
    }

    // The squares of a grain picture take 23 MB of paths: rendered by rsvg-convert with its default
    // limits, its black pixels are exactly the pixels darker than the threshold.
    void rsvgRendersTheSquaresOfALargeGrainPicture() {
        const RealReaders readers;
        REQUIRE_READERS(readers);
        const GreyLevels levels = grain();
        const FormatExport exported = exportFormat(greyPicture(levels), OutputFormat::Svg, false, 122,
                                                   25.4 / 96, ShapeChoice{ShapeKind::Squares});
        QTemporaryDir dir;
        const QString svg = dir.filePath("grain.svg"), png = dir.filePath("grain.png");
        const QString side = QString::number(GrainSide);
        // this picture shows the limit: without the breaks the reader stops in the middle
        writeFile(svg, withoutBreaks(exported.bytes));
        QVERIFY(run(readers.rsvg, {"-w", side, "-h", side, "-o", png, svg}).contains("XML parse error"));

        QCOMPARE(exported.bytes.count(SvgReaderBreaks::text().data()), 2);
        writeFile(svg, exported.bytes);
        QCOMPARE(run(readers.rsvg, {"-w", side, "-h", side, "-b", "white", "-o", png, svg}), QString());
        QCOMPARE(inkLines(QImage(png)), lines(GrainSide, GrainSide, [&levels](int x, int y) {
                     return levels[x][y] < 122 ? u'1' : u'0';
                 }));
    }
};

QTEST_GUILESS_MAIN(SvgReaderLimitTest)
#include "SvgReaderLimitTest.moc"
