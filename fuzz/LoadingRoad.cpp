#include "LoadingRoad.h"

#include "cli/CommandLine.h"
#include "export/ExportJob.h"
#include "export/FixedExportControls.h"
#include "export/PictureRoad.h"
#include "export/PixelSize.h"
#include "runtime/LoadPicture.h"
#include "runtime/Numbers.h"
#include "runtime/PictureHeader.h"
#include "runtime/RuntimeError.h"

#include <QBuffer>
#include <QFile>
#include <QtEndian>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

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

// A pixel's size in a drawing, as the pixel-size choice gives it.
using PixelChoice = decltype(pixelMillimetres(PixelSizeChoice{}));

// What an input asks for: the settings and, where the arguments ask for an export, the command's choices.
struct RoadSettings {
    int threshold = 0;
    ExportPolarity polarity = ExportPolarity::Black;
    ConversionResult source = ConversionResult::Grey;
    bool secondName = false;
    std::int64_t minimumArea = 0;
    std::optional<double> pixelMillimetres;
    std::optional<double> dotsPerInch;
    qsizetype oldLength = 0;
};

struct RoadInput {
    RoadSettings settings;
    QList<QByteArray> arguments; // the program's name first
    QByteArray picture;
};

RoadInput splitInput(const QByteArray& bytes) {
    const auto byte = [&bytes](int at) { return at < bytes.size() ? static_cast<uchar>(bytes[at]) : 0; };
    RoadInput input;
    RoadSettings& settings = input.settings;
    settings.threshold = byte(0);
    const int flags = byte(1);
    settings.polarity = flags & 1 ? ExportPolarity::White : ExportPolarity::Black;
    settings.source = flags & 2 ? ConversionResult::Half : ConversionResult::Grey;
    settings.secondName = (flags & 4) != 0;
    if ((flags >> 3 & 3) == 1) {
        settings.pixelMillimetres = (byte(3) + 1) / 64.0;
    } else if ((flags >> 3 & 3) == 2) {
        settings.dotsPerInch = (byte(3) + 1) * 3.0;
    }
    settings.minimumArea = byte(2);
    settings.oldLength = qsizetype{byte(4)} * 61;
    const QByteArray arguments = bytes.mid(LoadingRoadSettingsBytes, byte(5));
    input.arguments = {"quillet-export"};
    if (!arguments.isEmpty()) {
        input.arguments +=
            arguments.endsWith('\0') ? arguments.chopped(1).split('\0') : arguments.split('\0');
    }
    input.picture = bytes.mid(LoadingRoadSettingsBytes + arguments.size());
    return input;
}

// The command's promises on what it parsed; an export's choices replace the settings'.
void followCommandLine(const QList<QByteArray>& arguments, RoadSettings& settings) {
    const CommandLine line = CommandLine::parse(arguments);
    switch (line.request()) {
    case CommandLine::Request::Export: {
        const ExportSettings& chosen = line.settings();
        require(chosen.threshold >= 0 && chosen.threshold <= 255, "a parsed threshold is a grey level");
        require(!chosen.picture.isEmpty() && !chosen.pointFile.isEmpty(), "a parsed export names two files");
        require(!(chosen.pixelMillimetres && chosen.dotsPerInch), "a pixel size or a resolution, not both");
        require(chosen.pixelMillimetres.value_or(1) > 0 && chosen.dotsPerInch.value_or(1) > 0,
                "a parsed pixel size or resolution is positive");
        settings.threshold = chosen.threshold;
        settings.polarity = chosen.polarity;
        settings.source = chosen.halfResolution ? ConversionResult::Half : ConversionResult::Grey;
        settings.minimumArea = chosen.minimumArea.value_or(settings.minimumArea);
        settings.pixelMillimetres = chosen.pixelMillimetres;
        settings.dotsPerInch = chosen.dotsPerInch;
        break;
    }
    case CommandLine::Request::UsageError:
        require(line.text().startsWith(QStringLiteral("quillet-export: ")) && !line.text().contains(u'\n'),
                "a usage error is one line naming the program");
        break;
    case CommandLine::Request::Help:
        require(line.text() == CommandLine::helpText(), "help asked for is the help text");
        break;
    case CommandLine::Request::Version:
        require(line.text() == CommandLine::versionText(), "the version asked for is the version text");
        break;
    }
}

QByteArray contents(const QString& path) {
    QFile file(path);
    require(file.open(QIODevice::ReadOnly), "the exported file is there");
    return file.readAll();
}

struct stat statusOf(const QString& path) {
    struct stat status {};
    require(::stat(QFile::encodeName(path).constData(), &status) == 0, "the destination is there");
    return status;
}

// The destination, with its old content and, if asked, a second name.
void prepareDestination(const QString& path, const QString& secondName, const RoadSettings& settings) {
    QFile::remove(path);
    QFile::remove(secondName);
    QFile old(path);
    require(old.open(QIODevice::WriteOnly) &&
                old.write(QByteArray(settings.oldLength, 'o')) == settings.oldLength,
            "the old destination is written");
    old.close();
    if (settings.secondName) {
        require(::link(QFile::encodeName(path).constData(), QFile::encodeName(secondName).constData()) == 0,
                "the destination gets its second name");
    }
}

// The kinds of shapes the drawings are exported in, each in turn.
constexpr ShapeKind ShapeKinds[] = {ShapeKind::Squares, ShapeKind::Outlines, ShapeKind::Smooth};

// A file in `format` with `kind` shapes: whole, its shapes as the job counts them, at most the selected
// points (all of them unless a speck filter applies), no infinite or undefined number, and its size as the
// format estimates it: exactly for the point-data file, and for a drawing of squares or a table that
// selects nothing (its fixed text alone).
void checkFile(const FormatEntry& format, ShapeKind kind, const RoadSettings& settings,
               const QByteArray& bytes, const ExportOutcome& outcome, std::int64_t selected,
               const PictureSurface& source, const PixelChoice& pixel) {
    const bool filtered = format.filtersSpecks && settings.minimumArea > 1;
    SelectionExtent extent{outcome.points, outcome.shapes, 0};
    switch (format.format) {
    case OutputFormat::Records:
        require(bytes.size() == (outcome.points + 1) * PointRecord::Length,
                "the job counts the records it writes");
        break;
    case OutputFormat::Csv:
        require(bytes.startsWith("x,y,grey\n") && bytes.count('\n') == outcome.points + 1,
                "the job counts the table's lines");
        for (const QByteArray& line : bytes.split('\n').mid(1)) {
            extent.greyDigits += line.isEmpty() ? 0 : line.size() - line.lastIndexOf(',') - 1;
        }
        break;
    case OutputFormat::Dxf:
        require(bytes.startsWith("  0\nSECTION\n") && bytes.endsWith("  0\nEOF\n"), "a drawing is whole");
        if (kind != ShapeKind::Squares) {
            require(outcome.outlines && bytes.count("\nLWPOLYLINE\n") == *outcome.outlines &&
                        bytes.count("\nHATCH\n") == outcome.shapes && outcome.shapes <= *outcome.outlines,
                    "an outline drawing has one HATCH per kept shape and its outlines");
            require(outcome.shapes == 0 || bytes.lastIndexOf("\nLWPOLYLINE\n") < bytes.indexOf("\nHATCH\n"),
                    "all outlines come before all hatches");
        } else {
            require(bytes.count("\nSOLID\n") == outcome.shapes && outcome.shapes <= outcome.points,
                    "a drawing has one SOLID per shape, at most one per point");
        }
        break;
    case OutputFormat::Svg:
        require(bytes.startsWith("<?xml") && bytes.endsWith("</g>\n</svg>\n"), "a vector picture is whole");
        require(bytes.count('z') == (kind != ShapeKind::Squares ? *outcome.outlines : outcome.shapes),
                "a vector picture closes every outline or square once");
        break;
    }
    if (format.format != OutputFormat::Records) {
        require(filtered ? outcome.points <= selected : outcome.points == selected,
                "a file holds the selected points, fewer only where specks are left out");
    }
    if (format.drawing) {
        require(!bytes.contains("inf") && !bytes.contains("nan"), "a drawing's numbers are finite");
    }
    const std::int64_t estimate = ExportJob::fileBytes(source, format.format, extent, pixel);
    const bool exact =
        format.format == OutputFormat::Records ||
        (outcome.points == 0 && (format.format == OutputFormat::Csv || kind == ShapeKind::Squares));
    require(exact ? estimate == bytes.size() : estimate > 0, "a file's size is as its format estimates it");
}

// Every format and kind of shapes, one after another into the same destination.
void checkFormats(const PictureRoad& road, const RoadSettings& settings, const PixelChoice& pixel,
                  const QString& folder) {
    const QString path = folder + QStringLiteral("/drawing");
    const QString secondName = folder + QStringLiteral("/drawing-too");
    prepareDestination(path, secondName, settings);
    const PictureSurface& source = road.result(settings.source);
    const auto exported = [&](OutputFormat format, ShapeChoice shapes, ExportOutcome& outcome) {
        FixedExportControls controls(settings.polarity, settings.threshold);
        ExportJob job(path, format, shapes);
        outcome = road.exportResult(settings.source, job, controls, pixel);
        const QByteArray bytes = contents(path);
        if (settings.secondName) {
            require(statusOf(path).st_ino == statusOf(secondName).st_ino && contents(secondName) == bytes,
                    "a destination's other name sees the new file");
        }
        return bytes;
    };
    ExportOutcome unfiltered;
    exported(OutputFormat::Csv, {}, unfiltered);
    for (const FormatEntry& format : outputFormats()) {
        for (const ShapeKind kind : ShapeKinds) {
            if (format.drawing || kind == ShapeKinds[0]) {
                ExportOutcome outcome;
                const QByteArray bytes = exported(format.format, {kind, settings.minimumArea}, outcome);
                checkFile(format, kind, settings, bytes, outcome, unfiltered.points, source, pixel);
            }
        }
    }
}

} // namespace

void travelLoadingRoad(const QByteArray& bytes, const QString& folder) {
    RoadInput input = splitInput(bytes);
    followCommandLine(input.arguments, input.settings);
    const RoadSettings& settings = input.settings;

    QBuffer data(&input.picture);
    data.open(QIODevice::ReadOnly);
    const std::optional<PictureHeader> header = readPictureHeader(data);
    require(data.pos() == 0, "the header's reader puts the position back");
    QImage picture;
    try {
        picture = decodePicture(input.picture, QStringLiteral("fuzz input"), LoadingRoadLargestPixels);
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

    PixelSizeChoice choice{settings.pixelMillimetres, settings.dotsPerInch, {}};
    if (header) {
        choice.statedDotsPerInch = header->statedDotsPerInch;
    }
    const PixelChoice pixel = pixelMillimetres(choice);

    const QString recordsPath = folder + QStringLiteral("/points.txt");
    const QSizeF& size = road.openedSize();
    checkDarkExport(
        grey.image(),
        exported(road, ConversionResult::Grey, ExportPolarity::Black, settings.threshold, recordsPath),
        settings.threshold);
    checkLightExport(
        half, exported(road, ConversionResult::Half, ExportPolarity::White, settings.threshold, recordsPath),
        record(toInteger32(size.width()), toInteger32(size.height()), 0), settings.threshold);
    checkFormats(road, settings, pixel, folder);
}
