#include "runtime/PictureSurface.h"

#include "PixelCompare.h"

#include <QtTest>

class PictureSurfaceTest : public QObject {
    Q_OBJECT
private slots:
    void pointOutsideIsNoPixelAndPSetOutsideIsIgnored() {
        PictureSurface surface(RGB(1, 2, 3), 3, 2);
        QCOMPARE(QSizeF(surface.ScaleWidth(), surface.ScaleHeight()), QSizeF(3, 2));
        surface.PSet(1, 1, RGB(10, 20, 30));
        QCOMPARE(surface.Point(1, 1), RGB(10, 20, 30));
        for (const QPoint outside : {QPoint(3, 0), QPoint(0, 2), QPoint(-1, 0), QPoint(0, -1)}) {
            QCOMPARE(surface.Point(outside.x(), outside.y()), NoPixel);
            surface.PSet(outside.x(), outside.y(), RGB(255, 255, 255));
        }
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
        QCOMPARE(QSize(surface.pixelWidth(), surface.pixelHeight()), QSize(3, 1));
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
