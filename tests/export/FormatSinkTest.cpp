#include "FormatExport.h"
#include "export/MergedRectangles.h"

#include <QtTest>

#include <clocale>
#include <locale>

namespace {

// The lines of a DXF file from its ENTITIES section's first entity to the section's end.
QByteArray dxfEntities(const QByteArray& dxf) {
    const qsizetype start = dxf.indexOf("ENTITIES\n") + 9;
    return dxf.mid(start, dxf.indexOf("  0\nENDSEC\n", start) - start);
}

// The value after a header variable's first group code.
QByteArray dxfHeader(const QByteArray& dxf, const QByteArray& variable) {
    const QList<QByteArray> lines = dxf.split('\n');
    const qsizetype at = lines.indexOf(variable);
    return at < 0 ? QByteArray("<missing>") : lines.mid(at + 1, 6).join(' ');
}

QByteArray solid(int handle, const char* x0, const char* y0, const char* x1, const char* y1) {
    return QStringLiteral("  0\nSOLID\n  5\n%1\n330\n1F\n100\nAcDbEntity\n  8\nPIXELS\n100\nAcDbTrace\n"
                          " 10\n%2\n 20\n%3\n 30\n0\n 11\n%4\n 21\n%3\n 31\n0\n"
                          " 12\n%2\n 22\n%5\n 32\n0\n 13\n%4\n 23\n%5\n 33\n0\n")
        .arg(QString::number(handle, 16).toUpper(), x0, y0, x1, y1)
        .toLatin1();
}

QByteArray svg(const char* width, const char* height, const char* viewBox, const QByteArray& paths) {
    return QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"") +
           width + "mm\" height=\"" + height + "mm\" viewBox=\"0 0 " + viewBox +
           "\">\n<g fill=\"#000000\" shape-rendering=\"crispEdges\">\n" + paths + "</g>\n</svg>\n";
}

// A decimal comma wherever C or C++ formatting would take it from the locale.
class CommaDecimals : public std::numpunct<char> {
protected:
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

} // namespace

class FormatSinkTest : public QObject {
    Q_OBJECT
private slots:
    void formatsWriteTheWorkedExampleExactly_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<bool>("white");
        QTest::addColumn<int>("threshold");
        QTest::addColumn<QByteArray>("expected"); // the DXF's entities; the other files whole
        QTest::addColumn<qint64>("points");
        QTest::addColumn<qint64>("shapes");
        const auto row = [](const char* tag, OutputFormat format, bool white, const QByteArray& expected,
                            qint64 points, qint64 shapes, int threshold = 122) {
            QTest::newRow(tag) << static_cast<int>(format) << white << threshold << expected << points
                               << shapes;
        };
        // Black at 122: column 0 whole, and rows 0 and 1 of columns 1 and 2, merged.
        row("csv black", OutputFormat::Csv, false,
            "x,y,grey\n0,0,0\n0,1,0\n0,2,0\n1,0,0\n1,1,40\n2,0,0\n2,1,121\n", 7, 0);
        row("csv white", OutputFormat::Csv, true, "x,y,grey\n1,2,130\n2,2,200\n", 2, 0);
        row("svg black", OutputFormat::Svg, false,
            svg("0.30000000000000004", "0.30000000000000004", "3 3",
                "<path d=\"M0 0h1v3h-1zM1 0h2v2h-2z\"/>\n"),
            7, 2);
        row("svg white", OutputFormat::Svg, true,
            svg("0.30000000000000004", "0.30000000000000004", "3 3", "<path d=\"M1 2h2v1h-2z\"/>\n"), 2, 1);
        row("dxf black", OutputFormat::Dxf, false,
            solid(0x100, "0", "0", "0.1", "0.30000000000000004") +
                solid(0x101, "0.1", "0.1", "0.30000000000000004", "0.30000000000000004"),
            7, 2);
        row("dxf white", OutputFormat::Dxf, true, solid(0x100, "0.1", "0", "0.30000000000000004", "0.1"), 2,
            1);
        // An empty selection still gives a whole file.
        row("csv empty", OutputFormat::Csv, false, "x,y,grey\n", 0, 0, 0);
        row("svg empty", OutputFormat::Svg, true,
            svg("0.30000000000000004", "0.30000000000000004", "3 3", ""), 0, 0, 255);
        row("dxf empty", OutputFormat::Dxf, false, "", 0, 0, 0);
    }
    void formatsWriteTheWorkedExampleExactly() {
        QFETCH(int, format);
        QFETCH(bool, white);
        QFETCH(int, threshold);
        QFETCH(QByteArray, expected);
        QFETCH(qint64, points);
        QFETCH(qint64, shapes);
        const auto chosen = static_cast<OutputFormat>(format);
        const FormatExport result = exportFormat(greyPicture(workedLevels()), chosen, white, threshold);
        QCOMPARE(chosen == OutputFormat::Dxf ? dxfEntities(result.bytes) : result.bytes, expected);
        QCOMPARE(result.outcome.points, points);
        QCOMPARE(result.outcome.shapes, shapes);
        QCOMPARE(result.outcome.drawingMillimetres, QSizeF(0.30000000000000004, 0.30000000000000004));
    }

    void dxfHeaderFramesThePictureAndCountsHandles() {
        const QByteArray dxf = exportFormat(greyPicture(workedLevels()), OutputFormat::Dxf, false, 122).bytes;
        QCOMPARE(dxfHeader(dxf, "$ACADVER"), QByteArray("  1 AC1015   9 $DWGCODEPAGE   3 ANSI_1252"));
        QCOMPARE(dxfHeader(dxf, "$HANDSEED").left(8), QByteArray("  5 109 ")); // 0x100 + 3 x 3
        QCOMPARE(dxfHeader(dxf, "$INSUNITS").left(6), QByteArray(" 70 4 "));
        QCOMPARE(dxfHeader(dxf, "$MEASUREMENT").left(6), QByteArray(" 70 1 "));
        QCOMPARE(dxfHeader(dxf, "$EXTMIN"), QByteArray(" 10 0  20 0  30 0"));
        QCOMPARE(dxfHeader(dxf, "$EXTMAX"),
                 QByteArray(" 10 0.30000000000000004  20 0.30000000000000004  30 0"));
        QVERIFY(dxf.contains("*Active\n 70\n0\n 10\n0\n 20\n0\n 11\n1\n 21\n1\n 12\n0.15000000000000002\n"
                             " 22\n0.15000000000000002\n"));
        QVERIFY(dxf.endsWith("  0\nENDSEC\n  0\nEOF\n"));
    }

    void rectanglesMergeWithinAndAcrossColumns_data() {
        QTest::addColumn<QVector<quint64>>("columns"); // selected rows of each column, rows 0 to 63
        QTest::addColumn<QString>("expected"); // left right top bottom of each rectangle, as handed on
        QTest::addColumn<qint64>("runs");
        const auto row = [](const char* tag, const QVector<quint64>& columns, const char* expected,
                            qint64 runs) {
            QTest::newRow(tag) << columns << QString::fromLatin1(expected) << runs;
        };
        row("one column, two runs", {0b1101}, "0 1 0 1; 0 1 2 4", 2);
        row("same rows three columns", {0b110, 0b110, 0b110}, "0 3 1 3", 3);
        row("other rows end the rectangle", {0b110, 0b111, 0b110}, "0 1 1 3; 1 2 0 3; 2 3 1 3", 3);
        row("a gap column splits", {0b1, 0, 0b1}, "0 1 0 1; 2 3 0 1", 2);
        row("runs pass each other", {0b1011, 0b1101}, "0 1 0 2; 0 1 3 4; 1 2 0 1; 1 2 2 4", 4);
    }
    void rectanglesMergeWithinAndAcrossColumns() {
        QFETCH(QVector<quint64>, columns);
        QFETCH(QString, expected);
        QFETCH(qint64, runs);
        MergedRectangles merged(64);
        QStringList handed;
        const auto done = [&](const UnitRectangle& r) {
            handed << QStringLiteral("%1 %2 %3 %4").arg(r.left).arg(r.right).arg(r.top).arg(r.bottom);
        };
        const std::uint16_t sums[64] = {};
        for (qsizetype x = 0; x < columns.size(); ++x) {
            if (columns[x] != 0) {
                merged.addStretch({static_cast<std::int32_t>(x), 0, 64, columns[x], sums});
            }
            merged.endColumn(static_cast<std::int32_t>(x), done);
        }
        merged.finish(static_cast<std::int32_t>(columns.size()), done);
        QCOMPARE(handed.join(QStringLiteral("; ")), expected);
        QCOMPARE(merged.runs(), runs);
    }

    void aRunAcrossStretchesIsOneRectangle() {
        // Rows 60 to 69 of a 130-row picture are dark in two columns: the run spans two stretches.
        GreyLevels levels(2, QVector<int>(130, 255));
        for (int y = 60; y < 70; ++y) {
            levels[0][y] = levels[1][y] = 0;
        }
        const FormatExport result = exportFormat(greyPicture(levels), OutputFormat::Svg, false, 122, 1.0);
        QVERIFY(result.bytes.contains("<path d=\"M0 60h2v10h-2z\"/>\n"));
        QCOMPARE(result.outcome.shapes, 1);
    }

    void halfSourceWithAnOddWidthGivesUnitsOfTwoPixels_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<QByteArray>("expected");
        // 5 x 3 pixels, level 10x + y: units (i, j) read pixel (2i, 2j), all below 122 but unit (2, 1).
        QTest::newRow("csv") << static_cast<int>(OutputFormat::Csv)
                             << QByteArray("x,y,grey\n0,0,0\n0,1,2\n1,0,20\n1,1,22\n2,0,40\n");
        QTest::newRow("svg") << static_cast<int>(OutputFormat::Svg)
                             << svg("1.5", "1", "6 4", "<path d=\"M0 0h4v4h-4zM4 0h2v2h-2z\"/>\n");
    }
    void halfSourceWithAnOddWidthGivesUnitsOfTwoPixels() {
        QFETCH(int, format);
        QFETCH(QByteArray, expected);
        GreyLevels levels(5, QVector<int>(3));
        for (int x = 0; x < 5; ++x) {
            for (int y = 0; y < 3; ++y) {
                levels[x][y] = x == 4 && y == 2 ? 200 : 10 * x + y;
            }
        }
        const FormatExport result =
            exportFormat(halfPicture(levels), static_cast<OutputFormat>(format), false, 122, 0.25);
        QCOMPARE(result.bytes, expected);
        QCOMPARE(result.outcome.drawingMillimetres, QSizeF(1.5, 1.0));
    }

    // The grey is (r + g + b + 1) div 3: sums of 307 and 308, which a grey picture's equal channels never
    // give.
    void csvGreyRoundsTheChannelSum() {
        const PictureSurface colours = surfaceOf(2, 1, [](int x, int) { return RGB(153, 102, 52 + x); });
        QCOMPARE(exportFormat(colours, OutputFormat::Csv, false, 200).bytes,
                 QByteArray("x,y,grey\n0,0,102\n1,0,103\n"));
    }

    void anEmptyPictureGivesAnEmptyDrawing() {
        QCOMPARE(exportFormat(PictureSurface(), OutputFormat::Svg, true, 0).bytes, svg("0", "0", "0 0", ""));
    }

    void theTableFindsFormatsByNameAndEnding_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("fileType");
        const auto row = [](const char* fileName, OutputFormat format, const char* fileType) {
            QTest::newRow(fileName) << QString::fromLatin1(fileName) << static_cast<int>(format)
                                    << QString::fromUtf8(fileType);
        };
        row("a.txt", OutputFormat::Records, "点数据文件 (*.txt)");
        row("a.DXF", OutputFormat::Dxf, "DXF 图形 (*.dxf)");
        row("a.Svg", OutputFormat::Svg, "SVG 图形 (*.svg)");
        row("a.csv", OutputFormat::Csv, "CSV 表格 (*.csv)");
        row("a.csv.bak", OutputFormat::Records, "点数据文件 (*.txt)");
        row("dxf", OutputFormat::Records, "点数据文件 (*.txt)");
    }
    void theTableFindsFormatsByNameAndEnding() {
        QFETCH(QString, fileName);
        QFETCH(int, format);
        QFETCH(QString, fileType);
        const FormatEntry& entry = formatEntry(formatForFileName(fileName));
        QCOMPARE(static_cast<int>(entry.format), format);
        QCOMPARE(QString::fromUtf8(entry.fileType), fileType);
        QCOMPARE(formatNamed(QString::fromLatin1(entry.name)), entry.format);
        QCOMPARE(entry.drawing, entry.format == OutputFormat::Dxf || entry.format == OutputFormat::Svg);
    }

    void aDecimalCommaLocaleChangesNoByte() {
        const PictureSurface picture = greyPicture(workedLevels());
        QList<QByteArray> plain;
        for (const OutputFormat format : {OutputFormat::Dxf, OutputFormat::Svg, OutputFormat::Csv}) {
            plain << exportFormat(picture, format, false, 122, 25.4 / 96).bytes;
        }
        const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
        const std::locale before = std::locale::global(std::locale(std::locale(), new CommaDecimals));
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QList<QByteArray> comma;
        for (const OutputFormat format : {OutputFormat::Dxf, OutputFormat::Svg, OutputFormat::Csv}) {
            comma << exportFormat(picture, format, false, 122, 25.4 / 96).bytes;
        }
        std::locale::global(before);
        QLocale::setDefault(QLocale::c());
        std::setlocale(LC_ALL, "C");
        if (!german) {
            qInfo("de_DE.UTF-8 is not installed: only the C++ and Qt locales had a decimal comma");
        }
        QCOMPARE(comma, plain);
        QVERIFY(plain[0].contains("\n 10\n0.26458333333333334\n"));
    }
};

QTEST_GUILESS_MAIN(FormatSinkTest)
#include "FormatSinkTest.moc"
