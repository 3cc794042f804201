#include "FormatExport.h"
#include "RealReaders.h"
#include "export/MergedRectangles.h"
#include "runtime/PictureHeader.h"

#include <QBuffer>
#include <QImage>
#include <QtTest>

#include <clocale>
#include <locale>

Q_DECLARE_METATYPE(PictureSurface)
Q_DECLARE_METATYPE(OutputFormat)
Q_DECLARE_METATYPE(ShapeChoice)

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
    return QStringLiteral("  0\nSOLID\n  5\n%1\n330\n1F\n100\nAcDbEntity\n  "
                          "8\nPIXELS\n100\nAcDbTrace\n"
                          " 10\n%2\n 20\n%3\n 30\n0\n 11\n%4\n 21\n%3\n 31\n0\n"
                          " 12\n%2\n 22\n%5\n 32\n0\n 13\n%4\n 23\n%5\n 33\n0\n")
        .arg(QString::number(handle, 16).toUpper(), x0, y0, x1, y1)
        .toLatin1();
}

QByteArray svg(const char* width, const char* height, const char* viewBox, const QByteArray& paths) {
    return QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" "
                      "width=\"") +
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

// Reads a DXF back with ezdxf: the audit's errors, then the squares the SOLIDs fill, one line of 0 and 1
// per row from the top; a SOLID that is no rectangle of whole squares or overlaps another, or a header
// that does not frame the picture, is reported instead of the squares.
constexpr char DxfReader[] = R"(import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
print("audit errors", len(auditor.errors), "fixes", len(auditor.fixes))
w, h, u = int(sys.argv[2]), int(sys.argv[3]), float(sys.argv[4])
head = doc.header
assert tuple(head["$EXTMIN"])[:2] == (0, 0) and tuple(head["$EXTMAX"])[:2] == (w * u, h * u)
grid = [[0] * w for _ in range(h)]
def unit(value):
    n = round(value / u)
    assert value == n * u, value
    return n
for e in doc.modelspace():
    assert e.dxftype() == "SOLID" and e.dxf.layer == "PIXELS", e.dxftype()
    (x0, y0), (x1, y0b), (x0b, y1), (x1b, y1b) = [(unit(v[0]), unit(v[1])) for v in (e.dxf.vtx0, e.dxf.vtx1, e.dxf.vtx2, e.dxf.vtx3)]
    assert x0 == x0b and x1 == x1b and y0 == y0b and y1 == y1b and x0 < x1 and y0 < y1
    for i in range(x0, x1):
        for k in range(y0, y1):
            assert grid[h - 1 - k][i] == 0, "overlap"
            grid[h - 1 - k][i] = 1
for row in grid:
    print("".join(map(str, row)))
)";

// A 2 x 2 picture saved as `type` with the given dots per metre.
QByteArray saved(const char* type, int dotsPerMetreX, int dotsPerMetreY) {
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(dotsPerMetreX);
    image.setDotsPerMeterY(dotsPerMetreY);
    return encodedPicture(image, type);
}

// The file with `length` bytes from the one `after` begins with `offset` on replaced by `bytes`
// (nothing replaced: removed).
QByteArray patched(QByteArray file, const QByteArray& after, int offset, int length,
                   const QByteArray& bytes) {
    const qsizetype at = file.indexOf(after);
    return at < 0 ? QByteArray() : file.replace(at + offset, length, bytes);
}

} // namespace

class FormatSinkTest : public QObject {
    Q_OBJECT
private slots:
    // Every file here is written where C, C++ and Qt formatting would take a decimal comma from the locale:
    // the exact bytes show that none does.
    void initTestCase() {
        if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
            qInfo("de_DE.UTF-8 is not installed: only the C++ and Qt locales have a decimal comma");
        }
        std::locale::global(std::locale(std::locale(), new CommaDecimals));
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }

    void formatsWriteExactly_data() {
        QTest::addColumn<PictureSurface>("picture");
        QTest::addColumn<OutputFormat>("format");
        QTest::addColumn<int>("threshold"); // black data
        QTest::addColumn<double>("pixelMillimetres");
        QTest::addColumn<QByteArray>("expected"); // the DXF's entities; the other files whole
        QTest::addColumn<QList<qint64>>("pointsAndShapes");
        QTest::addColumn<QSizeF>("drawing");
        const PictureSurface worked = greyPicture(workedLevels());
        const QSizeF workedSize(0.30000000000000004, 0.30000000000000004);
        const auto row = [](const char* tag, const PictureSurface& picture, OutputFormat format,
                            int threshold, double pixel, const QByteArray& expected, qint64 points,
                            qint64 shapes, QSizeF drawing) {
            QTest::newRow(tag) << picture << format << threshold << pixel << expected
                               << QList<qint64>{points, shapes} << drawing;
        };
        // Black at 122: column 0 whole, and rows 0 and 1 of columns 1 and 2, merged.
        row("csv black", worked, OutputFormat::Csv, 122, 0.1,
            "x,y,grey\n0,0,0\n0,1,0\n0,2,0\n1,0,0\n1,1,40\n2,0,0\n2,1,121\n", 7, 0, workedSize);
        row("svg black", worked, OutputFormat::Svg, 122, 0.1,
            svg("0.30000000000000004", "0.30000000000000004", "3 3",
                "<path d=\"M0 0h1v3h-1zM1 0h2v2h-2z\"/>\n"),
            7, 2, workedSize);
        row("dxf black", worked, OutputFormat::Dxf, 122, 0.1,
            solid(0x100, "0", "0", "0.1", "0.30000000000000004") +
                solid(0x101, "0.1", "0.1", "0.30000000000000004", "0.30000000000000004"),
            7, 2, workedSize);
        row("empty picture", PictureSurface(), OutputFormat::Svg, 122, 0.1, svg("0", "0", "0 0", ""), 0, 0,
            QSizeF(0, 0));
        // The grey is (r + g + b + 1) div 3: sums of 307 and 308, which equal channels never give.
        row("csv grey rounds the channel sum",
            surfaceOf(2, 1, [](int x, int) { return RGB(153, 102, 52 + x); }), OutputFormat::Csv, 200, 0.1,
            "x,y,grey\n0,0,102\n1,0,103\n", 2, 0, QSizeF(0.2, 0.1));
        // Rows 60 to 69 of a 130-row picture dark in two columns: a run across two stretches is one shape.
        row("run across stretches",
            greyPicture(greyLevels(2, 130, [](int, int y) { return y / 10 == 6 ? 0 : 255; })),
            OutputFormat::Svg, 122, 1.0, svg("2", "130", "2 130", "<path d=\"M0 60h2v10h-2z\"/>\n"), 20, 1,
            QSizeF(2, 130));
        // 5 x 3 pixels at half resolution: every unit below 122 but (2, 1).
        const GreyLevels odd =
            greyLevels(5, 3, [](int x, int y) { return x == 4 && y == 2 ? 200 : 10 * x + y; });
        row("half, odd width, svg", halfOf(greyPicture(odd)), OutputFormat::Svg, 122, 0.25,
            svg("1.5", "1", "6 4", "<path d=\"M0 0h4v4h-4zM4 0h2v2h-2z\"/>\n"), 5, 2, QSizeF(1.5, 1));
    }
    void formatsWriteExactly() {
        QFETCH(PictureSurface, picture);
        QFETCH(OutputFormat, format);
        QFETCH(int, threshold);
        QFETCH(double, pixelMillimetres);
        const FormatExport result = exportFormat(picture, format, false, threshold, pixelMillimetres);
        QTEST(format == OutputFormat::Dxf ? dxfEntities(result.bytes) : result.bytes, "expected");
        QTEST((QList<qint64>{result.outcome.points, result.outcome.shapes}), "pointsAndShapes");
        QTEST(result.outcome.drawingMillimetres, "drawing");
    }

    // Shapes of fewer units than the minimum area are left out of every format that filters specks,
    // whichever polarity selects them; units that meet only at a corner are one shape. The rule itself, at
    // every minimum, is the shapes' test's; here each format applies it once. The picture's
    // shapes: 2 units (0,0 1,1), 3 (4,0 5,1 4,2), 4 (0,3 1,4 2,3 3,4) and 1 (6,4).
    void specksAreLeftOut_data() {
        QTest::addColumn<OutputFormat>("format");
        QTest::addColumn<ShapeChoice>("shapes");
        QTest::addColumn<bool>("white");
        QTest::addColumn<QByteArray>("expected");  // the file, but for the outline drawings
        QTest::addColumn<QList<qint64>>("counts"); // points, shapes, outlines (-1: none reported)
        const auto row = [](const char* tag, OutputFormat format, ShapeKind kind, std::int64_t minimum,
                            bool white, const QByteArray& expected, const QList<qint64>& counts) {
            QTest::newRow(tag) << format << ShapeChoice{kind, minimum} << white << expected << counts;
        };
        const auto csv = [](const char* grey, std::initializer_list<const char*> units) {
            QByteArray text = "x,y,grey\n";
            for (const char* unit : units) {
                text += QByteArray(unit) + ',' + grey + '\n';
            }
            return text;
        };
        const auto all = ShapeKind::Squares;
        row("csv, min 2 keeps the corner pair", OutputFormat::Csv, all, 2, false,
            csv("0", {"0,0", "0,3", "1,1", "1,4", "2,3", "3,4", "4,0", "4,2", "5,1"}), {9, 0, -1});
        row("csv, min 3, white", OutputFormat::Csv, all, 3, true,
            csv("255", {"0,3", "1,4", "2,3", "3,4", "4,0", "4,2", "5,1"}), {7, 0, -1});
        row("svg squares, min 3", OutputFormat::Svg, all, 3, false,
            svg("7", "5", "7 5",
                "<path d=\"M0 3h1v1h-1zM1 4h1v1h-1zM2 3h1v1h-1zM3 4h1v1h-1zM4 0h1v1h-1zM4 2h1v1h-1z"
                "M5 1h1v1h-1z\"/>\n"),
            {7, 7, -1});
        row("svg outlines, min 3", OutputFormat::Svg, ShapeKind::Outlines, 3, false, {}, {7, 2, 2});
        row("dxf outlines, min 2, white", OutputFormat::Dxf, ShapeKind::Outlines, 2, true, {}, {9, 3, 3});
        // Positions from 1: column 0 and row 0 are not read.
        row("point data keeps every shape", OutputFormat::Records, all, 5, false, {}, {7, 0, -1});
    }
    void specksAreLeftOut() {
        QFETCH(OutputFormat, format);
        QFETCH(ShapeChoice, shapes);
        QFETCH(bool, white);
        const QStringList drawn{"#...#..", ".#...#.", "....#..", "#.#....", ".#.#..#"};
        const PictureSurface picture = greyPicture(
            greyLevels(7, 5, [&](int x, int y) { return (drawn[y][x] == u'#') != white ? 0 : 255; }));
        const FormatExport result = exportFormat(picture, format, white, 122, 1.0, shapes);
        if (format == OutputFormat::Csv || shapes.kind == ShapeKind::Squares) {
            QTEST(format == OutputFormat::Records ? QByteArray() : result.bytes, "expected");
        }
        QTEST((QList<qint64>{result.outcome.points, result.outcome.shapes,
                             result.outcome.outlines.value_or(-1)}),
              "counts");
    }

    // A picture wider than high (5 x 3 pixels of 0.1 mm): a side taken for the other shows.
    void dxfHeaderFramesThePictureAndCountsHandles() {
        const QByteArray dxf = exportFormat(surfaceOf(5, 3), OutputFormat::Dxf, false, 122).bytes;
        QCOMPARE(dxfHeader(dxf, "$ACADVER"), QByteArray("  1 AC1015   9 $DWGCODEPAGE   3 ANSI_1252"));
        QCOMPARE(dxfHeader(dxf, "$HANDSEED").left(8),
                 QByteArray("  5 10F ")); // 0x100 + 5 x 3
        QCOMPARE(dxfHeader(dxf, "$INSUNITS").left(6), QByteArray(" 70 4 "));
        QCOMPARE(dxfHeader(dxf, "$MEASUREMENT").left(6), QByteArray(" 70 1 "));
        QCOMPARE(dxfHeader(dxf, "$EXTMIN"), QByteArray(" 10 0  20 0  30 0"));
        QCOMPARE(dxfHeader(dxf, "$EXTMAX"), QByteArray(" 10 0.5  20 0.30000000000000004  30 0"));
        QVERIFY(dxf.contains("*Active\n 70\n0\n 10\n0\n 20\n0\n 11\n1\n 21\n1\n "
                             "12\n0.25\n"
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
        QTEST(handed.join(QStringLiteral("; ")), "expected");
        QTEST(qint64{merged.runs()}, "runs");
    }

    void theTableFindsFormatsByNameAndEnding() {
        QStringList found;
        for (const char* fileName : {"a.txt", "a.DXF", "a.Svg", "a.csv", "a.csv.bak", "dxf"}) {
            const FormatEntry& entry = formatEntry(formatForFileName(QString::fromLatin1(fileName)));
            QCOMPARE(formatNamed(QString::fromLatin1(entry.name)), entry.format);
            QCOMPARE(entry.drawing, entry.format == OutputFormat::Dxf || entry.format == OutputFormat::Svg);
            found << QString::fromUtf8(entry.fileType);
        }
        QCOMPARE(found, (QStringList{"点数据文件 (*.txt)", "DXF 图形 (*.dxf)", "SVG 图形 (*.svg)",
                                     "CSV 表格 (*.csv)", "点数据文件 (*.txt)", "点数据文件 (*.txt)"}));
    }

    // Real readers of the half-resolution picture's white data (odd sides): ezdxf audits the DXF and reads
    // its squares back, rsvg-convert renders the SVG, and LibreCAD opens the DXF.
    void realReadersSeeExactlyTheSelection() {
        RealReaders readers;
        const QString librecad = QStandardPaths::findExecutable(QStringLiteral("librecad"));
        const QString timeout = QStandardPaths::findExecutable(QStringLiteral("timeout"));
        if (librecad.isEmpty() || timeout.isEmpty()) {
            readers.missing << QStringLiteral("librecad");
        }
        REQUIRE_READERS(readers);
        const QString &python = readers.python, &rsvg = readers.rsvg;
        // runs of every length in both directions: a ramp with grain
        const GreyLevels levels = greyLevels(
            23, 17, [](int x, int y) { return (x * 11 + y * 7) % 97 + ((x * y) % 5 == 0 ? 0 : 80); });
        const double pixel = 25.4 / 96;
        QTemporaryDir dir;
        writeFile(dir.filePath("read.py"), DxfReader);
        const QString dxf = dir.filePath("picture.dxf"), svg = dir.filePath("picture.svg");
        const QString png = dir.filePath("picture.png");
        // The units (12 x 9) lighter than 122, 1 for selected, each drawn `scale` times in both directions;
        // the rendering as lines too: 1 black, 0 white, ? any other.
        const auto units = [&levels](int scale) {
            return lines(12 * scale, 9 * scale, [&](int x, int y) {
                return levels[x / scale * 2][y / scale * 2] > 122 ? u'1' : u'0';
            });
        };
        writeFile(dxf, exportFormat(halfOf(greyPicture(levels)), OutputFormat::Dxf, true, 122, pixel).bytes);
        QCOMPARE(run(python, {dir.filePath("read.py"), dxf, "12", "9", QString::number(pixel * 2, 'g', 17)})
                     .split(u'\n', Qt::SkipEmptyParts),
                 QStringList{"audit errors 0 fixes 0"} + units(1));
        // each unit spans 2 x 2 pixels of the rendering
        writeFile(svg, exportFormat(halfOf(greyPicture(levels)), OutputFormat::Svg, true, 122, pixel).bytes);
        QCOMPARE(run(rsvg, {"-w", "24", "-h", "18", "-b", "white", "-o", png, svg}), QString());
        QCOMPARE(inkLines(QImage(png)), units(2));
        // A smoke check: it hangs on a broken file, hence the time limit; offscreen needs no display.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        const QString out = run(timeout, {"60", librecad, "dxf2pdf", "picture.dxf"}, dir.path());
        QVERIFY2(!out.startsWith(QStringLiteral("<%1 failed").arg(timeout)), qPrintable(out));
        QVERIFY(contents(dir.filePath("picture.pdf")).startsWith("%PDF"));
    }

    // Both sides, whole pixels per metre as the dpi they were written from.
    void statedResolutionIsReadFromTheHeader_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<double>("x"); // 0: none stated
        QTest::addColumn<double>("y");
        const QByteArray png = saved("png", 11811, 5906);
        const QByteArray jpg = saved("jpg", 11811, 5906);
        const QByteArray bmp = saved("bmp", 11811, 5906);
        QTest::newRow("png pHYs, x not y") << png << 300.0 << 150.0;
        QTest::newRow("png without pHYs") << patched(png, "pHYs", -4, 21, {}) << 0.0 << 0.0;
        QTest::newRow("png pHYs without unit")
            << patched(png, "pHYs", 12, 1, QByteArray(1, '\0')) << 0.0 << 0.0;
        QTest::newRow("png pHYs y zero") << patched(png, "pHYs", 8, 4, QByteArray(4, '\0')) << 0.0 << 0.0;
        QByteArray late = png; // its pHYs chunk moved behind the pixels, before IEND
        const QByteArray physChunk = late.mid(late.indexOf("pHYs") - 4, 21);
        late.remove(late.indexOf("pHYs") - 4, 21);
        late.insert(late.indexOf("IEND") - 4, physChunk);
        QTest::newRow("png pHYs after the pixels") << late << 0.0 << 0.0;
        QTest::newRow("jpg as written, x not y") << jpg << 300.0 << 150.0;
        QTest::newRow("jpg dots per inch")
            << patched(jpg, "JFIF", 7, 5, QByteArray("\x01\x01\x2c\x00\x48", 5)) << 300.0 << 72.0;
        QTest::newRow("jpg dots per cm")
            << patched(jpg, "JFIF", 7, 5, QByteArray("\x02\x00\x76\x00\x3b", 5)) << 118 * 2.54 << 59 * 2.54;
        QTest::newRow("jpg aspect only") << patched(jpg, "JFIF", 7, 1, QByteArray(1, '\0')) << 0.0 << 0.0;
        QTest::newRow("bmp pixels per metre, x not y") << bmp << 300.0 << 150.0;
        QTest::newRow("bmp x zero") << patched(bmp, "BM", 38, 4, QByteArray(4, '\0')) << 0.0 << 0.0;
        QTest::newRow("bmp y negative") << patched(bmp, "BM", 42, 4, QByteArray(4, '\xff')) << 0.0 << 0.0;
        QTest::newRow("gif") << QByteArray("GIF89a\x02\x00\x02\x00", 10) << 0.0 << 0.0;
        QTest::newRow("truncated png") << png.left(20) << 0.0 << 0.0;
        QTest::newRow("empty") << QByteArray() << 0.0 << 0.0;
    }
    void statedResolutionIsReadFromTheHeader() {
        QFETCH(QByteArray, file);
        QBuffer buffer(&file);
        buffer.open(QIODevice::ReadOnly);
        const qint64 at = std::min<qint64>(3, file.size());
        buffer.seek(at);
        const std::optional<PictureHeader> header = readPictureHeader(buffer);
        const DotsPerInch stated = header ? header->statedDotsPerInch.value_or(DotsPerInch{}) : DotsPerInch{};
        QTEST(stated.x, "x");
        QTEST(stated.y, "y");
        QCOMPARE(buffer.pos(), at);
    }
};

QTEST_GUILESS_MAIN(FormatSinkTest)
#include "FormatSinkTest.moc"
