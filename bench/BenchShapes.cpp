// Times the shapes of a selection against the squares drawings of the same picture, in one run: the
// photo-like 6000 x 4000 picture of bench_export and a 2000 x 2000 picture of random grain (each pixel
// black with probability 1/2), black data at 122. For each: the squares DXF and SVG, CSV with and
// without the speck filter, the point-data file, the shapes' pass (labelling and sizes) and their
// tracing; then, each in a process of its own, the peak resident memory of the picture alone, of its
// squares DXF and of its shapes traced one at a time.
//
//   bench_shapes [FOLDER]          the figures, the files written under FOLDER (default: the temporary
//   folder) bench_shapes --peak PICTURE STAGE    one process's peak (picture photo|grain; stage
//   picture|squares|traced)

#include "BenchSupport.h"
#include "ShapePictures.h"
#include "export/ExportJob.h"
#include "export/FixedExportControls.h"
#include "export/SelectionShapes.h"
#include "runtime/MemoryReuse.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <random>
#include <vector>

namespace {

constexpr int Rounds = 5;

PictureSurface pictureNamed(const QByteArray& name) {
    return name == "grain" ? randomGrain() : photoLike();
}

double processorMilliseconds() {
    return static_cast<double>(std::clock()) * 1000.0 / CLOCKS_PER_SEC;
}

struct Timing {
    double wall;
    double processor;
};

// Prints the median wall and processor time of `work` over the rounds and returns them.
template <typename Work> Timing printMedians(const char* label, Work&& work) {
    std::vector<double> walls;
    std::vector<double> processors;
    for (int round = 0; round < Rounds; ++round) {
        const double start = processorMilliseconds();
        walls.push_back(millisecondsOf(work));
        processors.push_back(processorMilliseconds() - start);
    }
    const Timing medians{median(walls), median(processors)};
    std::printf("  %-34s %8.1f ms wall, %8.1f ms processor\n", label, medians.wall, medians.processor);
    return medians;
}

// The selection's shapes, gathered and measured in one pass.
std::unique_ptr<SelectionShapes> gathered(const PictureSurface& picture, std::int64_t minimumArea = 0) {
    auto shapes = std::make_unique<SelectionShapes>(
        PointSelection::unitGrid(picture, PointNumbering::PixelsFromZero), minimumArea);
    FixedExportControls controls(ExportPolarity::Black, 122);
    PointSelection(controls, PointNumbering::PixelsFromZero).run(picture, *shapes);
    return shapes;
}

// Traces every shape and returns the most corners one shape held.
std::size_t traceAll(const SelectionShapes& shapes) {
    std::size_t most = 0;
    shapes.forEachShape([&most](const TracedShape& shape) {
        std::size_t corners = 0;
        for (const Outline& outline : shape.outlines) {
            corners += outline.corners.size();
        }
        most = std::max(most, corners);
    });
    return most;
}

void exportTo(const QString& path, const PictureSurface& picture, OutputFormat format, ShapeChoice shapes) {
    FixedExportControls controls(ExportPolarity::Black, 122);
    ExportJob(path, format, shapes)
        .run(picture, QSizeF(picture.pixelWidth(), picture.pixelHeight()), controls);
}

// This process's peak resident memory in KiB: the high-water mark of its own address space (the
// resource usage's maximum would keep the parent's from before the program started).
long peakKibibytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    return 0;
}

int peakOfStage(const QByteArray& pictureName, const QByteArray& stage, const QString& folder) {
    const PictureSurface picture = pictureNamed(pictureName);
    if (stage == "squares") {
        exportTo(folder + "/peak.dxf", picture, OutputFormat::Dxf, {ShapeKind::Squares, 0});
        QFile::remove(folder + "/peak.dxf");
    } else if (stage == "traced") {
        traceAll(*gathered(picture));
    }
    std::printf("%ld\n", peakKibibytes());
    return 0;
}

long peakOfProcess(const QByteArray& pictureName, const char* stage, const QString& folder) {
    QProcess process;
    process.start(QCoreApplication::applicationFilePath(),
                  {"--peak", QString::fromLatin1(pictureName), QString::fromLatin1(stage), folder});
    process.waitForFinished(-1);
    return process.readAllStandardOutput().trimmed().toLong();
}

void benchPicture(const QByteArray& name, const QString& folder) {
    const PictureSurface picture = pictureNamed(name);
    const auto shapes = gathered(picture);
    const auto filtered = gathered(picture, 2);
    const std::size_t largest = traceAll(*shapes);
    traceAll(*filtered);
    std::printf("\n%s %d x %d, black data at 122: %lld units selected in %lld shapes, %lld outlines, %lld "
                "corners (the largest shape %zu); %lld shapes of 2 units or more\n",
                name.constData(), picture.pixelWidth(), picture.pixelHeight(),
                static_cast<long long>(shapes->keptUnits()), static_cast<long long>(shapes->shapeCount()),
                static_cast<long long>(shapes->outlineCount()), static_cast<long long>(shapes->cornerCount()),
                largest, static_cast<long long>(filtered->shapeCount()));
    const auto timeExport = [&](const char* label, OutputFormat format, ShapeChoice choice) {
        const QString path = folder + "/bench" + formatEntry(format).suffix;
        const Timing timing = printMedians(label, [&] { exportTo(path, picture, format, choice); });
        QFile::remove(path);
        return timing;
    };
    timeExport("point data", OutputFormat::Records, {});
    const Timing dxf = timeExport("squares DXF", OutputFormat::Dxf, {ShapeKind::Squares, 0});
    const Timing svg = timeExport("squares SVG", OutputFormat::Svg, {ShapeKind::Squares, 0});
    timeExport("squares DXF, min area 2", OutputFormat::Dxf, {ShapeKind::Squares, 2});
    timeExport("CSV", OutputFormat::Csv, {});
    timeExport("CSV, min area 2", OutputFormat::Csv, {ShapeKind::Squares, 2});
    const Timing pass = printMedians("shapes' pass (selection, grid)", [&] { gathered(picture); });
    printMedians("the same, sizes and min area 2", [&] { gathered(picture, 2); });
    const Timing tracing = printMedians("tracing every shape", [&] { traceAll(*shapes); });
    // The machine may be shared: the processor times show what the work itself cost.
    std::printf(
        "  pass and tracing against the squares (the outline writers get the rest of 2): DXF %.2f wall, "
        "%.2f processor; SVG %.2f wall, %.2f processor\n",
        (pass.wall + tracing.wall) / dxf.wall, (pass.processor + tracing.processor) / dxf.processor,
        (pass.wall + tracing.wall) / svg.wall, (pass.processor + tracing.processor) / svg.processor);
    const long alone = peakOfProcess(name, "picture", folder);
    const long squares = peakOfProcess(name, "squares", folder);
    const long traced = peakOfProcess(name, "traced", folder);
    std::printf("  peak resident memory: the picture %.1f MiB, its squares DXF %.1f MiB, its shapes traced "
                "%.1f MiB (%+.1f MiB beside the squares)\n",
                alone / 1024.0, squares / 1024.0, traced / 1024.0, (traced - squares) / 1024.0);
}

} // namespace

int main(int argc, char** argv) {
    keepFreedMemoryForReuse(); // as the programs do
    QCoreApplication application(argc, argv);
    if (argc == 5 && QByteArray(argv[1]) == "--peak") {
        return peakOfStage(argv[2], argv[3], QString::fromLocal8Bit(argv[4]));
    }
    QTemporaryDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) + "/bench_shapes-XXXXXX" : QString());
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    std::printf("medians of %d rounds\n", Rounds);
    benchPicture("photo", dir.path());
    benchPicture("grain", dir.path());
    return 0;
}
