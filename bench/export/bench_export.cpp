// Times the point-data export of a 6000 x 4000 grey picture (black data, threshold 122) against one
// plain buffered write of the same bytes to the same folder, and prints both with their ratio: once
// with the data left to the system's cache, once with it synced to the disk before the file is done
// (as the export does by default, before its file takes the old one's place).

#include "../BenchSupport.h"
#include "export/ExportJob.h"
#include "runtime/DoEvents.h"
#include "runtime/MemoryReuse.h"
#include "runtime/Numbers.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Width = 6000;
constexpr int Height = 4000;
constexpr int Runs = 15;

// What the export dialog does per column: the caption text is built and shown, and events run.
class DialogLikeControls : public ExportControls {
public:
    ExportPolarity polarity() const override { return ExportPolarity::Black; }
    int threshold() const override { return 122; }
    void showCaption(const QString& text) override { caption = text; }
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

Timing exportOnce(const PictureSurface& picture, const QString& path, bool sync) {
    QFile::remove(path);
    const Stopwatch watch;
    DialogLikeControls controls;
    StagedOutput::Options options;
    options.syncBeforeReplacing = sync;
    ExportJob(StagedOutput(QFile::encodeName(path), options), OutputFormat::Records)
        .run(picture, QSizeF(Width, Height), controls);
    return watch.elapsed();
}

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
    return 0;
}
