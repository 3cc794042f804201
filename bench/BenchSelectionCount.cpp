// Times the selection count the export dialog builds of a 6000 x 4000 grey picture and of its
// half-resolution picture (both numberings each, as the dialog needs them for every format) against
// the 30 ms a source's histogram may take, the column runs that bound a drawing's shapes, and sweeps
// of the count and of the stated sizes over every threshold; then sets the sizes the dialog would
// state against the files the exports write, for a smaller picture.

#include "BenchSupport.h"
#include "export/ColumnRuns.h"
#include "export/ExportJob.h"
#include "export/FixedExportControls.h"
#include "export/PictureRoad.h"
#include "export/SumHistogram.h"
#include "runtime/MemoryReuse.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

constexpr int Width = 6000;
constexpr int Height = 4000;
constexpr int Rounds = 11;
constexpr double TargetMilliseconds = 30.0;

// Varied pixels made grey: every channel sum from black to white occurs.
PictureSurface greyPicture() {
    PictureSurface surface(0, Width, Height);
    fillVariedPixels(surface.image());
    QImage& image = surface.image();
    for (int y = 0; y < Height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < Width; ++x) {
            const int grey = qGray(line[x]);
            line[x] = qRgb(grey, grey, grey);
        }
    }
    return surface;
}

// This thread's processor time in ms: on a shared machine the wall time also holds others' work.
double processorMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Prints the medians of wall and processor time of `work` against the target.
template <typename Work> void printMedians(const char* label, Work&& work, double target) {
    std::vector<double> walls;
    std::vector<double> processors;
    for (int round = 0; round < Rounds; ++round) {
        const double start = processorMilliseconds();
        walls.push_back(millisecondsOf(work));
        processors.push_back(processorMilliseconds() - start);
    }
    const double wall = median(walls);
    std::printf("%-36s median %8.3f ms wall, %8.3f ms processor, worst %8.3f ms wall", label, wall,
                median(processors), *std::max_element(walls.begin(), walls.end()));
    if (target > 0) {
        std::printf("  (target %.0f ms: %s)", target, wall <= target ? "met" : "MISSED");
    }
    std::printf("\n");
}

// Both numberings' counts, as the dialog builds them for a source; the points they count stay in
// `points`, so that the work cannot be left out.
void bothNumberings(const char* label, const PictureSurface& source, std::int64_t& points) {
    printMedians(
        label,
        [&] {
            const SumHistograms counts = sumHistograms(source);
            points += counts.unitsFromOne.points(ExportPolarity::Black, 128) +
                      counts.pixelsFromZero.points(ExportPolarity::Black, 128);
        },
        TargetMilliseconds);
}

// A smooth grey picture with some grain: a diagonal ramp and a dark disc.
PictureSurface rampWithDisc(int width, int height) {
    PictureSurface surface(0, width, height);
    std::uint32_t seed = 7;
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(surface.image().scanLine(y));
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const bool disc =
                (x - width / 3) * (x - width / 3) + (y - height / 2) * (y - height / 2) < height * height / 9;
            const int grey = std::clamp((x + y) * 255 / (width + height) - (disc ? 90 : 0) +
                                            static_cast<int>(seed >> 29) - 4,
                                        0, 255);
            line[x] = qRgb(grey, grey, grey);
        }
    }
    return surface;
}

// The sizes the dialog would state against the files the exports write, for a 1500 x 1000 picture.
void estimatesAgainstFiles() {
    const PictureSurface picture = rampWithDisc(1500, 1000);
    const SumHistograms counts = sumHistograms(picture);
    const ColumnRuns columnRuns(picture);
    QTemporaryDir dir;
    std::printf("file sizes of a 1500 x 1000 ramp with a disc, black at 100: stated / written\n");
    for (const FormatEntry& format : outputFormats()) {
        FixedExportControls controls(ExportPolarity::Black, 100);
        const QString path = dir.filePath(QStringLiteral("out") + format.suffix);
        const ExportOutcome outcome =
            ExportJob(path, format.format).run(picture, QSizeF(1500, 1000), controls);
        const double written = static_cast<double>(QFileInfo(path).size());
        SelectionExtent extent = counts.of(format.numbering).extent(ExportPolarity::Black, 100);
        const double byPoints = static_cast<double>(ExportJob::fileBytes(picture, format.format, extent));
        extent.shapes = columnRuns.runs(ExportPolarity::Black, 100);
        const double byRuns = static_cast<double>(ExportJob::fileBytes(picture, format.format, extent));
        std::printf("  %-8s %10.0f bytes written, %lld points, %lld shapes (%lld runs); stated %.3f with the "
                    "runs as shapes, %.3f with the points\n",
                    format.name, written, static_cast<long long>(outcome.points),
                    static_cast<long long>(outcome.shapes), static_cast<long long>(extent.shapes),
                    byRuns / written, byPoints / written);
    }
}

} // namespace

int main() {
    keepFreedMemoryForReuse(); // as the programs do
    PictureRoad road(greyPicture().image(), QStringLiteral("bench picture"));
    road.makeHalf();
    const PictureSurface& grey = road.result(ConversionResult::Grey);
    const PictureSurface& half = road.result(ConversionResult::Half);

    std::printf("selection count of a %d x %d picture, %d rounds\n", Width, Height, Rounds);
    // The machine's limit for one pass over the picture, read and written, at this moment.
    PictureSurface target(0, Width, Height);
    printMedians(
        "plain pass (machine's limit)", [&] { plainPass(grey.image(), target.image()); }, 0);
    std::int64_t points = 0;
    bothNumberings("grey picture, both numberings", grey, points);
    bothNumberings("half-resolution, both numberings", half, points);
    printMedians(
        "grey picture, one numbering",
        [&] {
            points += SumHistogram(grey, PointNumbering::PixelsFromZero).points(ExportPolarity::White, 1);
        },
        0);

    printMedians(
        "column runs (drawings' shapes bound)",
        [&] { points += ColumnRuns(grey).runs(ExportPolarity::Black, 128); }, 0);

    const SumHistogram count(grey, PointNumbering::UnitsFromOne);
    printMedians(
        "points() over 256 thresholds, both",
        [&] {
            for (int threshold = 0; threshold <= 255; ++threshold) {
                points += count.points(ExportPolarity::Black, threshold) +
                          count.points(ExportPolarity::White, threshold);
            }
        },
        0);
    // What the dialog states on every change: the count and the size, here of every format at once.
    const SumHistograms counts = sumHistograms(grey);
    const ColumnRuns columnRuns(grey);
    printMedians(
        "sizes of 4 formats x 256 thresholds",
        [&] {
            for (int threshold = 0; threshold <= 255; ++threshold) {
                for (const FormatEntry& format : outputFormats()) {
                    SelectionExtent extent =
                        counts.of(format.numbering).extent(ExportPolarity::Black, threshold);
                    if (format.drawing) {
                        extent.shapes = columnRuns.runs(ExportPolarity::Black, threshold);
                    }
                    points += ExportJob::fileBytes(grey, format.format, extent);
                }
            }
        },
        0);
    std::printf("(%lld counted in all)\n", static_cast<long long>(points));
    estimatesAgainstFiles();
    return 0;
}
