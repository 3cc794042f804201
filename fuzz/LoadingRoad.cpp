#include "LoadingRoad.h"

#include "FixedControls.h"
#include "SilentProgress.h"
#include "convert/GreyConversion.h"
#include "convert/HalfReduction.h"
#include "export/PointDataWriter.h"
#include "runtime/LoadPicture.h"
#include "runtime/Numbers.h"
#include "runtime/RecordFile.h"
#include "runtime/RuntimeError.h"

#include <QFile>
#include <QtEndian>

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

QByteArray exported(const PictureSurface& source, const PointRecord& header, ExportPolarity polarity,
                    int threshold, const QString& path) {
    FixedControls controls(polarity, threshold);
    RecordFile file(path, PointDataWriter::RecordLength);
    PointDataWriter(controls, file).write(source, header);
    file.Close();
    QFile written(path);
    require(written.open(QIODevice::ReadOnly), "the exported file is there");
    return written.readAll();
}

QByteArray record(std::int32_t x, std::int32_t y, std::int32_t value) {
    QByteArray bytes(PointDataWriter::RecordLength, '\0');
    PointRecord{x, y, value}.storeTo(bytes.data());
    return bytes;
}

// A grey picture in pixels: units (1, 1) to (W, H), those in the last column and row read outside
// and count as white; a grey pixel's mean is its level.
void checkDarkExport(const QImage& grey, const QByteArray& bytes, int threshold) {
    QByteArray expected = record(grey.width(), grey.height(), 0);
    for (int x = 1; x < grey.width(); ++x) {
        for (int y = 1; y < grey.height(); ++y) {
            const int level = qRed(grey.pixel(x, y));
            if (level < threshold) {
                expected += record(x, y, level);
            }
        }
    }
    require(bytes == expected, "the export holds exactly the header and the dark pixels, column by column");
}

// Any picture: whole records, the header first, then units within the scale, in column order,
// each on the light side of the threshold.
void checkLightExport(const PictureSurface& source, const QByteArray& bytes, const QByteArray& header,
                      int threshold) {
    require(bytes.size() % PointDataWriter::RecordLength == 0 && bytes.startsWith(header),
            "the export is whole records after the header");
    const std::int32_t width = toInteger32(source.ScaleWidth());
    const std::int32_t height = toInteger32(source.ScaleHeight());
    qint64 previous = 0;
    for (qsizetype at = PointDataWriter::RecordLength; at < bytes.size();
         at += PointDataWriter::RecordLength) {
        const char* fields = bytes.constData() + at;
        const auto x = qFromLittleEndian<std::int32_t>(fields);
        const auto y = qFromLittleEndian<std::int32_t>(fields + 4);
        const auto value = qFromLittleEndian<std::int32_t>(fields + 8);
        require(x >= 1 && x <= width && y >= 1 && y <= height, "a record lies within the scale");
        require(value > threshold && value <= 255, "a record lies on the light side");
        require(bytes.mid(at + PointRecord::Size, PointDataWriter::RecordLength - PointRecord::Size) ==
                    QByteArray(PointDataWriter::RecordLength - PointRecord::Size, '\0'),
                "a record's filler is zero");
        const qint64 position = qint64{x} * (qint64{height} + 1) + y;
        require(position > previous, "records go column by column, each once");
        previous = position;
    }
}

} // namespace

void travelLoadingRoad(const QByteArray& bytes, const QString& recordsPath) {
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

    const PointRecord header{toInteger32(opened.ScaleWidth()), toInteger32(opened.ScaleHeight()), 0};
    const int threshold = 128;
    checkDarkExport(grey.image(), exported(grey, header, ExportPolarity::Black, threshold, recordsPath),
                    threshold);
    checkLightExport(half, exported(half, header, ExportPolarity::White, threshold, recordsPath),
                     record(header.x, header.y, 0), threshold);
}
