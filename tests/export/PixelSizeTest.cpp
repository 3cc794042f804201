#include "export/PixelSize.h"
#include "TestFiles.h"
#include "runtime/StatedResolution.h"

#include <QBuffer>
#include <QImage>
#include <QtTest>

namespace {

// A 2 x 2 picture saved as `type` with the given dots per metre.
QByteArray saved(const char* type, int dotsPerMetreX, int dotsPerMetreY) {
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(dotsPerMetreX);
    image.setDotsPerMeterY(dotsPerMetreY);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, type);
    return bytes;
}

// The file with `length` bytes from the one `after` begins with `offset` on replaced by `bytes`
// (nothing replaced: removed).
QByteArray patched(QByteArray file, const QByteArray& after, int offset, int length,
                   const QByteArray& bytes) {
    const qsizetype at = file.indexOf(after);
    return at < 0 ? QByteArray() : file.replace(at + offset, length, bytes);
}

} // namespace

class PixelSizeTest : public QObject {
    Q_OBJECT
private slots:
    void statedResolutionIsReadFromTheHeader_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<double>("dotsPerInch"); // 0: none stated
        const QByteArray png = saved("png", 11811, 3780);
        const QByteArray jpg = saved("jpg", 11811, 3780);
        const QByteArray bmp = saved("bmp", 11811, 3780);
        const double perMetre = 11811 * 0.0254;
        QTest::newRow("png pHYs, x not y") << png << perMetre;
        QTest::newRow("png without pHYs") << patched(png, "pHYs", -4, 21, {}) << 0.0;
        QTest::newRow("png pHYs without unit") << patched(png, "pHYs", 12, 1, QByteArray(1, '\0')) << 0.0;
        QTest::newRow("jpg dots per inch")
            << patched(jpg, "JFIF", 7, 5, QByteArray("\x01\x01\x2c\x00\x48", 5)) << 300.0;
        QTest::newRow("jpg dots per cm")
            << patched(jpg, "JFIF", 7, 5, QByteArray("\x02\x00\x76\x00\x76", 5)) << 118 * 2.54;
        QTest::newRow("jpg aspect only") << patched(jpg, "JFIF", 7, 1, QByteArray(1, '\0')) << 0.0;
        QTest::newRow("bmp pixels per metre") << bmp << perMetre;
        QTest::newRow("bmp zero") << patched(bmp, "BM", 38, 4, QByteArray(4, '\0')) << 0.0;
        QTest::newRow("gif") << QByteArray("GIF89a\x02\x00\x02\x00", 10) << 0.0;
        QTest::newRow("truncated png") << png.left(20) << 0.0;
        QTest::newRow("empty") << QByteArray() << 0.0;
    }
    void statedResolutionIsReadFromTheHeader() {
        QFETCH(QByteArray, file);
        QFETCH(double, dotsPerInch);
        QBuffer buffer(&file);
        buffer.open(QIODevice::ReadOnly);
        const qint64 at = std::min<qint64>(3, file.size());
        buffer.seek(at);
        QCOMPARE(statedDotsPerInch(buffer).value_or(0.0), dotsPerInch);
        QCOMPARE(buffer.pos(), at);
    }

    // The pixel size given, else the dpi given, else the stated resolution, else 96 dpi.
    void pixelSizeFollowsTheChoicesInOrder() {
        const std::optional<double> none;
        QCOMPARE(pixelMillimetres({none, none, none}), 25.4 / 96);
        QCOMPARE(pixelMillimetres({none, none, 300.0}), 25.4 / 300);
        QCOMPARE(pixelMillimetres({none, 600.0, 300.0}), 25.4 / 600);
        QCOMPARE(pixelMillimetres({0.5, 600.0, 300.0}), 0.5);
    }

    void aPictureFileStatesItsResolution() {
        QTemporaryDir dir;
        writeFile(dir.filePath("a.png"), saved("png", 7874, 7874));
        QCOMPARE(statedDotsPerInch(dir.filePath("a.png")), std::optional<double>(7874 * 0.0254));
        QCOMPARE(statedDotsPerInch(dir.filePath("missing.png")), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(PixelSizeTest)
#include "PixelSizeTest.moc"
