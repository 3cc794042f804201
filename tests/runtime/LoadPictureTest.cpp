#include "runtime/LoadPicture.h"
#include "PixelCompare.h"
#include "runtime/ColourValue.h"
#include "runtime/RuntimeError.h"

#include <QtTest>

#include <optional>

namespace {

QByteArray encoded(const QImage& picture, const char* format) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, format);
    return buffer.data();
}

QByteArray committed(const QString& name) {
    QFile file(QStringLiteral(QUILLET_TEST_DATA "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Colours that vary in every pixel, so that a missing row or column shows.
QImage patterned(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.setPixel(x, y, qRgb(x * 7 % 256, y * 11 % 256, (x * y) % 256));
        }
    }
    return picture;
}

// Pictures of each offered type large enough to cut in the middle of their pixel data.
QByteArray sample(const QByteArray& format) {
    return format == "gif" ? committed(QStringLiteral("stripes.gif")) : encoded(patterned(40, 30), format);
}

QString written(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        return QString();
    }
    return path;
}

std::optional<RuntimeError> errorLoading(const QString& path) {
    try {
        LoadPicture(path);
    } catch (const RuntimeError& error) {
        return error;
    }
    return std::nullopt;
}

quint32 crc32(const QByteArray& bytes) {
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        crc ^= static_cast<uchar>(byte);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

// Headers that claim a huge picture over a few bytes of data.
QByteArray claimingSize(const QByteArray& format, quint32 width, quint32 height) {
    QByteArray bytes = sample(format);
    if (format == "png") {
        qToBigEndian(width, bytes.data() + 16);
        qToBigEndian(height, bytes.data() + 20);
        qToBigEndian(crc32(bytes.mid(12, 17)), bytes.data() + 29);
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

ColourValue at(const QImage& picture, int x, int y) {
    return colourOfStoredPixel(picture.pixel(x, y));
}

QString differenceFrom(const QImage& picture, const std::function<ColourValue(int, int)>& expected) {
    PictureSurface surface;
    surface.assign(picture);
    return firstPixelDifference(surface, expected);
}

bool near(QRgb pixel, QRgb expected, int tolerance) {
    return qAbs(qRed(pixel) - qRed(expected)) <= tolerance &&
           qAbs(qGreen(pixel) - qGreen(expected)) <= tolerance &&
           qAbs(qBlue(pixel) - qBlue(expected)) <= tolerance;
}

} // namespace

class LoadPictureTest : public QObject {
    Q_OBJECT
private slots:
    void emptyPathGivesAnEmptyPicture() { QVERIFY(LoadPicture(QString()).isNull()); }

    void losslessTypesDecodeEveryPixelExactly_data() {
        QTest::addColumn<QByteArray>("format");
        for (const char* format : {"png", "bmp", "ico"}) {
            QTest::newRow(format) << QByteArray(format);
        }
    }
    void losslessTypesDecodeEveryPixelExactly() {
        QFETCH(QByteArray, format);
        QTemporaryDir dir;
        const QImage picture = patterned(40, 30);
        const QImage loaded = LoadPicture(written(dir, "picture." + format, encoded(picture, format)));
        QCOMPARE(loaded.format(), QImage::Format_RGB32);
        QCOMPARE(loaded.size(), QSize(40, 30));
        const QString difference =
            differenceFrom(loaded, [&picture](int x, int y) { return at(picture, x, y); });
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    void memoryAndFileDecodeAlike() {
        QTemporaryDir dir;
        const QByteArray bytes = sample("gif");
        QCOMPARE(decodePicture(bytes, QStringLiteral("stripes")), LoadPicture(written(dir, "s.gif", bytes)));
        try {
            decodePicture(bytes.left(100), QStringLiteral("名字 given"));
            QFAIL("a cut-short picture decoded");
        } catch (const RuntimeError& error) {
            QVERIFY2(error.text().contains(QStringLiteral("\"名字 given\"")), qPrintable(error.text()));
        }
    }

    void transparentPixelsLieOnWhite() {
        QTemporaryDir dir;
        QImage picture(2, 1, QImage::Format_ARGB32);
        picture.setPixel(0, 0, qRgba(0, 0, 0, 0));
        picture.setPixel(1, 0, qRgba(255, 0, 0, 255));
        const QImage loaded = LoadPicture(written(dir, "clear.png", encoded(picture, "png")));
        QCOMPARE(at(loaded, 0, 0), RGB(255, 255, 255));
        QCOMPARE(at(loaded, 1, 0), RGB(255, 0, 0));
    }

    void onePixelPicturesDecode_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<ColourValue>("colour");
        QTest::addColumn<int>("tolerance");
        QImage pixel(1, 1, QImage::Format_RGB32);
        pixel.fill(qRgb(10, 200, 30));
        for (const char* format : {"png", "bmp", "ico"}) {
            QTest::newRow(format) << encoded(pixel, format) << RGB(10, 200, 30) << 0;
        }
        QTest::newRow("gif") << committed(QStringLiteral("one-pixel.gif")) << RGB(10, 200, 30) << 0;
        QTest::newRow("jpg") << encoded(pixel, "jpg") << RGB(10, 200, 30) << 8;
    }
    void onePixelPicturesDecode() {
        QFETCH(QByteArray, bytes);
        QFETCH(ColourValue, colour);
        QFETCH(int, tolerance);
        const QImage loaded = decodePicture(bytes, QStringLiteral("one pixel"));
        QCOMPARE(loaded.size(), QSize(1, 1));
        QVERIFY2(near(loaded.pixel(0, 0), storedPixel(colour), tolerance),
                 qPrintable(QString::number(loaded.pixel(0, 0), 16)));
    }

    void animatedGifGivesItsFirstFrame() {
        const QImage loaded = decodePicture(committed(QStringLiteral("animated.gif")), QStringLiteral("gif"));
        QCOMPARE(loaded.size(), QSize(4, 2));
        const QString difference =
            differenceFrom(loaded, [](int x, int) { return x < 2 ? RGB(255, 0, 0) : RGB(0, 0, 255); });
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    void iconGivesItsLargestSizeWhereverItStands() {
        // Sizes 3 x 3 red, 6 x 5 blue, 4 x 4 green: the largest is neither the first nor the last.
        const QImage loaded = decodePicture(committed(QStringLiteral("sizes.ico")), QStringLiteral("icon"));
        QCOMPARE(loaded.size(), QSize(6, 5));
        const QString difference = differenceFrom(loaded, [](int, int) { return RGB(0, 0, 255); });
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    void deepAndGreyPngsDecodeExactly_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("bitDepth");
        QTest::addColumn<int>("colourType");
        QTest::newRow("16-bit colour") << int(QImage::Format_RGBX64) << 16 << 2;
        QTest::newRow("8-bit grey") << int(QImage::Format_Grayscale8) << 8 << 0;
        QTest::newRow("16-bit grey") << int(QImage::Format_Grayscale16) << 16 << 0;
    }
    void deepAndGreyPngsDecodeExactly() {
        QFETCH(int, format);
        QFETCH(int, bitDepth);
        QFETCH(int, colourType);
        // Levels whose 16-bit values are 257 times an 8-bit value, so that the reduction is exact.
        QImage picture(16, 4, static_cast<QImage::Format>(format));
        const bool grey = format != QImage::Format_RGBX64;
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 16; ++x) {
                const int level = x * 17;
                picture.setPixelColor(
                    x, y, grey ? QColor(level, level, level) : QColor(level, 255 - level, y * 60));
            }
        }
        const QByteArray bytes = encoded(picture, "png");
        QCOMPARE(int(static_cast<uchar>(bytes[24])), bitDepth);
        QCOMPARE(int(static_cast<uchar>(bytes[25])), colourType);
        const QImage loaded = decodePicture(bytes, QStringLiteral("deep"));
        const QString difference = differenceFrom(loaded, [grey](int x, int y) {
            const int level = x * 17;
            return grey ? RGB(level, level, level) : RGB(level, 255 - level, y * 60);
        });
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    void cmykJpegKeepsItsColours() {
        // Made as red | blue (8 x 8 each) and stored as CMYK with the Adobe marker.
        const QByteArray bytes = committed(QStringLiteral("cmyk.jpg"));
        QVERIFY(bytes.contains("Adobe"));
        const QImage loaded = decodePicture(bytes, QStringLiteral("cmyk"));
        QCOMPARE(loaded.size(), QSize(16, 8));
        QVERIFY2(near(loaded.pixel(3, 4), qRgb(255, 0, 0), 40),
                 qPrintable(QString::number(loaded.pixel(3, 4), 16)));
        QVERIFY2(near(loaded.pixel(12, 4), qRgb(0, 0, 255), 40),
                 qPrintable(QString::number(loaded.pixel(12, 4), 16)));
    }

    void unreadableFilesRaiseAnErrorNamingTheFileAndTheReason_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("reason");
        const QString unknown = QStringLiteral("not a picture in a known format");
        QTest::newRow("text named .png") << QByteArray("just some text\n") << "notes.png" << 481 << unknown;
        QTest::newRow("empty file") << QByteArray() << "empty.jpg" << 481 << "the file is empty";
        QTest::newRow("ppm named .bmp") << encoded(patterned(4, 4), "ppm") << "p.bmp" << 481 << unknown;
        QTest::newRow("xpm named .gif") << encoded(patterned(4, 4), "xpm") << "x.gif" << 481 << unknown;
        QTest::newRow("gone since it was chosen")
            << QByteArray("<gone>") << "gone.bmp" << 53 << "does not exist";
        QTest::newRow("folder") << QByteArray("<folder>") << "folder.png" << 75 << "it is a folder";
        QTest::newRow("icon claiming 65521 sizes")
            << committed(QStringLiteral("fuzz-findings/icon-claiming-65521-sizes.ico")) << "many.ico" << 481
            << "cannot be decoded";
    }
    void unreadableFilesRaiseAnErrorNamingTheFileAndTheReason() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        QFETCH(int, number);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = bytes == "<folder>" ? dir.filePath(name) : written(dir, name, bytes);
        if (bytes == "<folder>") {
            QVERIFY(QDir(dir.path()).mkdir(name));
        } else if (bytes == "<gone>") {
            QVERIFY(QFile::exists(path));
            QVERIFY(QFile::remove(path));
        }
        const std::optional<RuntimeError> error = errorLoading(path);
        QVERIFY2(error, "the file gave a picture");
        QCOMPARE(error->number(), number);
        QVERIFY2(error->text().startsWith(QStringLiteral("Cannot open the picture \"%1\": ").arg(path)),
                 qPrintable(error->text()));
        QVERIFY2(error->text().contains(reason), qPrintable(error->text()));
    }

    void cutShortPicturesAreRefusedNotPadded_data() {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<double>("kept");
        for (const char* format : {"png", "jpg", "bmp", "gif", "ico"}) {
            for (const double kept : {0.1, 0.5, 0.9}) {
                QTest::addRow("%s %d%%", format, int(kept * 100)) << QByteArray(format) << kept;
            }
        }
    }
    void cutShortPicturesAreRefusedNotPadded() {
        QFETCH(QByteArray, format);
        QFETCH(double, kept);
        QTemporaryDir dir;
        const QByteArray whole = sample(format);
        const QString path = written(dir, "cut." + format, whole.left(qRound(whole.size() * kept)));
        const std::optional<RuntimeError> error = errorLoading(path);
        QVERIFY2(error, "a cut-short picture gave a picture");
        QCOMPARE(error->number(), 481);
        QVERIFY2(error->text().contains(path), qPrintable(error->text()));
    }

    // Qt's JPEG and GIF decoders pad a cut-short picture with grey or leave it half drawn, and its
    // BMP decoder stops at the first short row, all reporting success.
    void silentlyPaddedTypesSayTheFileIsCutShort_data() {
        QTest::addColumn<QByteArray>("format");
        for (const char* format : {"jpg", "gif", "bmp"}) {
            QTest::newRow(format) << QByteArray(format);
        }
    }
    void silentlyPaddedTypesSayTheFileIsCutShort() {
        QFETCH(QByteArray, format);
        const QByteArray whole = sample(format);
        for (const qsizetype cut : {whole.size() * 3 / 4, whole.size() - 3}) {
            try {
                decodePicture(whole.left(cut), QStringLiteral("cut"));
                QFAIL(
                    qPrintable(QStringLiteral("cut at %1 of %2 gave a picture").arg(cut).arg(whole.size())));
            } catch (const RuntimeError& error) {
                QVERIFY2(error.text().endsWith(
                             QStringLiteral("the picture data ends early (the file is cut short)")),
                         qPrintable(error.text()));
            }
        }
    }

    void corruptedPicturesLoadOrRaiseAnError_data() {
        QTest::addColumn<QByteArray>("format");
        for (const char* format : {"png", "jpg", "bmp", "gif", "ico"}) {
            QTest::newRow(format) << QByteArray(format);
        }
    }
    void corruptedPicturesLoadOrRaiseAnError() {
        QFETCH(QByteArray, format);
        const QByteArray whole = sample(format);
        QRandomGenerator random(20261206);
        for (int variant = 0; variant < 300; ++variant) {
            QByteArray bytes = whole;
            for (int change = random.bounded(1, 5); change > 0; --change) {
                bytes[random.bounded(int(bytes.size()))] = static_cast<char>(random.bounded(256));
            }
            try {
                const QImage loaded = decodePicture(bytes, QStringLiteral("corrupt"));
                QCOMPARE(loaded.format(), QImage::Format_RGB32);
                QVERIFY(!loaded.isNull());
            } catch (const RuntimeError& error) {
                QVERIFY2(error.text().startsWith(QStringLiteral("Cannot open the picture \"corrupt\": ")),
                         qPrintable(error.text()));
            }
        }
    }

    void decompressionBombsAreRefusedFromTheirHeader_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QString huge =
            QStringLiteral("the picture is too large (100000 x 100000 pixels; at most 150000000 pixels)");
        QTest::newRow("png") << claimingSize("png", 100000, 100000) << huge;
        QTest::newRow("bmp") << claimingSize("bmp", 100000, 100000) << huge;
        // The largest sizes their headers can state.
        QTest::newRow("gif") << claimingSize("gif", 65535, 65535)
                             << "the picture is too large (65535 x 65535 pixels; at most 150000000 pixels)";
        QTest::newRow("jpg") << claimingSize("jpg", 65535, 65535)
                             << "the picture is too large (65535 x 65535 pixels; at most 150000000 pixels)";
        // Sizes whose product overflows a 64-bit integer.
        QTest::newRow("png 4294967295 x 4294967047")
            << committed(QStringLiteral("fuzz-findings/png-claiming-4294967295-wide.png"))
            << "the picture is too large (4294967295 x 4294967047 pixels; at most 150000000 pixels)";
        QTest::newRow("bmp -2147483648 x -2147483648")
            << claimingSize("bmp", 0x80000000u, 0x80000000u)
            << "the picture is too large (2147483648 x 2147483648 pixels; at most 150000000 pixels)";
        QTest::newRow("bmp 2147483647 x 1")
            << claimingSize("bmp", 0x7FFFFFFFu, 1)
            << "the picture is too large (2147483647 x 1 pixels; at most 150000000 pixels)";
        // Within the limit, but 200 bytes cannot hold its rows: refused before they are allocated.
        QTest::newRow("bmp 12000 x 12000")
            << claimingSize("bmp", 12000, 12000) << "the picture data ends early (the file is cut short)";
    }
    void decompressionBombsAreRefusedFromTheirHeader() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = written(dir, "bomb", bytes);
        const std::optional<RuntimeError> error = errorLoading(path);
        QVERIFY2(error, "the bomb gave a picture");
        QCOMPARE(error->text(), QStringLiteral("Cannot open the picture \"%1\": %2").arg(path, reason));
    }
};

QTEST_MAIN(LoadPictureTest)
#include "LoadPictureTest.moc"
