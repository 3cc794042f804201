#include "ExportPreview.h"

#include "ExportDialogTexts.h"
#include "ExportJob.h"
#include "PixelSize.h"
#include "SelectionMarks.h"
#include "ThresholdHistogram.h"
#include "state/PictureDocument.h"

#include <QLabel>

ExportPreview::ExportPreview(const PictureDocument& document, ExportSources& sources, const Display& display,
                             std::function<Choices()> choices, QObject* parent)
    : QObject(parent), document_(document), sources_(sources), display_(display),
      choices_(std::move(choices)) {
    connect(&document, &PictureDocument::opened, this, &ExportPreview::show);
    connect(&document, &PictureDocument::resultChanged, this, &ExportPreview::show);
}

void ExportPreview::show() {
    const Choices chosen = choices_();
    showDrawingSize(chosen);
    const PictureSurface* const source = document_.result(chosen.source);
    if (!source || !document_.finished(chosen.source)) {
        display_.countLine.setText(NotConvertedText);
        display_.histogram.clear();
        sources_.clearSelection();
        return;
    }
    showCounts(*source, chosen);
    display_.histogram.setCounts(counts_.of(*source, chosen.source).pixelsFromZero.sumCounts());
    display_.histogram.setSelection(chosen.polarity, chosen.threshold);
}

void ExportPreview::showCounts(const PictureSurface& source, const Choices& chosen) {
    const FormatEntry& format = formatEntry(chosen.format);
    const PixelSides pixelSide = chosen.pixelMillimetres.value_or(pixelMillimetres({}));
    std::optional<SumHighlight> marks = selectionMarks(chosen.polarity, chosen.threshold);
    if (countsNeedAPass(format, chosen.shapes) && !chosen.thumbDragged) {
        const WrittenCounts& exact = written(source, chosen, pixelSide);
        display_.countLine.setText(countLineText(exact.points, exact.shapes, exact.bytes, false));
        if (marks) {
            marks->leftOut = exact.leftOut;
        }
    } else {
        // The histograms' counts: exact for the points a format writes whole; a drawing's shapes only
        // a pass can count, so they wait for the release.
        const SelectionExtent extent =
            counts_.extent(source, chosen.source, format, chosen.polarity, chosen.threshold);
        const bool removalWaits = format.filtersSpecks && chosen.shapes.minimumArea > 1;
        display_.countLine.setText(
            countLineText(extent.points, std::nullopt,
                          ExportJob::fileBytes(source, format.format, extent, pixelSide), removalWaits));
    }
    if (marks) {
        sources_.showSelection(chosen.source, *marks);
    } else {
        sources_.clearSelection();
    }
}

const WrittenCounts& ExportPreview::written(const PictureSurface& source, const Choices& chosen,
                                            PixelSides pixelMillimetres) {
    const qint64 pixelsKey = source.image().cacheKey();
    const bool same = written_ && written_->surface == &source && written_->pixelsKey == pixelsKey &&
                      written_->format == chosen.format && written_->shapes.kind == chosen.shapes.kind &&
                      written_->shapes.minimumArea == chosen.shapes.minimumArea &&
                      written_->polarity == chosen.polarity && written_->threshold == chosen.threshold &&
                      written_->pixelMillimetres == pixelMillimetres;
    if (!same) {
        written_ = Written{&source,
                           pixelsKey,
                           chosen.format,
                           chosen.shapes,
                           chosen.polarity,
                           chosen.threshold,
                           pixelMillimetres,
                           countWritten(source, formatEntry(chosen.format), chosen.shapes, chosen.polarity,
                                        chosen.threshold, pixelMillimetres)};
    }
    return written_->counts;
}

std::optional<int> ExportPreview::automaticThreshold() {
    const ConversionResult chosen = choices_().source;
    const PictureSurface* const source = document_.result(chosen);
    if (!source || !document_.finished(chosen)) {
        return std::nullopt;
    }
    return otsuThreshold(counts_.of(*source, chosen).pixelsFromZero.sumCounts());
}

void ExportPreview::showDrawingSize(const Choices& chosen) {
    const PictureSurface* const source = document_.result(chosen.source);
    if (!source || !chosen.pixelMillimetres || !formatEntry(chosen.format).drawing) {
        display_.drawingSize.clear();
        return;
    }
    display_.drawingSize.setText(
        drawingSizeText(ExportJob::drawingMillimetres(*source, *chosen.pixelMillimetres)));
}

void ExportPreview::clear() {
    sources_.clearSelection();
}
