#include "ExportJob.h"

#include "runtime/Numbers.h"

ExportJob::ExportJob(const QString& destination, OutputFormat format)
    : format_(formatEntry(format)), file_(destination, format_.recordLength) {}

ExportJob::ExportJob(StagedOutput destination, OutputFormat format)
    : format_(formatEntry(format)), file_(std::move(destination), format_.recordLength) {}

ExportOutcome ExportJob::run(const PictureSurface& source, const QSizeF& openedPicture,
                             ExportControls& controls, double pixelMillimetres) {
    const QSize grid = PointSelection::unitGrid(source, format_.numbering);
    const int unitPixels = PointSelection::unitSpan(source);
    const double unitMillimetres = pixelMillimetres * unitPixels;
    const SinkSetup setup{{toInteger32(openedPicture.width()), toInteger32(openedPicture.height()), 0},
                          grid,
                          unitMillimetres,
                          unitPixels};
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
