// Times the point-data export of a 6000 x 4000 grey picture (black data, threshold 122) against one
// plain buffered write of the same bytes to the same folder, once with the data left to the system's
// cache and once synced to the disk before the file is done (as the export does by default); then the
// DXF, SVG and CSV exports of a photo-like picture against its point-data export in the same runs
// (unsynced, so that the disk does not drown the difference); prints times, ratios, the drawings'
// shapes before and after merging across columns, and the files' sizes. Then the outline DXF and SVG
// of the photo-like picture against its squares DXF and SVG in the same runs, and every format of a
// 2000 x 2000 picture of random grain, the worst case for shapes.

#include "BenchSupport.h"
#include "ShapePictures.h"
#include "export/ExportJob.h"
#include "export/MergedRectangles.h"
#include "runtime/DoEvents.h"
#include "runtime/MemoryReuse.h"
#include "runtime/Numbers.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Width = 6000;
constexpr int Height = 4000;
constexpr int Runs = 15;

// What the export dialog does per column: a caption text is built from the progress, and events run.
class DialogLikeControls : public ExportControls {
public:
    ExportPolarity polarity() const override { return ExportPolarity::Black; }
    int threshold() const override { return 122; }
    void showProgress(double percent) override { caption = decimalText(percent) + QLatin1Char('%'); }
    void yield() override { columnYield(); }

    QString caption;
    ColumnYield columnYield;
};

// A photo-like grey picture: a diagonal ramp with pseudo-random grain.
PictureSurface greyPhoto() {
    PictureSurface surface(0, Width, Height);
    QImage& image = surface.image();
    std::uint32_t seed = 12345;
    for (int y = 0; y < Height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < Width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int grain = static_cast<int>(seed >> 24) - 128;
            const int grey = std::clamp((x + y) * 255 / (Width + Height) + grain / 2, 0, 255);
            line[x] = qRgb(grey, grey, grey);
        }
    }
    return surface;
}

// Wall time of one run in ms, and the processor time of all threads (this machine is shared: the
// processor time shows what the run itself cost when others' work stretches the wall time).
struct Timing {
    double wall;
    double processor;
};

class Stopwatch {
public:
    Stopwatch() : processorStart_(std::clock()) { timer_.start(); }
    Timing elapsed() const {
        return {static_cast<double>(timer_.nsecsElapsed()) / 1e6,
                static_cast<double>(std::clock() - processorStart_) * 1000.0 / CLOCKS_PER_SEC};
    }

private:
    QElapsedTimer timer_;
    std::clock_t processorStart_;
};

Timing exportOnce(const PictureSurface& picture, const QString& path, bool sync,
                  OutputFormat format = OutputFormat::Records, ExportOutcome* outcome = nullptr,
                  ShapeChoice shapes = {}) {
    QFile::remove(path);
    const Stopwatch watch;
    DialogLikeControls controls;
    StagedOutput::Options options;
    options.syncBeforeReplacing = sync;
    const ExportOutcome done =
        ExportJob(StagedOutput(QFile::encodeName(path), options), format, shapes)
            .run(picture, QSizeF(picture.pixelWidth(), picture.pixelHeight()), controls);
    const Timing timing = watch.elapsed();
    if (outcome) {
        *outcome = done;
    }
    return timing;
}
// Counts the column runs and the rectangles they merge into, without writing anything.
class ShapeCounter : public PointSink {
public:
    explicit ShapeCounter(std::size_t rows) : merged_(rows) {}
    void addStretch(const ColumnStretch& stretch) override { merged_.addStretch(stretch); }
    void endColumn(std::int32_t x) override {
        merged_.endColumn(x, [this](const UnitRectangle&) { ++rectangles_; });
    }
    void finish() override {}
    std::int64_t runs() const { return merged_.runs(); }
    std::int64_t rectangles() {
        merged_.finish(Width, [this](const UnitRectangle&) { ++rectangles_; });
        return rectangles_;
    }

private:
    MergedRectangles merged_;
    std::int64_t rectangles_ = 0;
};

Timing plainWriteOnce(const QByteArray& bytes, const QString& path, bool sync) {
    QFile::remove(path);
    const Stopwatch watch;
    std::FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!file || std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), file) !=
                     static_cast<std::size_t>(bytes.size())) {
        std::fprintf(stderr, "plain write failed\n");
        std::exit(1);
    }
    if (sync && (std::fflush(file) != 0 || fdatasync(fileno(file)) != 0)) {
        std::fprintf(stderr, "plain sync failed\n");
        std::exit(1);
    }
    std::fclose(file);
    return watch.elapsed();
}

// Prints the runs and returns the medians of wall and processor time.
Timing printRuns(const char* label, const std::vector<Timing>& runs) {
    std::vector<double> walls;
    std::vector<double> processors;
    std::printf("%-22s wall ms:", label);
    for (const Timing& run : runs) {
        walls.push_back(run.wall);
        processors.push_back(run.processor);
        std::printf(" %6.1f", run.wall);
    }
    const Timing medians{median(walls), median(processors)};
    std::printf("   median %6.1f wall, %6.1f processor\n", medians.wall, medians.processor);
    return medians;
}

} // namespace

int main(int argc, char** argv) {
    keepFreedMemoryForReuse(); // as the programs do
    QCoreApplication app(argc, argv);
    QTemporaryDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) + "/bench_export-XXXXXX" : QString());
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    const PictureSurface picture = greyPhoto();
    const QString exportPath = dir.filePath("export.txt");
    const QString plainPath = dir.filePath("plain.txt");

    exportOnce(picture, exportPath, false);
    QFile exportedFile(exportPath);
    if (!exportedFile.open(QIODevice::ReadOnly)) {
        return 1;
    }
    const QByteArray bytes = exportedFile.readAll();
    exportedFile.close();
    std::printf("export of %d x %d grey, black data, threshold 122: %lld records, %.1f MB, folder %s\n",
                Width, Height, static_cast<long long>(bytes.size() / PointRecord::Length - 1),
                static_cast<double>(bytes.size()) / 1e6, qPrintable(dir.path()));

    for (const bool sync : {false, true}) {
        std::vector<Timing> exports;
        std::vector<Timing> plains;
        for (int run = 0; run < Runs; ++run) {
            plains.push_back(plainWriteOnce(bytes, plainPath, sync));
            exports.push_back(exportOnce(picture, exportPath, sync));
        }
        std::printf("%s\n", sync ? "with fdatasync before the file is done:" : "without sync:");
        const Timing plain = printRuns("plain buffered write:", plains);
        const Timing exported = printRuns("export:", exports);
        std::printf("ratio export / plain write: %.2f wall (target at most 1.5), %.2f processor\n",
                    exported.wall / plain.wall, exported.processor / plain.processor);
    }

    const PictureSurface photo = photoLike();
    DialogLikeControls counting;
    ShapeCounter counter(Height);
    const std::int64_t points = PointSelection(counting, PointNumbering::PixelsFromZero).run(photo, counter);
    std::printf("\nphoto-like picture of bench/road.sh, black data at 122: %lld points, %lld shapes as "
                "column runs, %lld after merging across columns\n",
                static_cast<long long>(points), static_cast<long long>(counter.runs()),
                static_cast<long long>(counter.rectangles()));
    struct Format {
        OutputFormat format;
        const char* label;
        double target;
    };
    const Format formats[] = {
        {OutputFormat::Dxf, "dxf", 1.5}, {OutputFormat::Svg, "svg", 1.5}, {OutputFormat::Csv, "csv", 3.0}};
    constexpr int FormatRuns = 7;
    for (const Format& format : formats) {
        const QString path = dir.filePath(QStringLiteral("export") + formatEntry(format.format).suffix);
        std::vector<Timing> records;
        std::vector<Timing> drawn;
        ExportOutcome outcome;
        for (int run = 0; run < FormatRuns; ++run) {
            records.push_back(exportOnce(photo, exportPath, false));
            drawn.push_back(exportOnce(photo, path, false, format.format, &outcome));
        }
        const Timing recordMedian = printRuns("point data:", records);
        const Timing formatMedian = printRuns(format.label, drawn);
        std::printf("%s: ratio to point data %.2f wall (target at most %.1f), %.2f processor; %lld points, "
                    "%lld shapes, %.1f MB (point data %.1f MB), %.1f x %.1f mm\n",
                    format.label, formatMedian.wall / recordMedian.wall, format.target,
                    formatMedian.processor / recordMedian.processor, static_cast<long long>(outcome.points),
                    static_cast<long long>(outcome.shapes), static_cast<double>(QFileInfo(path).size()) / 1e6,
                    static_cast<double>(QFileInfo(exportPath).size()) / 1e6,
                    outcome.drawingMillimetres.width(), outcome.drawingMillimetres.height());
        QFile::remove(path);
    }

    // Ratios checked against their targets: more runs, so that their medians vary less from run to run.
    constexpr int RatioRuns = 15;
    const ShapeChoice squares{ShapeKind::Squares, 0};
    const ShapeChoice outlines{ShapeKind::Outlines, 0};
    std::printf("\noutlines against squares, photo-like picture, alternating in the same runs:\n");
    for (const OutputFormat format : {OutputFormat::Dxf, OutputFormat::Svg}) {
        const char* label = formatEntry(format).name;
        const QString path = dir.filePath(QStringLiteral("shapes") + formatEntry(format).suffix);
        std::vector<Timing> squareRuns;
        std::vector<Timing> outlineRuns;
        ExportOutcome squareOutcome;
        ExportOutcome outlineOutcome;
        for (int run = 0; run < RatioRuns; ++run) {
            squareRuns.push_back(exportOnce(photo, path, false, format, &squareOutcome, squares));
            const qint64 squareBytes = QFileInfo(path).size();
            outlineRuns.push_back(exportOnce(photo, path, false, format, &outlineOutcome, outlines));
            if (run == 0) {
                std::printf(
                    "%s: squares %lld shapes, %.1f MB; outlines %lld shapes, %lld outlines, %.1f MB\n", label,
                    static_cast<long long>(squareOutcome.shapes), static_cast<double>(squareBytes) / 1e6,
                    static_cast<long long>(outlineOutcome.shapes),
                    static_cast<long long>(outlineOutcome.outlines.value_or(0)),
                    static_cast<double>(QFileInfo(path).size()) / 1e6);
            }
        }
        const Timing squareMedian = printRuns("squares:", squareRuns);
        const Timing outlineMedian = printRuns("outlines:", outlineRuns);
        std::printf("%s: ratio outlines / squares %.2f wall (target at most 2), %.2f processor\n", label,
                    outlineMedian.wall / squareMedian.wall, outlineMedian.processor / squareMedian.processor);
        QFile::remove(path);
    }

    // Smooth outlines are the outlines with a stage after the tracing: their cost is that stage's.
    const ShapeChoice smooth{ShapeKind::Smooth, 0};
    std::printf("\nsmooth outlines against outlines, photo-like picture, alternating in the same runs:\n");
    for (const OutputFormat format : {OutputFormat::Dxf, OutputFormat::Svg}) {
        const char* label = formatEntry(format).name;
        const QString path = dir.filePath(QStringLiteral("smooth") + formatEntry(format).suffix);
        std::vector<Timing> outlineRuns;
        std::vector<Timing> smoothRuns;
        for (int run = 0; run < RatioRuns; ++run) {
            outlineRuns.push_back(exportOnce(photo, path, false, format, nullptr, outlines));
            const qint64 outlineBytes = QFileInfo(path).size();
            smoothRuns.push_back(exportOnce(photo, path, false, format, nullptr, smooth));
            if (run == 0) {
                std::printf("%s: outlines %.1f MB, smooth %.1f MB\n", label,
                            static_cast<double>(outlineBytes) / 1e6,
                            static_cast<double>(QFileInfo(path).size()) / 1e6);
            }
        }
        const Timing outlineMedian = printRuns("outlines:", outlineRuns);
        const Timing smoothMedian = printRuns("smooth:", smoothRuns);
        std::printf("%s: ratio smooth / outlines %.2f wall (target at most 1.5), %.2f processor\n", label,
                    smoothMedian.wall / outlineMedian.wall, smoothMedian.processor / outlineMedian.processor);
        QFile::remove(path);
    }

    const PictureSurface grain = randomGrain();
    std::printf(
        "\nrandom grain %d x %d, each pixel black with probability 1/2 (target under 5000 ms each):\n",
        grain.pixelWidth(), grain.pixelHeight());
    struct GrainExport {
        OutputFormat format;
        ShapeChoice shapes;
        const char* label;
    };
    const GrainExport grainExports[] = {{OutputFormat::Records, {}, "point data"},
                                        {OutputFormat::Csv, {}, "csv"},
                                        {OutputFormat::Csv, {ShapeKind::Squares, 2}, "csv, min area 2"},
                                        {OutputFormat::Dxf, squares, "dxf squares"},
                                        {OutputFormat::Svg, squares, "svg squares"},
                                        {OutputFormat::Dxf, outlines, "dxf outlines"},
                                        {OutputFormat::Svg, outlines, "svg outlines"},
                                        {OutputFormat::Dxf, smooth, "dxf smooth"},
                                        {OutputFormat::Svg, smooth, "svg smooth"},
                                        {OutputFormat::Dxf, {ShapeKind::Outlines, 2}, "dxf outlines, min 2"}};
    constexpr int GrainRuns = 3;
    for (const GrainExport& grainExport : grainExports) {
        const QString path = dir.filePath(QStringLiteral("grain") + formatEntry(grainExport.format).suffix);
        std::vector<Timing> runs;
        for (int run = 0; run < GrainRuns; ++run) {
            runs.push_back(exportOnce(grain, path, false, grainExport.format, nullptr, grainExport.shapes));
        }
        printRuns(grainExport.label, runs);
        QFile::remove(path);
    }
    return 0;
}
