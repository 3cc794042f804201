// Drawings of smooth outlines through the export job: their exact text, and the real readers (ezdxf,
// LibreCAD, FreeCAD, rsvg-convert) seeing the polygons and every clear pixel centre on its side.

#include "FormatExport.h"
#include "RealReaders.h"
#include "SmoothProperties.h"
#include "export/SvgSmoothWriter.h"

#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace smooth_properties;

namespace {

const ShapeChoice Smooth{ShapeKind::Smooth, 0};

PictureSurface pictureOf(const QStringList& rows) {
    return greyPicture(greyLevels(static_cast<int>(rows.first().size()), static_cast<int>(rows.size()),
                                  [&rows](int x, int y) { return rows[y][x] == u'1' ? 0 : 255; }));
}

Grid gridOf(const QStringList& rows) {
    Grid grid(static_cast<std::size_t>(rows.first().size()),
              std::vector<bool>(static_cast<std::size_t>(rows.size())));
    for (qsizetype y = 0; y < rows.size(); ++y) {
        for (qsizetype x = 0; x < rows[y].size(); ++x) {
            grid[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] = rows[y][x] == u'1';
        }
    }
    return grid;
}

// The DXF's entities, from the first to the end of their section.
QByteArray dxfEntities(const QByteArray& dxf) {
    const qsizetype start = dxf.indexOf("  0\nLWPOLYLINE\n");
    return start < 0 ? QByteArray() : dxf.mid(start, dxf.indexOf("  0\nENDSEC\n", start) - start);
}

// A ring of radii 6 and 11 beside a grid with a hairline, corner touches and pixels on every border.
QStringList readersGrid() {
    QStringList rows{"1110000001" + QString(26, u'0'), "1010000010" + QString(26, u'0'),
                     "1110000100" + QString(26, u'0'), "0001001000" + QString(26, u'0'),
                     "0000110000" + QString(26, u'0'), "1000000001" + QString(26, u'0'),
                     "0100000011" + QString(26, u'0')};
    for (int y = 7; y < 26; ++y) {
        rows << QString(36, u'0');
    }
    for (int y = 0; y < 26; ++y) {
        for (int x = 0; x < 26; ++x) {
            const double d = std::hypot(x + 0.5 - 13, y + 0.5 - 13);
            if (d >= 6 && d <= 11) {
                rows[y][x + 10] = u'1';
            }
        }
    }
    return rows;
}

// Every polygon's edges with their ends in millimetres (y up), sorted, as ezdxf reads the polylines.
constexpr char DxfSegments[] = R"(import sys, ezdxf
def edge(a, b):
    ends = sorted([(round(a[0], 6), round(a[1], 6)), (round(b[0], 6), round(b[1], 6))])
    return "%g %g %g %g" % (ends[0] + ends[1])
doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
print("audit errors %d fixes %d" % (len(auditor.errors), len(auditor.fixes)))
loops = [list(p.get_points("xy")) for p in doc.modelspace().query("LWPOLYLINE")]
hatches = [[list((v[0], v[1]) for v in path.vertices) for path in h.paths] for h in doc.modelspace().query("HATCH")]
print("outer paths external", all(bool(p.path_type_flags & 1) == (k == 0) for h in doc.modelspace().query("HATCH")
                                   for k, p in enumerate(h.paths)))
print("hatch paths are the polylines", [p for h in hatches for p in h] == [[(x, y) for x, y in l] for l in loops])
print("\n".join(sorted(edge(a, b) for loop in loops for a, b in zip(loop, loop[1:] + loop[:1]))))
)";

} // namespace

class SmoothDrawingTest : public QObject {
    Q_OBJECT
private slots:
    // One pixel of 0.5 mm becomes the diamond through its edges' midpoints, the shape on its left.
    void smoothDrawingsWriteExactly_data() {
        QTest::addColumn<OutputFormat>("format");
        QTest::addColumn<bool>("half");           // of a 2 x 2 black picture, else its pixel (0, 1) alone
        QTest::addColumn<QByteArray>("expected"); // the DXF's entities; the SVG's path
        const QByteArray vertices =
            " 10\n0\n 20\n0.25\n 10\n0.25\n 20\n0\n 10\n0.5\n 20\n0.25\n 10\n0.25\n 20\n0.5\n";
        QTest::newRow("dxf")
            << OutputFormat::Dxf << false
            << "  0\nLWPOLYLINE\n  5\n100\n330\n1F\n100\nAcDbEntity\n  8\nOUTLINES\n"
               "100\nAcDbPolyline\n 90\n4\n 70\n1\n" +
                   vertices +
                   "  0\nHATCH\n  5\n101\n330\n1F\n100\nAcDbEntity\n  8\nFILL\n100\nAcDbHatch\n"
                   " 10\n0\n 20\n0\n 30\n0\n210\n0\n220\n0\n230\n1\n  2\nSOLID\n 70\n1\n 71\n0\n"
                   " 91\n1\n 92\n3\n 72\n0\n 73\n1\n 93\n4\n" +
                   vertices + " 97\n0\n 75\n0\n 76\n1\n 98\n0\n";
        QTest::newRow("svg") << OutputFormat::Svg << false
                             << QByteArray("<g fill=\"#000000\" fill-rule=\"evenodd\">\n"
                                           "<path d=\"M0 1.5l0.5 0.5l0.5 -0.5l-0.5 -0.5z\"/>\n");
        QTest::newRow("svg, half resolution")
            << OutputFormat::Svg << true
            << QByteArray("<g fill=\"#000000\" fill-rule=\"evenodd\">\n<path d=\"M0 1l1 1l1 -1l-1 -1z\"/>\n");
    }
    void smoothDrawingsWriteExactly() {
        QFETCH(OutputFormat, format);
        QFETCH(bool, half);
        QFETCH(QByteArray, expected);
        const FormatExport written =
            exportFormat(half ? halfOf(pictureOf({"11", "11"})) : pictureOf({"00", "10"}), format, false, 122,
                         0.5, Smooth);
        QCOMPARE(written.outcome.outlines, std::optional<std::int64_t>(1));
        if (format == OutputFormat::Dxf) {
            QCOMPARE(dxfEntities(written.bytes), expected);
        } else {
            const qsizetype group = written.bytes.indexOf("<g ");
            QCOMPARE(written.bytes.mid(group, written.bytes.indexOf("</g>") - group), expected);
        }
    }

    // Single pixels, 4 vertices each, fill a path up to SvgSmoothWriter::PathVertices; the next one opens
    // another.
    void svgPathsHoldWholeShapes_data() {
        QTest::addColumn<int>("pixels");
        QTest::addColumn<QList<int>>("shapesPerPath");
        const int most = static_cast<int>(SvgSmoothWriter::PathVertices) / 4;
        QTest::newRow("up to the limit") << most << QList<int>{most};
        QTest::newRow("one over") << most + 1 << QList<int>{most, 1};
    }
    void svgPathsHoldWholeShapes() {
        QFETCH(int, pixels);
        const int side = 2 * static_cast<int>(std::ceil(std::sqrt(pixels)));
        const PictureSurface picture = greyPicture(greyLevels(side, side, [side, pixels](int x, int y) {
            return x % 2 == 0 && y % 2 == 0 && (y / 2) * (side / 2) + x / 2 < pixels ? 0 : 255;
        }));
        const QByteArray svg = exportFormat(picture, OutputFormat::Svg, false, 122, 1.0, Smooth).bytes;
        QList<int> shapesPerPath;
        for (qsizetype at = svg.indexOf("<path d=\""); at >= 0; at = svg.indexOf("<path d=\"", at + 1)) {
            shapesPerPath << static_cast<int>(svg.mid(at, svg.indexOf("\"/>", at) - at).count('M'));
        }
        QTEST(shapesPerPath, "shapesPerPath");
    }

    // ezdxf audits the drawing and reads back the polygons, LibreCAD prints it, FreeCAD imports one edge per
    // polygon edge within the drawing, and rsvg-convert at 10 pixels per unit paints every centre farther
    // than 1/10 unit from the edges dark where selected and light elsewhere.
    void realReadersSeeThePolygons() {
        RealReaders readers;
        const auto [timeout, librecad, pdftoppm, freecad] = readers.requireDrawingTools();
        REQUIRE_READERS(readers);
        const QStringList rows = readersGrid();
        const int width = static_cast<int>(rows.first().size()), height = static_cast<int>(rows.size());
        QTemporaryDir dir;
        const QString dxf = dir.filePath("smooth.dxf"), svg = dir.filePath("smooth.svg");
        writeFile(dxf, exportFormat(pictureOf(rows), OutputFormat::Dxf, false, 122, 0.5, Smooth).bytes);
        writeFile(svg, exportFormat(pictureOf(rows), OutputFormat::Svg, false, 122, 0.5, Smooth).bytes);
        const std::vector<SmoothedShape> shapes = smoothShapes(gridOf(rows));
        qsizetype polygonEdges = 0;
        forEachEdge(shapes, [&](HalfPoint, HalfPoint, std::size_t) { ++polygonEdges; });

        writeFile(dir.filePath("segments.py"), DxfSegments);
        const QStringList read =
            run(readers.python, {dir.filePath("segments.py"), dxf}).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(read.mid(0, 3), QStringList({"audit errors 0 fixes 0", "outer paths external True",
                                              "hatch paths are the polylines True"}));
        const QStringList segments = read.mid(3);
        QCOMPARE(segments.size(), polygonEdges);

        writeFile(dir.filePath("freecad.py"), freeCadEdgesScript("smooth.dxf").toUtf8());
        const QString imported = run(freecad, {"-c", "exec(open('freecad.py').read())"}, dir.path());
        QVERIFY2(!imported.startsWith(QStringLiteral("<%1 failed").arg(freecad)), qPrintable(imported));
        const QStringList freecadLines =
            QString::fromUtf8(contents(dir.filePath("freecad.txt"))).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(freecadLines.mid(1), segments);
        const QStringList box = freecadLines.first().split(u' ');
        QVERIFY2(box[1].toDouble() > -1e-9 && box[2].toDouble() > -1e-9 &&
                     box[3].toDouble() < width * 0.5 + 1e-9 && box[4].toDouble() < height * 0.5 + 1e-9,
                 qPrintable(freecadLines.first()));

        qputenv("QT_QPA_PLATFORM", "offscreen");
        const QString printed =
            run(timeout, {"60", librecad, "dxf2pdf", "-a", "-m", "-f", "0,0,0,0", "smooth.dxf"}, dir.path());
        QVERIFY2(!printed.startsWith(QStringLiteral("<%1 failed").arg(timeout)), qPrintable(printed));
        QCOMPARE(run(pdftoppm, {"-r", "36", "-png", "-singlefile", "smooth.pdf", "page"}, dir.path()),
                 QString());
        const QImage page = QImage(dir.filePath("page.png"));
        bool inked = false;
        for (int y = 0; y < page.height() && !inked; ++y) {
            for (int x = 0; x < page.width() && !inked; ++x) {
                inked = qGray(page.pixel(x, y)) < 128;
            }
        }
        QVERIFY(inked);

        const QString png = dir.filePath("smooth.png");
        QCOMPARE(run(readers.rsvg, {"-w", QString::number(10 * width), "-h", QString::number(10 * height),
                                    "-b", "white", "-o", png, svg}),
                 QString());
        const QImage rendered(png);
        int checked = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                bool clear = true; // farther than 1/10 unit (2/10 half unit) from every edge
                forEachEdge(shapes, [&](HalfPoint a, HalfPoint b, std::size_t) {
                    clear = clear && !closerThan(a, b, {2 * x + 1, 2 * y + 1}, 400);
                });
                if (clear) {
                    const bool dark = qGray(rendered.pixel(10 * x + 5, 10 * y + 5)) < 128;
                    QVERIFY2(dark == (rows[y][x] == u'1'),
                             qPrintable(QStringLiteral("pixel (%1, %2)").arg(x).arg(y)));
                    ++checked;
                }
            }
        }
        QVERIFY(checked * 10 > width * height * 9); // chords keep only 1/100 unit from the centres
    }
};

QTEST_GUILESS_MAIN(SmoothDrawingTest)
#include "SmoothDrawingTest.moc"
