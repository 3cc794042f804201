#include "runtime/PictureSurface.h"

#include "PixelCompare.h"

#include <QtTest>

class PictureSurfaceTest : public QObject {
    Q_OBJECT
private slots:
    void pointOutsideIsMinusOneAndPSetOutsideIsIgnored() {
        PictureSurface surface(RGB(1, 2, 3), 3, 2);
        QCOMPARE(QSizeF(surface.ScaleWidth(), surface.ScaleHeight()), QSizeF(3, 2));
        surface.PSet(1, 1, RGB(10, 20, 30));
        QCOMPARE(surface.Point(1, 1), RGB(10, 20, 30));
        QCOMPARE(surface.Point(0, 0), RGB(1, 2, 3));
        QCOMPARE(surface.Point(3, 0), NoPixel);
        QCOMPARE(surface.Point(0, 2), NoPixel);
        QCOMPARE(surface.Point(-1, 0), NoPixel);
        surface.PSet(3, 0, RGB(255, 255, 255));
        surface.PSet(0, -1, RGB(255, 255, 255));
        QCOMPARE(firstPixelDifference(
                     surface, [](int x, int y) { return x == 1 && y == 1 ? RGB(10, 20, 30) : RGB(1, 2, 3); }),
                 QString());
    }

    void colourValuesKeepRedInTheLowByte() {
        PictureSurface surface(0, 1, 1);
        surface.PSet(0, 0, 0x00FF8040);
        QCOMPARE(QColor(surface.image().pixel(0, 0)), QColor(0x40, 0x80, 0xFF));
        QCOMPARE(surface.Point(0, 0), 0x00FF8040);
    }

    void userScaleMapsUnitsToDevicePixels() {
        // 5 x 5 pixels at 2.5 x 2.5 units: unit (u, v) is device pixel (2u, 2v)
        PictureSurface surface(0, 5, 5);
        surface.setScaleHeight(5 / 2.0f);
        surface.setScaleWidth(5 / 2.0f);
        QCOMPARE(surface.ScaleWidth(), 2.5f);
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

    void resizeKeepsWhatFitsAndFillsTheRest() {
        PictureSurface surface(RGB(0, 0, 0), 2, 2);
        surface.PSet(1, 1, RGB(9, 9, 9));
        surface.resize(3, 1);
        QCOMPARE(surface.pixelWidth(), 3);
        QCOMPARE(surface.pixelHeight(), 1);
        QCOMPARE(surface.Point(2, 0), RGB(0, 0, 0));
        surface.resize(3, 2);
        QCOMPARE(surface.Point(1, 1), RGB(0, 0, 0));
    }

    void emptyPictureGivesAnEmptySurface() {
        PictureSurface surface(0, 10, 10);
        surface.assign(QImage());
        QCOMPARE(surface.ScaleWidth(), 0.0f);
        QCOMPARE(surface.Point(0, 0), NoPixel);
    }
};

QTEST_APPLESS_MAIN(PictureSurfaceTest)
#include "PictureSurfaceTest.moc"
