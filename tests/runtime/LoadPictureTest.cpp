// A picture file decoded to its pixels, or refused with its name and a reason; the surface that holds them.

#include "runtime/LoadPicture.h"
#include "runtime/PictureSurface.h"
#include "runtime/RuntimeError.h"

#include "PixelCompare.h"
#include "TestFiles.h"
#include "TestPictures.h"

#include <QtTest>

#include <tuple>
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

QByteArray committed(const QString& name) {
    return contents(QStringLiteral(QUILLET_TEST_DATA "/") + name);
}

// Pictures of each offered type large enough to cut in the middle of their pixel data.
QByteArray sample(const QByteArray& format) {
    return format == "gif" ? committed(QStringLiteral("stripes.gif"))
                           : encodedPicture(variedImage(40, 30), format);
}

// Headers that claim a huge picture over a few bytes of data.
QByteArray claimingSize(const QByteArray& format, quint32 width, quint32 height) {
    QByteArray bytes = sample(format);
    if (format == "png") {
        QByteArray header = bytes.mid(16, 13);
        qToBigEndian(width, header.data());
        qToBigEndian(height, header.data() + 4);
        bytes.replace(8, 25, pngChunk("IHDR", header));
    } else if (format == "bmp") {
        qToLittleEndian(width, bytes.data() + 18);
        qToLittleEndian(height, bytes.data() + 22);
    } else if (format == "gif") {
        qToLittleEndian(static_cast<quint16>(width), bytes.data() + 6);
        qToLittleEndian(static_cast<quint16>(height), bytes.data() + 8);
    } else if (format == "jpg") {
        const qsizetype frame = bytes.indexOf("\xFF\xC0");
        qToBigEndian(static_cast<quint16>(height), bytes.data() + frame + 5);
        qToBigEndian(static_cast<quint16>(width), bytes.data() + frame + 7);
    }
    return bytes.left(200);
}

// A whole one-bit bmp of black pixels: a long line in little space.
QByteArray blackBmp(qint32 width, qint32 height) {
    const qint64 rowBytes = (qint64{width} + 31) / 32 * 4;
    const qint64 pixelsAt = 14 + 40 + 8;
    QByteArray bytes(pixelsAt + rowBytes * height, '\0');
    bytes.replace(0, 2, "BM");
    qToLittleEndian<quint32>(quint32(bytes.size()), bytes.data() + 2);
    qToLittleEndian<quint32>(quint32(pixelsAt), bytes.data() + 10);
    qToLittleEndian<quint32>(40, bytes.data() + 14);
    qToLittleEndian<qint32>(width, bytes.data() + 18);
    qToLittleEndian<qint32>(height, bytes.data() + 22);
    qToLittleEndian<quint16>(1, bytes.data() + 26);          // planes
    qToLittleEndian<quint16>(1, bytes.data() + 28);          // bits per pixel
    qToLittleEndian<quint32>(0x00FFFFFF, bytes.data() + 58); // colour 1 white, colour 0 black
    return bytes;
}

// The first pixel further than tolerance from the expected colour in some channel.
QString differenceFrom(const QImage& picture, const PixelColours& expected, int tolerance) {
    PictureSurface surface;
    surface.assign(picture);
    return firstPixelDifference(surface, [&](int x, int y) {
        const QRgb got = picture.pixel(x, y);
        const QRgb want = storedPixel(expected(x, y));
        const bool near = qAbs(qRed(got) - qRed(want)) <= tolerance &&
                          qAbs(qGreen(got) - qGreen(want)) <= tolerance &&
                          qAbs(qBlue(got) - qBlue(want)) <= tolerance;
        return colourOfStoredPixel(near ? got : want);
    });
}

} // namespace

Q_DECLARE_METATYPE(PixelColours)

class LoadPictureTest : public QObject {
    Q_OBJECT
private slots:
    // Outside the surface Point gives no pixel and PSet does nothing; a resize keeps what fits (a pixel cut
    // off does not come back) and fills the rest with the background; an empty path's picture has no pixel.
    void aSurfaceHasOnlyItsOwnPixels() {
        PictureSurface surface(RGB(1, 2, 3), 3, 2);
        const PixelColours expected = [](int x, int y) {
            return x == 1 && y == 1 ? RGB(10, 20, 30) : RGB(1, 2, 3);
        };
        QCOMPARE(QSizeF(surface.ScaleWidth(), surface.ScaleHeight()), QSizeF(3, 2));
        surface.PSet(1, 1, RGB(10, 20, 30));
        QCOMPARE(surface.Point(1, 1), RGB(10, 20, 30));
        QCOMPARE(QColor(surface.image().pixel(1, 1)), QColor(10, 20, 30)); // red in the low byte
        for (const QPoint outside : {QPoint(3, 0), QPoint(0, 2), QPoint(-1, 0), QPoint(0, -1)}) {
            QCOMPARE(surface.Point(outside.x(), outside.y()), NoPixel);
            surface.PSet(outside.x(), outside.y(), RGB(255, 255, 255));
        }
        QCOMPARE(firstPixelDifference(surface, expected), QString());
        surface.PSet(2, 0, RGB(9, 9, 9));
        surface.resize(2, 3);
        surface.resize(3, 3);
        QCOMPARE(QSize(surface.pixelWidth(), surface.pixelHeight()), QSize(3, 3));
        QCOMPARE(firstPixelDifference(surface, expected), QString());
        surface.assign(LoadPicture(QString()));
        QCOMPARE(surface.ScaleWidth(), 0.0f);
        QCOMPARE(surface.Point(0, 0), NoPixel);
    }

    void userScaleMapsUnitsToDevicePixels() {
        // 5 x 5 pixels at 2.5 x 2.5 units: unit (u, v) is device pixel (2u, 2v)
        PictureSurface surface(0, 5, 5);
        surface.setScaleHeight(5 / 2.0f);
        surface.setScaleWidth(5 / 2.0f);
        surface.PSet(2, 1, RGB(7, 7, 7));
        QCOMPARE(colourOfStoredPixel(surface.image().pixel(4, 2)), RGB(7, 7, 7));
        QCOMPARE(surface.Point(2, 1), RGB(7, 7, 7));
        QCOMPARE(surface.Point(2.5f, 0), NoPixel);
        // odd widths: 7 pixels at 3.5 units, unit 4 is device 8, outside
        PictureSurface seven(0, 7, 7);
        seven.setScaleWidth(3.5f);
        QCOMPARE(seven.deviceX(3), 6);
        QCOMPARE(seven.Point(4, 0), NoPixel);
    }

    void picturesDecodeToTheirPixels_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<PixelColours>("expected");
        QTest::addColumn<int>("tolerance");
        const QImage picture = variedImage(40, 30);
        const PixelColours pattern = [picture](int x, int y) {
            return colourOfStoredPixel(picture.pixel(x, y));
        };
        QImage pixel(1, 1, QImage::Format_RGB32);
        pixel.fill(qRgb(10, 200, 30));
        const PixelColours green = [](int, int) { return RGB(10, 200, 30); };
        for (const char* format : {"png", "bmp", "ico"}) {
            QTest::addRow("%s", format) << encodedPicture(picture, format) << QSize(40, 30) << pattern << 0;
            QTest::addRow("%s one pixel", format)
                << encodedPicture(pixel, format) << QSize(1, 1) << green << 0;
        }
        QTest::newRow("gif one pixel") << committed("one-pixel.gif") << QSize(1, 1) << green << 0;
        QTest::newRow("jpg one pixel") << encodedPicture(pixel, "jpg") << QSize(1, 1) << green << 8;
        const PixelColours redThenBlue = [](int x, int) { return x < 2 ? RGB(255, 0, 0) : RGB(0, 0, 255); };
        QTest::newRow("animated gif: its first frame")
            << committed("animated.gif") << QSize(4, 2) << redThenBlue << 0;
        // Sizes 3 x 3 red, 6 x 5 blue, 4 x 4 green: the largest is neither the first nor the last.
        QTest::newRow("icon: its largest size") << committed("sizes.ico") << QSize(6, 5)
                                                << PixelColours([](int, int) { return RGB(0, 0, 255); }) << 0;
        // Made as red | blue (8 x 8 each) and stored as CMYK with the Adobe marker.
        QTest::newRow("cmyk jpeg keeps its colours")
            << committed("cmyk.jpg") << QSize(16, 8)
            << PixelColours([](int x, int) { return x < 8 ? RGB(255, 0, 0) : RGB(0, 0, 255); }) << 40;
        QImage clear(2, 1, QImage::Format_ARGB32);
        clear.setPixel(0, 0, qRgba(0, 0, 0, 0));
        clear.setPixel(1, 0, qRgba(255, 0, 0, 255));
        QTest::newRow("transparent pixels lie on white")
            << encodedPicture(clear, "png") << QSize(2, 1)
            << PixelColours([](int x, int) { return x == 0 ? RGB(255, 255, 255) : RGB(255, 0, 0); }) << 0;
    }
    void picturesDecodeToTheirPixels() {
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, size);
        QFETCH(PixelColours, expected);
        QFETCH(int, tolerance);
        QTemporaryDir dir;
        writeFile(dir.filePath("picture"), bytes);
        const QImage loaded = LoadPicture(dir.filePath("picture"));
        QCOMPARE(loaded.format(), QImage::Format_RGB32);
        QCOMPARE(loaded.size(), size);
        const QString difference = differenceFrom(loaded, expected, tolerance);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
        QCOMPARE(decodePicture(bytes, QStringLiteral("in memory")), loaded);
    }

    void unreadableFilesRaiseAnErrorNamingTheFileAndTheReason_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("reason");
        const QString unknown = QStringLiteral("not a picture in a known format (jpg, gif, bmp, png or ico)");
        QTest::newRow("text named .png") << QByteArray("just some text\n") << "notes.png" << 481 << unknown;
        QTest::newRow("empty file") << QByteArray() << "empty.jpg" << 481 << "the file is empty";
        QTest::newRow("ppm named .bmp")
            << encodedPicture(variedImage(4, 4), "ppm") << "p.bmp" << 481 << unknown;
        QTest::newRow("gone since it was chosen") << QByteArray("<gone>") << "gone.bmp" << 53
                                                  << "the file does not exist (No such file or directory)";
        QTest::newRow("folder") << QByteArray("<folder>") << "folder.png" << 75 << "it is a folder";
        QTest::newRow("icon claiming 65521 sizes")
            << committed(QStringLiteral("fuzz-findings/icon-claiming-65521-sizes.ico")) << "many.ico" << 481
            << "the picture cannot be decoded (";

        // Cut short: refused as such, never padded, whatever the type. Qt's JPEG and GIF decoders pad a
        // cut-short picture with grey or leave it half drawn, and its BMP decoder stops at the first short
        // row, all reporting success; the others fail with no word on why.
        const QString early = QStringLiteral("the picture data ends early (the file is cut short)");
        for (const char* format : {"png", "jpg", "bmp", "gif", "ico"}) {
            const QByteArray whole = sample(format);
            for (const qsizetype kept : {whole.size() / 10, whole.size() / 2, whole.size() * 3 / 4,
                                         whole.size() * 9 / 10, whole.size() - 3}) {
                QTest::addRow("%s cut to %lld of %lld bytes", format, qlonglong(kept),
                              qlonglong(whole.size()))
                    << whole.left(kept) << "cut." + QString(format) << 481 << early;
            }
        }
        // A bmp that does not say where its pixels start passes the header's size check when cut by less
        // than its headers' length; Qt's decoder stops at the short row.
        QByteArray unplaced = sample("bmp");
        qToLittleEndian<quint32>(0, unplaced.data() + 10);
        QTest::newRow("bmp without its pixels' place, cut by 30 bytes")
            << unplaced.chopped(30) << "unplaced.bmp" << 481 << early;
#ifdef Q_OS_UNIX
        QTest::newRow("FIFO") << QByteArray("<fifo>") << "fifo.png" << 75
                              << "it is not a regular file (a FIFO, socket or device)";
        QTest::newRow("path through a file") << QByteArray("<under a file>") << "file.png/p.png" << 75
                                             << "the file cannot be opened (Not a directory)";
#endif

        // Decompression bombs, refused from their header: among them the largest sizes gif and jpg
        // headers can state, and sizes whose product overflows a 64-bit integer.
        const std::tuple<const char*, quint32, quint32> bombs[] = {{"png", 100000, 100000},
                                                                   {"bmp", 100000, 100000},
                                                                   {"gif", 65535, 65535},
                                                                   {"jpg", 65535, 65535},
                                                                   {"bmp", 0x80000000u, 0x80000000u},
                                                                   {"bmp", 0x7FFFFFFFu, 1},
                                                                   {"png", 4294967295u, 4294967047u}};
        for (const auto& [format, width, height] : bombs) {
            QTest::addRow("%s %u x %u", format, width, height)
                << claimingSize(format, width, height) << "bomb" << 7
                << QStringLiteral("the picture is too large (%1 x %2 pixels; at most 150000000 pixels)")
                       .arg(width)
                       .arg(height);
        }
        // Within the limit, but a line longer than Qt's reader takes: its limit told, not memory.
        QTest::newRow("bmp 100000000 x 1")
            << blackBmp(100'000'000, 1) << "wide.bmp" << 481
            << "the picture is too wide for Qt's picture reader (100000000 pixels "
               "in a line; at most 67108863)";
        // Within the limit, but 200 bytes cannot hold its rows: refused before they are allocated.
        QTest::newRow("bmp 12000 x 12000") << claimingSize("bmp", 12000, 12000) << "bomb" << 481 << early;
    }
    void unreadableFilesRaiseAnErrorNamingTheFileAndTheReason() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        QFETCH(int, number);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        if (bytes == "<fifo>") {
#ifdef Q_OS_UNIX
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0); // no writer: open must not wait
#endif
        } else if (bytes == "<folder>") {
            QVERIFY(QDir(dir.path()).mkdir(name));
        } else if (bytes == "<under a file>") {
            writeFile(dir.filePath("file.png"), "x");
        } else if (bytes != "<gone>") {
            writeFile(path, bytes);
        }
        try {
            LoadPicture(path);
            QFAIL("the file gave a picture");
        } catch (const RuntimeError& error) {
            QCOMPARE(error.number(), number);
            const QString text = QStringLiteral("Cannot open the picture \"%1\": %2").arg(path, reason);
            // A reason ending in "(" goes on in the decoder's own words.
            QCOMPARE(reason.endsWith('(') ? error.text().left(text.size()) : error.text(), text);
        }
    }
};

QTEST_MAIN(LoadPictureTest)
#include "LoadPictureTest.moc"
