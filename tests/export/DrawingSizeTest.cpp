// A drawing's size: the pixel's sides from the choices and the file's resolutions, each within 1e-6 mm to
// 1e6 mm; resolutions in pixels per metre as the dpi they were written from; rectangular pixels in every
// drawing; no infinite or undefined number in a file at the limits; the dialog's resolution texts.

#include "FormatExport.h"
#include "RealReaders.h"
#include "export/ExportDialogTexts.h"
#include "export/PixelSize.h"
#include "runtime/PictureHeader.h"

#include <QRegularExpression>
#include <QtTest>

Q_DECLARE_METATYPE(OutputFormat)
Q_DECLARE_METATYPE(ShapeKind)

namespace {

// 0 stands for none.
std::optional<double> given(double value) {
    return value > 0 ? std::optional<double>(value) : std::nullopt;
}
std::optional<DotsPerInch> stated(double x, double y) {
    return x > 0 ? std::optional<DotsPerInch>(DotsPerInch{x, y}) : std::nullopt;
}

// Reads a drawing back with ezdxf: the audit's errors, the extents, then every corner of the entities in
// whole units of u_x and u_y (a corner off the unit grid, or not finite, is reported instead).
constexpr char CornerReader[] = R"(import sys, math, ezdxf
doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
print("audit errors", len(auditor.errors))
ux, uy = float(sys.argv[2]), float(sys.argv[3])
print("extents", *[round(v / u) for v, u in zip(tuple(doc.header["$EXTMAX"])[:2], (ux, uy))])
points = []
for e in doc.modelspace():
    if e.dxftype() == "SOLID":
        points += [e.dxf.vtx0, e.dxf.vtx1, e.dxf.vtx2, e.dxf.vtx3]
    elif e.dxftype() == "LWPOLYLINE":
        points += list(e.get_points("xy"))
    elif e.dxftype() == "HATCH":
        for path in e.paths:
            points += [v[:2] for v in path.vertices]
corners = set()
for p in points:
    x, y = p[0], p[1]
    assert math.isfinite(x) and math.isfinite(y), (x, y)
    assert x == round(x / ux) * ux and y == round(y / uy) * uy, (x, y)
    corners.add((round(x / ux), round(y / uy)))
print("corners", *sorted(corners))
)";

// A picture of 5 x 3 pixels, pixel (1, 0) black and the rest white.
PictureSurface onePixelAtOneZero() {
    return greyPicture(greyLevels(5, 3, [](int x, int y) { return x == 1 && y == 0 ? 0 : 255; }));
}

bool holdsInfinityOrNan(const QByteArray& bytes) {
    static const QRegularExpression word(QStringLiteral("\\b(inf|infinity|nan)\\b"),
                                         QRegularExpression::CaseInsensitiveOption);
    return word.match(QString::fromLatin1(bytes)).hasMatch();
}

} // namespace

class DrawingSizeTest : public QObject {
    Q_OBJECT
private slots:
    void wholeMetreResolutionsReadAsTheShortestDpi_data() {
        QTest::addColumn<qint64>("perMetre");
        QTest::addColumn<double>("dpi"); // 0: none
        QTest::newRow("300") << qint64{11811} << 300.0;
        QTest::newRow("600") << qint64{23622} << 600.0;
        QTest::newRow("72") << qint64{2835} << 72.0;
        QTest::newRow("96") << qint64{3780} << 96.0;
        QTest::newRow("100") << qint64{3937} << 100.0;
        QTest::newRow("1200") << qint64{47244} << 1200.0;
        QTest::newRow("254 per metre: 6.44, 6.45 and 6.46 round to it, 6.45 nearest") << qint64{254} << 6.45;
        QTest::newRow("1 per metre: 0.02 and 0.03 round to it, 0.03 nearest") << qint64{1} << 0.03;
        QTest::newRow("25 per metre: 0.63 and 0.64 as near, the larger") << qint64{25} << 0.64;
        QTest::newRow("the largest 32-bit count") << qint64{4294967295} << 109092169.3;
        QTest::newRow("0") << qint64{0} << 0.0;
        QTest::newRow("negative") << qint64{-3937} << 0.0;
        QTest::newRow("beyond 32 bits") << qint64{4294967296} << 0.0;
    }
    void wholeMetreResolutionsReadAsTheShortestDpi() {
        QFETCH(qint64, perMetre);
        QTEST(dotsPerInchOfPixelsPerMetre(perMetre).value_or(0.0), "dpi");
    }

    // The pixel size given, else the dpi given, else the stated resolutions if both can be drawn, else 96.
    void pixelSidesFollowTheChoicesWithinTheRange_data() {
        QTest::addColumn<double>("pixelSize"); // 0: none, for these four
        QTest::addColumn<double>("dpi");
        QTest::addColumn<double>("statedX");
        QTest::addColumn<double>("statedY");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<bool>("statedRefused");
        const double at96 = 25.4 / 96;
        QTest::newRow("nothing") << 0.0 << 0.0 << 0.0 << 0.0 << at96 << at96 << false;
        QTest::newRow("stated 300") << 0.0 << 0.0 << 300.0 << 300.0 << 25.4 / 300 << 25.4 / 300 << false;
        QTest::newRow("stated 300 x 150")
            << 0.0 << 0.0 << 300.0 << 150.0 << 25.4 / 300 << 25.4 / 150 << false;
        QTest::newRow("dpi over stated")
            << 0.0 << 600.0 << 300.0 << 150.0 << 25.4 / 600 << 25.4 / 600 << false;
        QTest::newRow("pixel size over all") << 0.5 << 600.0 << 300.0 << 150.0 << 0.5 << 0.5 << false;
        QTest::newRow("stated at the small end")
            << 0.0 << 0.0 << 25400000.0 << 25400000.0 << 1e-6 << 1e-6 << false;
        QTest::newRow("stated past the small end, across")
            << 0.0 << 0.0 << 25400001.0 << 300.0 << at96 << at96 << true;
        QTest::newRow("stated at the large end")
            << 0.0 << 0.0 << 0.0000254 << 0.0000254 << 25.4 / 0.0000254 << 25.4 / 0.0000254 << false;
        QTest::newRow("stated past the large end, down")
            << 0.0 << 0.0 << 300.0 << 0.0000253 << at96 << at96 << true;
        QTest::newRow("refused stated under a given dpi")
            << 0.0 << 300.0 << 1e9 << 1e9 << 25.4 / 300 << 25.4 / 300 << true;
    }
    void pixelSidesFollowTheChoicesWithinTheRange() {
        QFETCH(double, pixelSize);
        QFETCH(double, dpi);
        QFETCH(double, statedX);
        QFETCH(double, statedY);
        const PixelSides sides = pixelMillimetres({given(pixelSize), given(dpi), stated(statedX, statedY)});
        QTEST(sides.x, "x");
        QTEST(sides.y, "y");
        QTEST(statedResolutionRefused(stated(statedX, statedY)), "statedRefused");
    }

    // Pixels of 1 x 2 mm: DXF corners on that grid, SVG stretched to it.
    void rectangularPixelsInEveryDrawing_data() {
        QTest::addColumn<OutputFormat>("format");
        QTest::addColumn<ShapeKind>("shapes");
        QTest::addColumn<QByteArray>("head"); // in the file
        const QByteArray dxfExtents = "$EXTMAX\n 10\n5\n 20\n6\n";
        const QByteArray svgSize =
            R"(width="5mm" height="6mm" viewBox="0 0 5 3" preserveAspectRatio="none">)";
        QTest::newRow("dxf squares") << OutputFormat::Dxf << ShapeKind::Squares << dxfExtents;
        QTest::newRow("dxf outlines") << OutputFormat::Dxf << ShapeKind::Outlines << dxfExtents;
        QTest::newRow("svg squares") << OutputFormat::Svg << ShapeKind::Squares << svgSize;
        QTest::newRow("svg outlines") << OutputFormat::Svg << ShapeKind::Outlines << svgSize;
    }
    void rectangularPixelsInEveryDrawing() {
        QFETCH(OutputFormat, format);
        QFETCH(ShapeKind, shapes);
        QFETCH(QByteArray, head);
        RealReaders readers;
        REQUIRE_READERS(readers);
        const FormatExport drawn =
            exportFormat(onePixelAtOneZero(), format, false, 122, PixelSides(1.0, 2.0), {shapes, 0});
        QVERIFY2(drawn.bytes.contains(head), drawn.bytes.left(300).constData());
        QCOMPARE(drawn.outcome.drawingMillimetres, QSizeF(5, 6));
        QTemporaryDir dir;
        const QString file = dir.filePath(format == OutputFormat::Dxf ? "drawing.dxf" : "drawing.svg");
        writeFile(file, drawn.bytes);
        if (format == OutputFormat::Dxf) {
            writeFile(dir.filePath("read.py"), CornerReader);
            // Pixel (1, 0) of 3 rows covers x 1 to 2 and y 4 to 6.
            QCOMPARE(run(readers.python, {dir.filePath("read.py"), file, "1", "2"}),
                     QStringLiteral("audit errors 0\nextents 5 3\ncorners (1, 2) (1, 3) (2, 2) (2, 3)\n"));
        } else {
            const QString png = dir.filePath("drawing.png");
            QCOMPARE(run(readers.rsvg, {"-w", "5", "-h", "6", "-b", "white", "-o", png, file}), QString());
            QCOMPARE(inkLines(QImage(png)),
                     (QStringList{"01000", "01000", "00000", "00000", "00000", "00000"}));
        }
    }

    // At both ends of the range, square or not, every number is finite and the readers take the file.
    void noDrawingAtTheLimitsHoldsInfinityOrNan_data() {
        QTest::addColumn<OutputFormat>("format");
        QTest::addColumn<ShapeKind>("shapes");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        for (const auto& [format, formatName] :
             {std::pair{OutputFormat::Dxf, "dxf"}, {OutputFormat::Svg, "svg"}}) {
            for (const auto& [kind, kindName] :
                 {std::pair{ShapeKind::Squares, "squares"}, {ShapeKind::Outlines, "outlines"}}) {
                for (const auto& [x, y] : {std::pair{1e-6, 1e-6}, {1e6, 1e6}, {1e-6, 1e6}, {1e6, 1e-6}}) {
                    QTest::addRow("%s %s %g x %g", formatName, kindName, x, y) << format << kind << x << y;
                }
            }
        }
    }
    void noDrawingAtTheLimitsHoldsInfinityOrNan() {
        QFETCH(OutputFormat, format);
        QFETCH(ShapeKind, shapes);
        QFETCH(double, x);
        QFETCH(double, y);
        RealReaders readers;
        REQUIRE_READERS(readers);
        const PictureSurface picture =
            greyPicture(greyLevels(40, 30, [](int i, int j) { return (i * 7 + j * 13) % 5 == 0 ? 0 : 255; }));
        const FormatExport drawn = exportFormat(picture, format, false, 122, PixelSides(x, y), {shapes, 0});
        QVERIFY(!drawn.bytes.isEmpty() && !holdsInfinityOrNan(drawn.bytes));
        QTemporaryDir dir;
        const QString file = dir.filePath(format == OutputFormat::Dxf ? "drawing.dxf" : "drawing.svg");
        writeFile(file, drawn.bytes);
        if (format == OutputFormat::Dxf) {
            writeFile(dir.filePath("read.py"), CornerReader);
            const QString read =
                run(readers.python, {dir.filePath("read.py"), file, QString::number(x, 'g', 17),
                                     QString::number(y, 'g', 17)});
            QVERIFY2(read.startsWith("audit errors 0\nextents 40 30\ncorners (0, 4) (0, 5) (0, 9)"),
                     qPrintable(read.left(200)));
        } else {
            const QString png = dir.filePath("drawing.png");
            QCOMPARE(run(readers.rsvg, {"-w", "40", "-h", "30", "-b", "white", "-o", png, file}), QString());
            QCOMPARE(QImage(png).size(), QSize(40, 30));
        }
    }

    // The field shows the stated resolution across; the line beside it both, where they differ, or that
    // what the file states counts as none.
    void theResolutionFieldAndItsNoteShowTheFilesResolution_data() {
        QTest::addColumn<double>("statedX"); // 0: none
        QTest::addColumn<double>("statedY");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("note");
        QTest::newRow("none") << 0.0 << 0.0 << "96"
                              << "";
        QTest::newRow("square") << 300.0 << 300.0 << "300"
                                << "";
        QTest::newRow("rectangular") << 300.0 << 150.0 << "300"
                                     << "文件: 300 × 150 dpi";
        QTest::newRow("out of range") << 54546084.63 << 54546084.63 << "96"
                                      << "文件: 54546084.63 dpi 超出范围";
    }
    void theResolutionFieldAndItsNoteShowTheFilesResolution() {
        QFETCH(double, statedX);
        QFETCH(double, statedY);
        QTEST(resolutionText(stated(statedX, statedY)), "field");
        QTEST(statedResolutionNote(stated(statedX, statedY)), "note");
    }

    // The field as it came keeps the file's two sides; a typed resolution sets both; out of range is none.
    void theTypedResolutionGivesThePixelsSides_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("x"); // 0: refused
        QTest::addColumn<double>("y");
        QTest::newRow("the stated across") << "300" << 25.4 / 300 << 25.4 / 150;
        QTest::newRow("the same number written otherwise") << " 300.0 " << 25.4 / 300 << 25.4 / 150;
        QTest::newRow("another") << "1200.5" << 25.4 / 1200.5 << 25.4 / 1200.5;
        QTest::newRow("the small end") << "25400000" << 1e-6 << 1e-6;
        QTest::newRow("past the small end") << "25400001" << 0.0 << 0.0;
        QTest::newRow("the large end") << "0.0000254" << 25.4 / 0.0000254 << 25.4 / 0.0000254;
        QTest::newRow("past the large end") << "0.0000253" << 0.0 << 0.0;
        QTest::newRow("zero") << "0" << 0.0 << 0.0;
        QTest::newRow("beyond any double") << "1e400" << 0.0 << 0.0;
        QTest::newRow("no number") << "abc" << 0.0 << 0.0;
    }
    void theTypedResolutionGivesThePixelsSides() {
        QFETCH(QString, typed);
        const std::optional<PixelSides> sides = pixelMillimetresTyped(typed, DotsPerInch{300, 150});
        QTEST(sides ? sides->x : 0.0, "x");
        QTEST(sides ? sides->y : 0.0, "y");
    }
};

QTEST_GUILESS_MAIN(DrawingSizeTest)
#include "DrawingSizeTest.moc"
