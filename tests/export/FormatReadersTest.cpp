#include "FormatExport.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

namespace {

// Reads a DXF back with ezdxf: the audit's errors, then the squares the SOLIDs
// fill, one line of 0 and 1 per row from the top; a SOLID that is no rectangle
// of whole squares or overlaps another, or a header that does not frame the
// picture, is reported instead of the squares.
constexpr char DxfReader[] = R"(import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
print("audit errors", len(auditor.errors), "fixes", len(auditor.fixes))
w, h, u = int(sys.argv[2]), int(sys.argv[3]), float(sys.argv[4])
head = doc.header
assert doc.dxfversion >= "AC1015" and head["$INSUNITS"] == 4 and head["$MEASUREMENT"] == 1
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

// A picture with runs of every length in both directions: a ramp with grain.
GreyLevels testLevels(int width, int height) {
    GreyLevels levels(width, QVector<int>(height));
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            levels[x][y] = (x * 11 + y * 7) % 97 + ((x * y) % 5 == 0 ? 0 : 80);
        }
    }
    return levels;
}

// The selected units, black on white, one pixel each.
QImage selectedUnits(const GreyLevels& levels, int span, bool white, int threshold) {
    QImage units((levels.size() + span - 1) / span, (levels[0].size() + span - 1) / span,
                 QImage::Format_RGB32);
    for (int y = 0; y < units.height(); ++y) {
        for (int x = 0; x < units.width(); ++x) {
            const int level = levels[x * span][y * span];
            units.setPixel(
                x, y, (white ? level > threshold : level < threshold) ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
    }
    return units;
}

// A picture as lines from the top, as the DXF reader prints them: 1 for black,
// 0 for white, ? for any other.
QStringList blackPixels(const QImage& image) {
    QStringList rows;
    for (int y = 0; y < image.height(); ++y) {
        QString row;
        for (int x = 0; x < image.width(); ++x) {
            const QRgb colour = image.pixel(x, y) | 0xFF000000;
            row += colour == qRgb(0, 0, 0) ? u'1' : colour == qRgb(255, 255, 255) ? u'0' : u'?';
        }
        rows << row;
    }
    return rows;
}

QString run(const QString& program, const QStringList& arguments, const QString& folder = {}) {
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        return QStringLiteral("<%1 failed: %2>")
            .arg(program, QString::fromLocal8Bit(process.readAllStandardError()));
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

} // namespace

class FormatReadersTest : public QObject {
    Q_OBJECT
private slots:
    void realReadersSeeExactlyTheSelection_data() {
        QTest::addColumn<bool>("half");
        QTest::addColumn<bool>("white");
        QTest::addColumn<int>("threshold");
        QTest::newRow("original, black") << false << false << 122;
        QTest::newRow("half, odd sides, white") << true << true << 122;
        QTest::newRow("empty selection") << false << false << 0;
    }
    void realReadersSeeExactlyTheSelection() {
        QFETCH(bool, half);
        QFETCH(bool, white);
        QFETCH(int, threshold);
        const QString python = QStringLiteral("/usr/bin/python3");
        const QString rsvg = QStandardPaths::findExecutable(QStringLiteral("rsvg-convert"));
        if (!QFile::exists(python) || rsvg.isEmpty() || !run(python, {"-c", "import ezdxf"}).isEmpty()) {
            QSKIP("python3-ezdxf or librsvg2-bin is not installed "
                  "(scripts/quillet.sh test installs them)");
        }
        const GreyLevels levels = testLevels(23, 17);
        const int span = half ? 2 : 1;
        const QImage units = selectedUnits(levels, span, white, threshold);
        const PictureSurface source = half ? halfPicture(levels) : greyPicture(levels);
        QTemporaryDir dir;
        const double pixel = 25.4 / 96;
        const QString dxf = dir.filePath("picture.dxf");
        exportFormat(source, OutputFormat::Dxf, white, threshold, pixel, dxf);
        writeFile(dir.filePath("read.py"), DxfReader);
        const QString read =
            run(python, {dir.filePath("read.py"), dxf, QString::number(units.width()),
                         QString::number(units.height()), QString::number(pixel * span, 'g', 17)});
        QCOMPARE(read.split(u'\n', Qt::SkipEmptyParts),
                 QStringList{"audit errors 0 fixes 0"} + blackPixels(units));
        // each unit spans span x span pixels of the rendering
        const QString svg = dir.filePath("picture.svg");
        const QString png = dir.filePath("picture.png");
        exportFormat(source, OutputFormat::Svg, white, threshold, pixel, svg);
        const QSize pixels = units.size() * span;
        QCOMPARE(run(rsvg, {"-w", QString::number(pixels.width()), "-h", QString::number(pixels.height()),
                            "-b", "white", "-o", png, svg}),
                 QString());
        QCOMPARE(blackPixels(QImage(png)), blackPixels(units.scaled(pixels)));
    }

    void librecadOpensTheDrawing() {
        const QString librecad = QStandardPaths::findExecutable(QStringLiteral("librecad"));
        const QString timeout = QStandardPaths::findExecutable(QStringLiteral("timeout"));
        if (librecad.isEmpty() || timeout.isEmpty()) {
            QSKIP("librecad is not installed (scripts/quillet.sh test installs it)");
        }
        QTemporaryDir dir;
        exportFormat(greyPicture(testLevels(23, 17)), OutputFormat::Dxf, false, 122, 25.4 / 96,
                     dir.filePath("picture.dxf"));
        // A smoke check: it hangs on a broken file, hence the time limit, and
        // offscreen needs no display.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(dir.path());
        process.start(timeout, {"60", librecad, "dxf2pdf", "picture.dxf"});
        QVERIFY(process.waitForFinished(90000));
        QCOMPARE(process.exitCode(), 0);
        QVERIFY(contents(dir.filePath("picture.pdf")).startsWith("%PDF"));
    }
};

QTEST_GUILESS_MAIN(FormatReadersTest)
#include "FormatReadersTest.moc"
