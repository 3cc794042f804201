#pragma once
// Running the real readers of the drawings (python3 with ezdxf, rsvg-convert, LibreCAD, FreeCAD) from the
// tests, and the pictures of 0 and 1 they are compared with.

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QtTest>

#include <functional>

// The program's standard output, or "<program failed: its standard error>".
inline QString run(const QString& program, const QStringList& arguments, const QString& folder = {}) {
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

// Lines from the top, of what `mark` gives for each (x, y) of a width x height grid.
inline QStringList lines(int width, int height, const std::function<QChar(int, int)>& mark) {
    QStringList rows;
    for (int y = 0; y < height; ++y) {
        QString row;
        for (int x = 0; x < width; ++x) {
            row += mark(x, y);
        }
        rows << row;
    }
    return rows;
}

// A rendering as lines from the top: 1 for black, 0 for white, ? for any other colour.
inline QStringList inkLines(const QImage& image) {
    return lines(image.width(), image.height(), [&image](int x, int y) {
        const QRgb colour = image.pixel(x, y) | 0xFF000000;
        return colour == qRgb(0, 0, 0) ? u'1' : colour == qRgb(255, 255, 255) ? u'0' : u'?';
    });
}

// The readers the tests run: the paths of those found, and what is missing.
struct RealReaders {
    QString python = QStringLiteral("/usr/bin/python3"); // Debian's, which has python3-ezdxf
    QString rsvg = QStandardPaths::findExecutable(QStringLiteral("rsvg-convert"));
    QStringList missing;

    RealReaders() {
        if (!QFile::exists(python) || !run(python, {"-c", "import ezdxf"}).isEmpty()) {
            missing << QStringLiteral("python3-ezdxf");
        }
        if (rsvg.isEmpty()) {
            missing << QStringLiteral("librsvg2-bin");
        }
    }

    // The path of `program`, or empty with its `package` listed as missing.
    QString require(const QString& program, const QString& package) {
        const QString path = QStandardPaths::findExecutable(program);
        if (path.isEmpty()) {
            missing << package;
        }
        return path;
    }

    // What prints and imports a drawing: LibreCAD (run under timeout), pdftoppm for its PDF, FreeCAD.
    struct DrawingTools {
        QString timeout, librecad, pdftoppm, freecad;
    };
    DrawingTools requireDrawingTools() {
        return {require(QStringLiteral("timeout"), QStringLiteral("coreutils")),
                require(QStringLiteral("librecad"), QStringLiteral("librecad")),
                require(QStringLiteral("pdftoppm"), QStringLiteral("poppler-utils")),
                require(QStringLiteral("freecadcmd"), QStringLiteral("freecad"))};
    }
};

// A FreeCAD script importing the DXF `file` as its importer does for a user, and writing freecad.txt: the
// imported shapes' bounding box, then every edge by its two ends, sorted.
inline QString freeCadEdgesScript(const QString& file) {
    return QStringLiteral(R"(import FreeCAD, importDXF
doc = FreeCAD.newDocument("t")
importDXF.insert("%1", "t")
edges, box = [], None
def edge(a, b):
    ends = sorted([(round(a.x, 6), round(a.y, 6)), (round(b.x, 6), round(b.y, 6))])
    return "%g %g %g %g" % (ends[0] + ends[1])
for shape in [o.Shape for o in doc.Objects if hasattr(o, "Shape") and o.Shape.Edges]:
    edges += [edge(e.Vertexes[0].Point, e.Vertexes[-1].Point) for e in shape.Edges]
    box = shape.BoundBox if box is None else box.united(shape.BoundBox)
with open("freecad.txt", "w") as out:
    out.write("box %g %g %g %g\n" % (box.XMin, box.YMin, box.XMax, box.YMax) + "\n".join(sorted(edges)) + "\n")
)")
        .arg(file);
}

// Leaves the test when a reader it needs is missing: skipped, but failed under CI, where the test
// command installs every reader.
#define REQUIRE_READERS(readers)                                                                             \
    do {                                                                                                     \
        if (!(readers).missing.isEmpty()) {                                                                  \
            const QByteArray why = ((readers).missing.join(QStringLiteral(", ")) +                           \
                                    QStringLiteral(" not installed (scripts/quillet.sh test installs it)"))  \
                                       .toLocal8Bit();                                                       \
            if (qEnvironmentVariableIsSet("CI")) {                                                           \
                QFAIL(why.constData());                                                                      \
            }                                                                                                \
            QSKIP(why.constData());                                                                          \
        }                                                                                                    \
    } while (false)
