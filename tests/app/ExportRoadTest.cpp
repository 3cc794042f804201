// The whole road per format and shape: a picture opened and converted in the windows and exported from the
// export dialog with its shapes and minimum area, against quillet-export given the same settings.

#include "export/Form6.h"
#include "runtime/LoadPicture.h"

#include "DataRows.h"
#include "TestFiles.h"
#include "WholeProgram.h"

#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>

namespace {

struct Road {
    int fileType, shapes, minimumArea;
    bool half;
    QStringList options; // the command's, besides the picture, the file and the settings every row shares
};

// A dark shape with a hole, and apart from it small shapes of one, two (touching at corners) and three
// pixels, on a light ground; the levels vary, so that a CSV's grey column does too.
QImage shapesPicture() {
    const QList<QPoint> small{{14, 3}, {18, 10}, {20, 15}, {13, 12}, {14, 13}, {16, 6}, {17, 6}, {16, 7}};
    QImage picture(23, 17, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const bool shape = x >= 2 && x <= 9 && y >= 2 && y <= 8 && !(y == 5 && (x == 5 || x == 6));
            const int level = shape || small.contains(QPoint(x, y)) ? 20 + x * y % 90 : 230 + (x + y) % 20;
            picture.setPixel(x, y, qRgb(level, level, level));
        }
    }
    return picture;
}

} // namespace

Q_DECLARE_METATYPE(Road)

class ExportRoadTest : public QObject {
    Q_OBJECT
private slots:
    void theWindowsWriteWhatTheCommandWrites_data() {
        addRows<Road>({
            {"point data", {0, 0, 3, false, {"--format", "records"}}},
            {"DXF outlines",
             {1, 0, 3, false, {"--format", "dxf", "--shapes", "outlines", "--min-area", "3"}}},
            {"DXF outlines, half", {1, 0, 2, true, {"--half", "--format", "dxf", "--min-area", "2"}}},
            {"DXF squares", {1, 1, 3, false, {"--format", "dxf", "--shapes", "squares", "--min-area", "3"}}},
            {"SVG outlines",
             {2, 0, 3, false, {"--format", "svg", "--shapes", "outlines", "--min-area", "3"}}},
            {"SVG squares", {2, 1, 3, false, {"--format", "svg", "--shapes", "squares", "--min-area", "3"}}},
            {"DXF smooth", {1, 2, 3, false, {"--format", "dxf", "--shapes", "smooth", "--min-area", "3"}}},
            {"SVG smooth", {2, 2, 0, false, {"--format", "svg", "--shapes", "smooth"}}},
            {"CSV", {3, 0, 3, false, {"--format", "csv", "--min-area", "3"}}},
            {"CSV, every shape", {3, 0, 0, false, {"--format", "csv"}}},
        });
    }
    void theWindowsWriteWhatTheCommandWrites() {
        QFETCH(Road, row);
        WholeProgram program;
        const QString picture = program.path("picture.png");
        QVERIFY(shapesPicture().save(picture));
        program.convert(LoadPicture(picture), row.half);
        program.main.xSave_Click();
        Form6& dialog = program.forms.form6();
        (row.half ? dialog.Option2 : dialog.Option1)->setChecked(true);
        dialog.Option3->setChecked(true);
        dialog.Resolution->setText(QStringLiteral("300"));
        dialog.FileType->setCurrentIndex(row.fileType);
        dialog.Shapes->setCurrentIndex(row.shapes);
        dialog.MinimumArea->setValue(row.minimumArea);
        dialog.Text2->setText(program.path("window.out"));
        dialog.Command1->click();
        const QString command = program.path("command.out");
        QCOMPARE(QProcess::execute(QUILLET_EXPORT_PROGRAM,
                                   row.options +
                                       QStringList{"--threshold", "122", "--dpi", "300", picture, command}),
                 0);
        const QByteArray written = contents(program.path("window.out"));
        QVERIFY(!written.isEmpty());
        QCOMPARE(written, contents(command));
    }
};

QTEST_MAIN(ExportRoadTest)
#include "ExportRoadTest.moc"
