#include "runtime/LoadPicture.h"
#include "runtime/ColourValue.h"
#include "runtime/RuntimeError.h"

#include <QtTest>

class LoadPictureTest : public QObject {
    Q_OBJECT
private slots:
    void emptyPathGivesAnEmptyPicture() { QVERIFY(LoadPicture(QString()).isNull()); }

    void everyListedTypeDecodes_data() {
        QTest::addColumn<QByteArray>("format");
        for (const char* format : {"png", "bmp", "gif", "ico", "jpg"}) {
            QTest::newRow(format) << QByteArray(format);
        }
    }
    void everyListedTypeDecodes() {
        QFETCH(QByteArray, format);
        QTemporaryDir dir;
        const QString path = dir.filePath("picture." + format);
        QImage picture(6, 4, QImage::Format_RGB32);
        picture.fill(QColor(0, 0, 0));
        if (format == "gif") { // Qt reads GIF but does not write it
            QVERIFY(QFile::copy(QUILLET_TEST_DATA "/tiny.gif", path));
        } else {
            QVERIFY(picture.save(path, format));
        }
        const QImage loaded = LoadPicture(path);
        QCOMPARE(loaded.size(), QSize(6, 4));
        QCOMPARE(loaded.format(), QImage::Format_RGB32);
    }

    void transparentPixelsLieOnWhite() {
        QTemporaryDir dir;
        const QString path = dir.filePath("clear.png");
        QImage picture(2, 1, QImage::Format_ARGB32);
        picture.setPixel(0, 0, qRgba(0, 0, 0, 0));
        picture.setPixel(1, 0, qRgba(255, 0, 0, 255));
        QVERIFY(picture.save(path));
        const QImage loaded = LoadPicture(path);
        QCOMPARE(colourOfStoredPixel(loaded.pixel(0, 0)), RGB(255, 255, 255));
        QCOMPARE(colourOfStoredPixel(loaded.pixel(1, 0)), RGB(255, 0, 0));
    }

    void undecodableFilesRaiseAnErrorNamingTheFile_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        QTest::newRow("text named .png") << QByteArray("just some text") << "notes.png";
        QTest::newRow("empty file") << QByteArray() << "empty.jpg";
        QTest::newRow("missing file") << QByteArray("<none>") << "gone.bmp";
    }
    void undecodableFilesRaiseAnErrorNamingTheFile() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        if (bytes != "<none>") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        try {
            LoadPicture(path);
            QFAIL("an undecodable file gave a picture");
        } catch (const RuntimeError& error) {
            QVERIFY2(error.text().contains(path), qPrintable(error.text()));
        }
    }
};

QTEST_MAIN(LoadPictureTest)
#include "LoadPictureTest.moc"
