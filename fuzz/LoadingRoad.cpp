#include "LoadingRoad.h"

#include "SilentProgress.h"
#include "convert/GreyConversion.h"
#include "convert/HalfReduction.h"
#include "runtime/LoadPicture.h"
#include "runtime/RuntimeError.h"

#include <cstdio>
#include <cstdlib>

namespace {

void require(bool promise, const char* what) {
    if (!promise) {
        std::fprintf(stderr, "loading road broke its promise: %s\n", what);
        std::abort();
    }
}

bool isGrey(QRgb pixel) {
    return qRed(pixel) == qGreen(pixel) && qGreen(pixel) == qBlue(pixel);
}

void checkDecoded(const QImage& picture) {
    require(!picture.isNull(), "a decoded picture is never empty");
    require(picture.format() == QImage::Format_RGB32, "a decoded picture is Format_RGB32");
    require(qint64{picture.width()} * picture.height() <= LoadingRoadLargestPixels,
            "a decoded picture keeps to the size limit");
}

void checkGrey(const QImage& grey) {
    for (int y = 0; y < grey.height(); ++y) {
        for (int x = 0; x < grey.width(); ++x) {
            require(isGrey(grey.pixel(x, y)), "every converted pixel is grey");
        }
    }
}

void checkHalf(const QImage& grey, const QImage& half) {
    for (int y = 0; y < grey.height(); y += 2) {
        for (int x = 0; x < grey.width(); x += 2) {
            require(half.pixel(x, y) == grey.pixel(x, y), "the reduction copies every second pixel");
        }
    }
}

} // namespace

void travelLoadingRoad(const QByteArray& bytes) {
    QImage picture;
    try {
        picture = decodePicture(bytes, QStringLiteral("fuzz input"), LoadingRoadLargestPixels);
    } catch (const RuntimeError& error) {
        require(error.text().contains(QStringLiteral("fuzz input")), "an error names the picture");
        return;
    }
    checkDecoded(picture);

    SilentProgress progress;
    Boolean cancelFlag = BooleanFalse;
    ConversionSteps steps{progress, cancelFlag, [] {}, [] {}};
    PictureSurface opened;
    opened.assign(picture);
    const ColourValue white = RGB(255, 255, 255);
    PictureSurface grey(white, opened.pixelWidth(), opened.pixelHeight());
    convertToGrey(opened, grey, steps);
    checkGrey(grey.image());

    PictureSurface half(white, opened.pixelWidth(), opened.pixelHeight());
    half.setScaleHeight(opened.ScaleHeight() / 2.0f);
    half.setScaleWidth(opened.ScaleWidth() / 2.0f);
    reduceToHalf(grey, opened, half, steps);
    checkHalf(grey.image(), half.image());
}
