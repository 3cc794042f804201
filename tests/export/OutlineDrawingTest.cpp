#include "FormatExport.h"
#include "RealReaders.h"
#include "export/CornerSpool.h"
#include "export/DxfOutlineWriter.h"
#include "export/SvgOutlineWriter.h"
#include "runtime/OutputFile.h"

#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <vector>

namespace {

enum class Drawing { Dxf, Svg };

// Shapes listed by hand, handed over in the same order at every walk.
class ListedShapes : public ShapeSource {
public:
    explicit ListedShapes(std::vector<TracedShape> shapes) : shapes_(std::move(shapes)) {}
    void forEachShape(const std::function<void(const TracedShape&)>& shape) const override {
        ++walks;
        for (const TracedShape& listed : shapes_) {
            shape(listed);
        }
    }
    mutable int walks = 0;

private:
    std::vector<TracedShape> shapes_;
};

// On a grid of 6 x 5 units: a ring of 8 units around the hole (1, 1), and the units (4, 0) and (5, 1),
// one shape through their shared corner, whose outline passes (5, 1) twice, turning right both times.
constexpr int GridWidth = 6, GridHeight = 5;
ListedShapes ringAndPinch() {
    return ListedShapes(
        {{8, {{{{0, 0}, {0, 3}, {3, 3}, {3, 0}}, false}, {{{1, 1}, {2, 1}, {2, 2}, {1, 2}}, true}}},
         {2, {{{{4, 0}, {4, 1}, {5, 1}, {5, 2}, {6, 2}, {6, 1}, {5, 1}, {5, 0}}, false}}}});
}
// The units of those shapes, 1 for selected, one line per row from the top.
const QStringList RingAndPinchUnits{"111010", "101001", "111000", "000000", "000000"};

struct Written {
    QByteArray bytes;
    OutlineTotals totals;
    std::int64_t estimate = 0;
};

Written writeOutlines(Drawing drawing, const ShapeSource& shapes, int unitPixels, double unitMillimetres,
                      QSize grid = {GridWidth, GridHeight}) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("outlines"));
    OutputFile file(path, 1);
    std::unique_ptr<OutlineWriter> writer;
    if (drawing == Drawing::Dxf) {
        writer = std::make_unique<DxfOutlineWriter>(file, grid, unitMillimetres);
    } else {
        writer = std::make_unique<SvgOutlineWriter>(file, grid, unitPixels, unitMillimetres);
    }
    writer->write(shapes);
    file.Close();
    const OutlineTotals& totals = writer->totals();
    return {contents(path), totals,
            drawing == Drawing::Dxf ? DxfOutlineWriter::fileBytes(grid, unitMillimetres, totals)
                                    : SvgOutlineWriter::fileBytes(grid, unitPixels, unitMillimetres, totals)};
}

QByteArray dxfEntities(const QByteArray& dxf) {
    const qsizetype start = dxf.indexOf("ENTITIES\n") + 9;
    return dxf.mid(start, dxf.indexOf("  0\nENDSEC\n", start) - start);
}

// The vertices "x y, x y, ..." as DXF lines.
QByteArray vertexLines(const QByteArray& vertices) {
    QByteArray text;
    for (const QByteArray& vertex : vertices.split(',')) {
        const QList<QByteArray> xy = vertex.trimmed().split(' ');
        text += " 10\n" + xy[0] + "\n 20\n" + xy[1] + "\n";
    }
    return text;
}

QByteArray counted(qsizetype count) {
    return QByteArray::number(count) + "\n";
}

QByteArray polyline(int handle, const QByteArray& vertices) {
    return "  0\nLWPOLYLINE\n  5\n" + QByteArray::number(handle, 16).toUpper() +
           "\n330\n1F\n100\nAcDbEntity\n  8\nOUTLINES\n100\nAcDbPolyline\n 90\n" +
           counted(vertices.count(',') + 1) + " 70\n1\n" + vertexLines(vertices);
}

// A solid HATCH bounded by `paths`, the outer boundary first.
QByteArray hatch(int handle, const QList<QByteArray>& paths) {
    QByteArray text = "  0\nHATCH\n  5\n" + QByteArray::number(handle, 16).toUpper() +
                      "\n330\n1F\n100\nAcDbEntity\n  8\nFILL\n100\nAcDbHatch\n"
                      " 10\n0\n 20\n0\n 30\n0\n210\n0\n220\n0\n230\n1\n  2\nSOLID\n 70\n1\n 71\n0\n 91\n" +
                      counted(paths.size());
    for (const QByteArray& path : paths) {
        text += QByteArray(path == paths.first() ? " 92\n3\n" : " 92\n2\n") + " 72\n0\n 73\n1\n 93\n" +
                counted(path.count(',') + 1) + vertexLines(path) + " 97\n0\n";
    }
    return text + " 75\n0\n 76\n1\n 98\n0\n";
}

QByteArray svg(const char* width, const char* height, const char* viewBox, const QByteArray& paths) {
    return QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"") +
           width + "mm\" height=\"" + height + "mm\" viewBox=\"0 0 " + viewBox +
           "\">\n<g fill=\"#000000\" fill-rule=\"evenodd\" shape-rendering=\"crispEdges\">\n" + paths +
           "</g>\n</svg>\n";
}

// Reads an outline DXF back with ezdxf: the audit, the entities' layers and whether the table declares
// them, the entities' order (L for LWPOLYLINE,
// H for HATCH), the outlines' signed area in units, whether the hatches' paths are the outlines, the
// paths' flags, then the units whose centres the outlines enclose by the even-odd rule, from the top.
constexpr char DxfReader[] = R"(import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
print("audit errors", len(auditor.errors), "fixes", len(auditor.fixes))
w, h, u = int(sys.argv[2]), int(sys.argv[3]), float(sys.argv[4])
msp = doc.modelspace()
print("layers", " ".join(sorted({e.dxf.layer for e in msp})), all(e.dxf.layer in doc.layers for e in msp))
print("order", "".join(e.dxftype()[0] for e in msp))
polylines = [e for e in msp if e.dxftype() == "LWPOLYLINE"]
assert all(p.closed and p.dxf.layer == "OUTLINES" for p in polylines)
hatches = [e for e in msp if e.dxftype() == "HATCH"]
assert all(e.dxf.solid_fill == 1 and e.dxf.layer == "FILL" for e in hatches)
loops = [[(x / u, y / u) for x, y in p.get_points("xy")] for p in polylines]
edges = [(a, b) for loop in loops for a, b in zip(loop, loop[1:] + loop[:1])]
print("signed area", round(sum(a[0] * b[1] - b[0] * a[1] for a, b in edges) / 2, 9))
paths = [path for e in hatches for path in e.paths]
print("hatch paths are the outlines", [[(v[0] / u, v[1] / u) for v in path.vertices] for path in paths] == loops)
print("path flags", " ".join(str(path.path_type_flags) for path in paths))
def inside(px, py):
    return sum((a[1] > py) != (b[1] > py) and px < a[0] + (py - a[1]) * (b[0] - a[0]) / (b[1] - a[1])
               for a, b in edges) % 2
for j in range(h):
    print("".join(str(inside(i + 0.5, h - j - 0.5)) for i in range(w)))
)";

// The end points of every straight edge of an outline DXF, one edge a line "x1 y1 x2 y2" in mm, the
// lower-left end first, sorted: as ezdxf reads the outlines, and as FreeCAD's own importer brings them in,
// with the box around all it imported.
constexpr char DxfSegments[] = R"(import sys, ezdxf
def edge(a, b):
    ends = sorted([(round(a[0], 6), round(a[1], 6)), (round(b[0], 6), round(b[1], 6))])
    return "%g %g %g %g" % (ends[0] + ends[1])
loops = [list(p.get_points("xy")) for p in ezdxf.readfile(sys.argv[1]).modelspace().query("LWPOLYLINE")]
print("\n".join(sorted(edge(a, b) for loop in loops for a, b in zip(loop, loop[1:] + loop[:1]))))
)";

// A grid of pixels touching every border: a ring around a one-pixel hole, a diagonal hairline touching it
// at a corner, and two pixels meeting at a corner on the left border; 1 for black, from the top.
const QStringList CommandGrid{"1110000001", "1010000010", "1110000100", "0001001000",
                              "0000110000", "1000000001", "0100000011"};

} // namespace

Q_DECLARE_METATYPE(Drawing)

class OutlineDrawingTest : public QObject {
    Q_OBJECT
private slots:
    void outlinesWriteExactly_data() {
        QTest::addColumn<Drawing>("drawing");
        QTest::addColumn<int>("unitPixels");
        QTest::addColumn<bool>("shapes");          // the ring and the pinch, or nothing
        QTest::addColumn<QByteArray>("expected");  // the DXF's entities; the SVG whole
        QTest::addColumn<int>("walks");            // over the shapes
        QTest::addColumn<QList<qint64>>("totals"); // shapes, outlines, corners
        const QList<qint64> both{2, 3, 16}, none{0, 0, 0};
        // 0.5 mm units, y up from the bottom edge 5 units down.
        const QByteArray outer = "0 2.5, 0 1, 1.5 1, 1.5 2.5";
        const QByteArray hole = "0.5 2, 1 2, 1 1.5, 0.5 1.5";
        const QByteArray pinch = "2 2.5, 2 2, 2.5 2, 2.5 1.5, 3 1.5, 3 2, 2.5 2, 2.5 2.5";
        QTest::newRow("dxf") << Drawing::Dxf << 1 << true
                             << polyline(0x100, outer) + polyline(0x101, hole) + polyline(0x102, pinch) +
                                    hatch(0x103, {outer, hole}) + hatch(0x104, {pinch})
                             << 1 << both;
        QTest::newRow("svg") << Drawing::Svg << 1 << true
                             << svg("3", "2.5", "6 5",
                                    "<path d=\"M0 0v3h3v-3zM1 1h1v1h-1zM4 0v1h1v1h1v-1h-1v-1z\"/>\n")
                             << 1 << both;
        QTest::newRow("svg, half resolution")
            << Drawing::Svg << 2 << true
            << svg("3", "2.5", "12 10", "<path d=\"M0 0v6h6v-6zM2 2h2v2h-2zM8 0v2h2v2h2v-2h-2v-2z\"/>\n") << 1
            << both;
        QTest::newRow("svg, two-digit steps")
            << Drawing::Svg << 10 << true
            << svg("3", "2.5", "60 50",
                   "<path d=\"M0 0v30h30v-30zM10 10h10v10h-10zM40 0v10h10v10h10v-10h-10v-10z\"/>\n")
            << 1 << both;
        QTest::newRow("dxf, nothing") << Drawing::Dxf << 1 << false << QByteArray() << 1 << none;
        QTest::newRow("svg, nothing")
            << Drawing::Svg << 1 << false << svg("3", "2.5", "6 5", "") << 1 << none;
    }
    void outlinesWriteExactly() {
        QFETCH(Drawing, drawing);
        QFETCH(int, unitPixels);
        QFETCH(bool, shapes);
        const ListedShapes source = shapes ? ringAndPinch() : ListedShapes({});
        const Written written = writeOutlines(drawing, source, unitPixels, 0.5);
        QTEST(drawing == Drawing::Dxf ? dxfEntities(written.bytes) : written.bytes, "expected");
        QTEST(source.walks, "walks");
        QTEST((QList<qint64>{written.totals.shapes, written.totals.outlines, written.totals.corners}),
              "totals");
    }

    // Both layers in the table after "0"; room in the handles for as many entities as the grid's units twice.
    void dxfDeclaresBothLayersAndBoundsItsHandles() {
        const QByteArray dxf = writeOutlines(Drawing::Dxf, ringAndPinch(), 1, 0.5).bytes;
        const QByteArray layer = "\n330\n2\n100\nAcDbSymbolTableRecord\n100\nAcDbLayerTableRecord\n  2\n";
        const QByteArray looks = "\n 70\n0\n 62\n7\n  6\nContinuous\n370\n-3\n";
        QVERIFY(dxf.contains("  2\nLAYER\n  5\n2\n330\n0\n100\nAcDbSymbolTable\n 70\n3\n"
                             "  0\nLAYER\n  5\n10" +
                             layer + "0" + looks + "  0\nLAYER\n  5\n11" + layer + "OUTLINES" + looks +
                             "  0\nLAYER\n  5\n18" + layer + "FILL" + looks + "  0\nENDTAB\n"));
        QVERIFY(dxf.contains("$HANDSEED\n  5\n13C\n")); // 0x100 + 2 x 6 x 5
    }

    // Exact where every number has one digit, but for the SVG steps' signs, taken as half of them.
    void sizeEstimateOfOneDigitDrawings() {
        const Written dxf = writeOutlines(Drawing::Dxf, ringAndPinch(), 1, 1.0);
        QCOMPARE(dxf.estimate, dxf.bytes.size());
        const Written svg = writeOutlines(Drawing::Svg, ringAndPinch(), 1, 1.0);
        QCOMPARE(svg.estimate, svg.bytes.size() + 1); // 6 of 13 steps taken as back, 5 are
    }

    void svgPathsHoldWholeShapes_data() {
        QTest::addColumn<QList<int>>("shapeCorners");
        QTest::addColumn<QList<int>>("shapesPerPath");
        const int most = static_cast<int>(SvgOutlineWriter::PathCorners);
        QTest::newRow("up to the limit") << QList<int>{most / 2, most / 2, 4} << QList<int>{2, 1};
        QTest::newRow("one corner over") << QList<int>{most / 2, most / 2 + 1} << QList<int>{1, 1};
        QTest::newRow("a shape over the limit alone") << QList<int>{4, most + 4, 4} << QList<int>{1, 1, 1};
    }
    void svgPathsHoldWholeShapes() {
        QFETCH(QList<int>, shapeCorners);
        std::vector<TracedShape> shapes;
        for (const int corners : shapeCorners) { // around one unit, again and again
            Outline outline;
            for (int i = 0; i < corners; ++i) {
                outline.corners.push_back({(i + 1) / 2 % 2, i / 2 % 2});
            }
            shapes.push_back({1, {outline}});
        }
        const QByteArray picture = writeOutlines(Drawing::Svg, ListedShapes(shapes), 1, 1.0).bytes;
        QList<int> shapesPerPath;
        for (qsizetype at = picture.indexOf("<path d=\""); at >= 0;
             at = picture.indexOf("<path d=\"", at + 1)) {
            shapesPerPath << static_cast<int>(picture.mid(at, picture.indexOf("\"/>", at) - at).count('M'));
        }
        QTEST(shapesPerPath, "shapesPerPath");
    }

    // What a spool hands back is what was put, in order, wherever it was kept.
    void spoolHandsBackWhatWasPut_data() {
        QTest::addColumn<int>("memoryBytes");
        QTest::newRow("all in the file") << 0;
        QTest::newRow("memory first, then the file") << 60;
        QTest::newRow("all in memory") << int(CornerSpool::MemoryBytes);
    }
    void spoolHandsBackWhatWasPut() {
        QFETCH(int, memoryBytes);
        const auto text = [](const TracedShape& shape) {
            QString listed = QString::number(shape.outlines.size());
            for (const Outline& outline : shape.outlines) {
                listed += outline.hole ? QStringLiteral(" hole") : QStringLiteral(" outer");
                for (const OutlineCorner& corner : outline.corners) {
                    listed += QStringLiteral(" %1,%2").arg(corner.x).arg(corner.y);
                }
            }
            return listed;
        };
        QStringList put;
        CornerSpool spool(static_cast<std::size_t>(memoryBytes));
        for (int round = 0; round < 3; ++round) {
            ringAndPinch().forEachShape([&](const TracedShape& shape) {
                spool.put(shape);
                put << text(shape);
            });
        }
        for (int reading = 0; reading < 2; ++reading) {
            QStringList taken;
            QVERIFY(spool.kept() &&
                    spool.forEachShape([&](const TracedShape& shape) { taken << text(shape); }));
            QCOMPARE(taken, put);
        }
    }

    // ezdxf audits the DXF and reads back its outlines and hatches; rsvg-convert renders the SVG.
    void realReadersSeeExactlyTheShapes() {
        const RealReaders readers;
        REQUIRE_READERS(readers);
        QTemporaryDir dir;
        const double unit = 25.4 / 96;
        writeFile(dir.filePath("read.py"), DxfReader);
        writeFile(dir.filePath("outlines.dxf"), writeOutlines(Drawing::Dxf, ringAndPinch(), 1, unit).bytes);
        QCOMPARE(run(readers.python,
                     {dir.filePath("read.py"), dir.filePath("outlines.dxf"), QString::number(GridWidth),
                      QString::number(GridHeight), QString::number(unit, 'g', 17)})
                     .split(u'\n', Qt::SkipEmptyParts),
                 QStringList({"audit errors 0 fixes 0", "layers FILL OUTLINES True", "order LLLHH",
                              "signed area 10.0", "hatch paths are the outlines True", "path flags 3 2 3"}) +
                     RingAndPinchUnits);
        // Each unit spans unitPixels x unitPixels pixels of the rendering.
        for (const int unitPixels : {1, 2}) {
            const QString picture = dir.filePath("outlines.svg"), png = dir.filePath("outlines.png");
            writeFile(picture, writeOutlines(Drawing::Svg, ringAndPinch(), unitPixels, unit).bytes);
            QCOMPARE(run(readers.rsvg,
                         {"-w", QString::number(GridWidth * unitPixels), "-h",
                          QString::number(GridHeight * unitPixels), "-b", "white", "-o", png, picture}),
                     QString());
            QCOMPARE(inkLines(QImage(png)),
                     lines(GridWidth * unitPixels, GridHeight * unitPixels,
                           [&](int x, int y) { return RingAndPinchUnits[y / unitPixels][x / unitPixels]; }));
        }
    }

    // The command's whole road to outline drawings, read by the readers people use: LibreCAD's dxf2pdf
    // fills exactly the selected pixels, FreeCAD's importer brings in exactly the outlines' edges at
    // true size, and rsvg-convert's black pixels are the selection.
    void realReadersDrawTheCommandsOutlines() {
        RealReaders readers;
        const auto [timeout, librecad, pdftoppm, freecad] = readers.requireDrawingTools();
        REQUIRE_READERS(readers);
        const int width = static_cast<int>(CommandGrid.first().size()),
                  height = static_cast<int>(CommandGrid.size());
        const PictureSurface picture = greyPicture(
            greyLevels(width, height, [](int x, int y) { return CommandGrid[y][x] == u'1' ? 0 : 255; }));
        const ShapeChoice outlines{ShapeKind::Outlines, 0};
        QTemporaryDir dir;
        const QString dxf = dir.filePath("outlines.dxf"), svg = dir.filePath("outlines.svg");
        writeFile(dxf, exportFormat(picture, OutputFormat::Dxf, false, 122, 0.5, outlines).bytes);
        writeFile(svg, exportFormat(picture, OutputFormat::Svg, false, 122, 0.5, outlines).bytes);

        // Fitted to an A4 page and centred; the drawing's extents are the ink's, as its shapes touch every
        // border, so each pixel's centre is sampled within them.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        const QString printed = run(
            timeout, {"60", librecad, "dxf2pdf", "-a", "-m", "-f", "0,0,0,0", "outlines.dxf"}, dir.path());
        QVERIFY2(!printed.startsWith(QStringLiteral("<%1 failed").arg(timeout)), qPrintable(printed));
        QCOMPARE(run(pdftoppm, {"-r", "72", "-png", "-singlefile", "outlines.pdf", "page"}, dir.path()),
                 QString());
        const QImage page = QImage(dir.filePath("page.png")).convertToFormat(QImage::Format_Grayscale8);
        QRect ink;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                if (qGray(page.pixel(x, y)) < 128) {
                    ink |= QRect(x, y, 1, 1);
                }
            }
        }
        QVERIFY(!ink.isEmpty());
        QCOMPARE(lines(width, height,
                       [&](int x, int y) {
                           const int pageX = ink.left() + static_cast<int>((x + 0.5) * (ink.width()) / width);
                           const int pageY =
                               ink.top() + static_cast<int>((y + 0.5) * (ink.height()) / height);
                           return qGray(page.pixel(pageX, pageY)) < 128 ? u'1' : u'0';
                       }),
                 CommandGrid);

        writeFile(dir.filePath("segments.py"), DxfSegments);
        writeFile(dir.filePath("freecad.py"), freeCadEdgesScript("outlines.dxf").toUtf8());
        const QStringList segments =
            run(readers.python, {dir.filePath("segments.py"), dxf}).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(segments.size(), 46); // the corners of its 4 outlines
        const QString imported = run(freecad, {"-c", "exec(open('freecad.py').read())"}, dir.path());
        QVERIFY2(!imported.startsWith(QStringLiteral("<%1 failed").arg(freecad)), qPrintable(imported));
        QCOMPARE(QString::fromUtf8(contents(dir.filePath("freecad.txt"))).split(u'\n', Qt::SkipEmptyParts),
                 QStringList{"box 0 0 5 3.5"} + segments);

        const QString png = dir.filePath("outlines.png");
        QCOMPARE(run(readers.rsvg, {"-w", QString::number(width), "-h", QString::number(height), "-b",
                                    "white", "-o", png, svg}),
                 QString());
        QCOMPARE(inkLines(QImage(png)), CommandGrid);
    }
};

QTEST_GUILESS_MAIN(OutlineDrawingTest)
#include "OutlineDrawingTest.moc"
