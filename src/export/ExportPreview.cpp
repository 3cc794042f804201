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
    const FormatEntry& format = formatEntry(chosen.format);
    const SelectionExtent extent =
        counts_.extent(*source, chosen.source, format, chosen.polarity, chosen.threshold);
    const std::int64_t bytes = ExportJob::fileBytes(*source, format.format, extent,
                                                    chosen.pixelMillimetres.value_or(pixelMillimetres({})));
    display_.countLine.setText(QStringLiteral("将写入 %1 个点，文件约 %2 MB")
                                   .arg(extent.points)
                                   .arg(static_cast<double>(bytes) / (1024.0 * 1024.0), 0, 'f', 1));
    display_.histogram.setCounts(counts_.of(*source, chosen.source).pixelsFromZero.sumCounts());
    display_.histogram.setSelection(chosen.polarity, chosen.threshold);
    if (const std::optional<SumHighlight> marks = selectionMarks(chosen.polarity, chosen.threshold)) {
        sources_.showSelection(chosen.source, *marks);
    } else {
        sources_.clearSelection();
    }
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
