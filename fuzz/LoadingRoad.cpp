#include "LoadingRoad.h"

#include "export/ExportJob.h"
#include "export/FixedExportControls.h"
#include "export/PictureRoad.h"
#include "export/PixelSize.h"
#include "runtime/LoadPicture.h"
#include "runtime/Numbers.h"
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

QByteArray exported(const PictureRoad& road, ConversionResult source, ExportPolarity polarity, int threshold,
                    const QString& path) {
    FixedExportControls controls(polarity, threshold);
    ExportJob job(path, OutputFormat::Records);
    const ExportOutcome outcome = road.exportResult(source, job, controls, pixelMillimetres({}));
    QFile written(path);
    require(written.open(QIODevice::ReadOnly), "the exported file is there");
    const QByteArray bytes = written.readAll();
    require(bytes.size() == (outcome.points + 1) * PointRecord::Length,
            "the job counts the records it writes");
    return bytes;
}

QByteArray record(std::int32_t x, std::int32_t y, std::int32_t value) {
    QByteArray bytes(PointRecord::Length, '\0');
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
    require(bytes.size() % PointRecord::Length == 0 && bytes.startsWith(header),
            "the export is whole records after the header");
    const std::int32_t width = toInteger32(source.ScaleWidth());
    const std::int32_t height = toInteger32(source.ScaleHeight());
    qint64 previous = 0;
    for (qsizetype at = PointRecord::Length; at < bytes.size(); at += PointRecord::Length) {
        const char* fields = bytes.constData() + at;
        const auto x = qFromLittleEndian<std::int32_t>(fields);
        const auto y = qFromLittleEndian<std::int32_t>(fields + 4);
        const auto value = qFromLittleEndian<std::int32_t>(fields + 8);
        require(x >= 1 && x <= width && y >= 1 && y <= height, "a record lies within the scale");
        require(value > threshold && value <= 255, "a record lies on the light side");
        require(bytes.mid(at + PointRecord::Size, PointRecord::Length - PointRecord::Size) ==
                    QByteArray(PointRecord::Length - PointRecord::Size, '\0'),
                "a record's filler is zero");
        const qint64 position = qint64{x} * (qint64{height} + 1) + y;
        require(position > previous, "records go column by column, each once");
        previous = position;
    }
}

// The drawing formats of a picture: the table holds exactly the dark real pixels from (0, 0), and
// the drawings are whole files with one shape per merged rectangle, never more shapes than points;
// with outlines and a speck filter of `minimumArea` units, both drawings hold the same shapes, one
// HATCH per shape after all the outlines, and the filtered table at most the table's points.
void checkFormats(const PictureRoad& road, int threshold, const QString& recordsPath,
                  std::int64_t minimumArea) {
    const QString path = recordsPath + QStringLiteral(".format");
    const auto exportedAs = [&](ConversionResult source, OutputFormat format, ExportPolarity polarity,
                                ExportOutcome& outcome, ShapeChoice shapes = {}) {
        FixedExportControls controls(polarity, threshold);
        ExportJob job(path, format, shapes);
        outcome = road.exportResult(source, job, controls, 0.25);
        QFile written(path);
        require(written.open(QIODevice::ReadOnly), "the exported file is there");
        return written.readAll();
    };
    ExportOutcome outcome;
    const QByteArray table =
        exportedAs(ConversionResult::Grey, OutputFormat::Csv, ExportPolarity::Black, outcome);
    QByteArray expected = "x,y,grey\n";
    const QImage& pixels = road.result(ConversionResult::Grey).image();
    for (int x = 0; x < pixels.width(); ++x) {
        for (int y = 0; y < pixels.height(); ++y) {
            if (const int level = qRed(pixels.pixel(x, y)); level < threshold) {
                expected += QByteArray::number(x) + ',' + QByteArray::number(y) + ',' +
                            QByteArray::number(level) + '\n';
            }
        }
    }
    require(table == expected, "the table lists exactly the dark pixels from (0, 0), column by column");
    require(table.count('\n') == outcome.points + 1, "the job counts the table's lines");

    const QByteArray dxf =
        exportedAs(ConversionResult::Half, OutputFormat::Dxf, ExportPolarity::White, outcome);
    require(dxf.count("\nSOLID\n") == outcome.shapes && outcome.shapes <= outcome.points,
            "a drawing has one SOLID per shape, at most one per point");
    require(dxf.startsWith("  0\nSECTION\n") && dxf.endsWith("  0\nEOF\n"), "a drawing is whole");
    const std::int64_t points = outcome.points;
    const std::int64_t shapes = outcome.shapes;
    const QByteArray svg =
        exportedAs(ConversionResult::Half, OutputFormat::Svg, ExportPolarity::White, outcome);
    require(outcome.points == points && outcome.shapes == shapes && svg.count('z') == shapes,
            "the vector picture has the drawing's shapes");
    require(svg.endsWith("</g>\n</svg>\n"), "a vector picture is whole");

    const ShapeChoice outlines{ShapeKind::Outlines, minimumArea};
    const QByteArray filtered =
        exportedAs(ConversionResult::Grey, OutputFormat::Csv, ExportPolarity::Black, outcome, outlines);
    require(filtered.count('\n') == outcome.points + 1 && outcome.points <= table.count('\n') - 1 &&
                (minimumArea > 1 || filtered == table),
            "the speck filter leaves out whole lines of the table, none below two units");
    const QByteArray outlineDxf =
        exportedAs(ConversionResult::Half, OutputFormat::Dxf, ExportPolarity::White, outcome, outlines);
    require(outcome.outlines && outlineDxf.count("\nLWPOLYLINE\n") == *outcome.outlines &&
                outlineDxf.count("\nHATCH\n") == outcome.shapes && outcome.shapes <= *outcome.outlines &&
                outcome.points <= points && (minimumArea > 1 || outcome.points == points),
            "an outline drawing has one HATCH per kept shape and its outlines");
    require(outcome.shapes == 0 || outlineDxf.lastIndexOf("\nLWPOLYLINE\n") < outlineDxf.indexOf("\nHATCH\n"),
            "all outlines come before all hatches");
    require(outlineDxf.startsWith("  0\nSECTION\n") && outlineDxf.endsWith("  0\nEOF\n"),
            "an outline drawing is whole");
    const ExportOutcome drawn = outcome;
    const QByteArray outlineSvg =
        exportedAs(ConversionResult::Half, OutputFormat::Svg, ExportPolarity::White, outcome, outlines);
    require(outcome.points == drawn.points && outcome.shapes == drawn.shapes &&
                outcome.outlines == drawn.outlines && outlineSvg.count('z') == *drawn.outlines &&
                outlineSvg.endsWith("</g>\n</svg>\n"),
            "the outline picture is whole and has the outline drawing's outlines");
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

    PictureRoad road(picture, QStringLiteral("fuzz input"));
    picture = QImage(); // the grey picture takes its place
    road.makeGrey();
    const PictureSurface& grey = road.result(ConversionResult::Grey);
    checkGrey(grey.image());
    road.makeHalf();
    const PictureSurface& half = road.result(ConversionResult::Half);
    checkHalf(grey.image(), half.image());

    const QSizeF& size = road.openedSize();
    const int threshold = 128;
    checkDarkExport(grey.image(),
                    exported(road, ConversionResult::Grey, ExportPolarity::Black, threshold, recordsPath),
                    threshold);
    checkLightExport(half,
                     exported(road, ConversionResult::Half, ExportPolarity::White, threshold, recordsPath),
                     record(toInteger32(size.width()), toInteger32(size.height()), 0), threshold);
    // the speck filter's size from the input, so that its every value is reached
    checkFormats(road, threshold, recordsPath,
                 bytes.isEmpty() ? 0 : static_cast<unsigned char>(bytes.back()) % 16);
}
