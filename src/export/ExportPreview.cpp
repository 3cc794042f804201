#include "ExportPreview.h"

#include "ExportJob.h"
#include "SelectionMarks.h"
#include "ThresholdHistogram.h"
#include "state/PictureDocument.h"

#include <QLabel>

ExportPreview::ExportPreview(const PictureDocument& document, ExportSources& sources, QLabel& countLine,
                             ThresholdHistogram& histogram, std::function<Choices()> choices, QObject* parent)
    : QObject(parent), document_(document), sources_(sources), countLine_(countLine), histogram_(histogram),
      choices_(std::move(choices)) {
    connect(&document, &PictureDocument::opened, this, &ExportPreview::show);
    connect(&document, &PictureDocument::resultChanged, this, &ExportPreview::show);
}

void ExportPreview::show() {
    const Choices chosen = choices_();
    const PictureSurface* const source = document_.result(chosen.source);
    if (!source || !document_.finished(chosen.source)) {
        countLine_.setText(NotConvertedText);
        histogram_.clear();
        sources_.clearSelection();
        return;
    }
    const FormatEntry& format = formatEntry(chosen.format);
    const SelectionExtent extent =
        counts_.extent(*source, chosen.source, format, chosen.polarity, chosen.threshold);
    const std::int64_t bytes = ExportJob::fileBytes(*source, format.format, extent, chosen.pixelMillimetres);
    countLine_.setText(QStringLiteral("将写入 %1 个点，文件约 %2 MB")
                           .arg(extent.points)
                           .arg(static_cast<double>(bytes) / (1024.0 * 1024.0), 0, 'f', 1));
    histogram_.setCounts(counts_.of(*source, chosen.source).pixelsFromZero.sumCounts());
    histogram_.setSelection(chosen.polarity, chosen.threshold);
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

void ExportPreview::clear() {
    sources_.clearSelection();
}
