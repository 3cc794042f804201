#include "ExportJob.h"

#include "runtime/Numbers.h"

ExportJob::ExportJob(const QString& destination, OutputFormat format)
    : format_(formatEntry(format)), file_(destination, format_.recordLength) {}

ExportJob::ExportJob(StagedOutput destination, OutputFormat format)
    : format_(formatEntry(format)), file_(std::move(destination), format_.recordLength) {}

namespace {

SinkSetup sinkSetup(const PictureSurface& source, const QSizeF& openedPicture, const FormatEntry& format,
                    double pixelMillimetres) {
    const int unitPixels = PointSelection::unitSpan(source);
    return {{toInteger32(openedPicture.width()), toInteger32(openedPicture.height()), 0},
            PointSelection::unitGrid(source, format.numbering),
            pixelMillimetres * unitPixels,
            unitPixels};
}

} // namespace

ExportOutcome ExportJob::run(const PictureSurface& source, const QSizeF& openedPicture,
                             ExportControls& controls, double pixelMillimetres) {
    const SinkSetup setup = sinkSetup(source, openedPicture, format_, pixelMillimetres);
    const auto sink = format_.makeSink(file_, setup);
    ExportOutcome outcome;
    outcome.points = PointSelection(controls, format_.numbering).run(source, *sink);
    file_.Close();
    outcome.shapes = sink->shapeCount();
    outcome.drawingMillimetres = drawingMillimetres(source, pixelMillimetres);
    return outcome;
}

QSizeF ExportJob::drawingMillimetres(const PictureSurface& source, double pixelMillimetres) {
    const QSize grid = PointSelection::unitGrid(source, PointNumbering::PixelsFromZero);
    const double unitMillimetres = pixelMillimetres * PointSelection::unitSpan(source);
    return {grid.width() * unitMillimetres, grid.height() * unitMillimetres};
}

std::int64_t ExportJob::fileBytes(const PictureSurface& source, OutputFormat format,
                                  const SelectionExtent& extent, double pixelMillimetres) {
    const FormatEntry& entry = formatEntry(format);
    return entry.fileBytes(sinkSetup(source, {}, entry, pixelMillimetres), extent);
}
