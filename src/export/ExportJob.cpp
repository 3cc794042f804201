#include "ExportJob.h"

#include "SelectionShapes.h"
#include "SmallShapeFilter.h"
#include "runtime/Numbers.h"

ExportJob::ExportJob(const QString& destination, OutputFormat format, ShapeChoice shapes)
    : format_(formatEntry(format)), shapes_(shapes), file_(destination, format_.recordLength) {}

ExportJob::ExportJob(StagedOutput destination, OutputFormat format, ShapeChoice shapes)
    : format_(formatEntry(format)), shapes_(shapes), file_(std::move(destination), format_.recordLength) {}

namespace {

SinkSetup sinkSetup(const PictureSurface& source, const QSizeF& openedPicture, const FormatEntry& format,
                    PixelSides pixelMillimetres) {
    const int unitPixels = PointSelection::unitSpan(source);
    return {{toInteger32(openedPicture.width()), toInteger32(openedPicture.height()), 0},
            PointSelection::unitGrid(source, format.numbering),
            pixelMillimetres * unitPixels,
            unitPixels};
}

} // namespace

ExportOutcome ExportJob::run(const PictureSurface& source, const QSizeF& openedPicture,
                             ExportControls& controls, PixelSides pixelMillimetres) {
    const SinkSetup setup = sinkSetup(source, openedPicture, format_, pixelMillimetres);
    ExportOutcome outcome;
    if (drawsOutlines() || filtersSpecksAhead()) {
        // The sizes of the shapes, and which units the filter keeps, are known only once every column
        // has come: the shapes take a pass of their own. A sink of points then gets a second pass,
        // filtered, which reads the grey levels (the CSV's third column) the shapes do not keep.
        SelectionShapes shapes(setup.grid, format_.filtersSpecks ? shapes_.minimumArea : 0);
        PointSelection(controls, format_.numbering).run(source, shapes);
        if (drawsOutlines()) {
            const auto write =
                shapes_.kind == ShapeKind::Smooth ? format_.writeSmooth : format_.writeOutlines;
            const OutlineTotals drawn = write(file_, setup, shapes);
            outcome.points = shapes.keptUnits();
            outcome.shapes = drawn.shapes;
            outcome.outlines = drawn.outlines;
        } else {
            const auto sink = format_.makeSink(file_, setup);
            SmallShapeFilter filter(*sink, shapes);
            PointSelection(controls, format_.numbering).run(source, filter);
            outcome.points = filter.points();
            outcome.shapes = sink->shapeCount();
        }
    } else {
        const auto sink = format_.makeSink(file_, setup);
        outcome.points = PointSelection(controls, format_.numbering).run(source, *sink);
        outcome.shapes = sink->shapeCount();
    }
    file_.Close();
    outcome.drawingMillimetres = drawingMillimetres(source, pixelMillimetres);
    return outcome;
}

QSizeF ExportJob::drawingMillimetres(const PictureSurface& source, PixelSides pixelMillimetres) {
    const QSize grid = PointSelection::unitGrid(source, PointNumbering::PixelsFromZero);
    const PixelSides unit = pixelMillimetres * PointSelection::unitSpan(source);
    return {grid.width() * unit.x, grid.height() * unit.y};
}

std::int64_t ExportJob::fileBytes(const PictureSurface& source, OutputFormat format,
                                  const SelectionExtent& extent, PixelSides pixelMillimetres) {
    const FormatEntry& entry = formatEntry(format);
    return entry.fileBytes(sinkSetup(source, {}, entry, pixelMillimetres), extent);
}
