#include "ExportDialogTexts.h"

#include "PixelSize.h"
#include "runtime/Numbers.h"

#include <QFileInfo>
#include <QLocale>

QString thresholdCaption(int threshold) {
    const QString v = decimalText(threshold);
    return ThresholdFrameCaption + QStringLiteral("--RGB(") + v + QLatin1Char(',') + v + QLatin1Char(',') +
           v + QLatin1Char(')');
}

QString resolutionText(std::optional<DotsPerInch> statedDotsPerInch) {
    return QString::number(dotsPerInchOrDefault(statedDotsPerInch), 'g', QLocale::FloatingPointShortest);
}

QString statedResolutionNote(std::optional<DotsPerInch> statedDotsPerInch) {
    if (statedResolutionRefused(statedDotsPerInch)) {
        return QStringLiteral("文件: %1 dpi 超出范围").arg(dotsPerInchText(*statedDotsPerInch));
    }
    if (statedDotsPerInch && statedDotsPerInch->x != statedDotsPerInch->y) {
        return QStringLiteral("文件: %1 dpi").arg(dotsPerInchText(*statedDotsPerInch));
    }
    return {};
}

std::optional<PixelSides> pixelMillimetresTyped(const QString& resolution,
                                                std::optional<DotsPerInch> statedDotsPerInch) {
    bool number = false;
    const double dotsPerInch = QLocale::c().toDouble(resolution.trimmed(), &number);
    if (!number || !isDrawableResolution(dotsPerInch)) {
        return std::nullopt;
    }
    const std::optional<DotsPerInch> stated = drawableResolution(statedDotsPerInch);
    // The field as it came keeps both the file's sides; a typed resolution sets both.
    if (stated && dotsPerInch == stated->x) {
        return pixelMillimetres({std::nullopt, std::nullopt, stated});
    }
    return pixelMillimetres({std::nullopt, dotsPerInch, std::nullopt});
}

QString drawingSizeText(QSizeF millimetres) {
    return QStringLiteral("图形 %1 × %2 mm")
        .arg(millimetres.width(), 0, 'f', 1)
        .arg(millimetres.height(), 0, 'f', 1);
}

QString fileNameOfType(const QString& name, OutputFormat format) {
    const QString suffix = QFileInfo(name).suffix();
    const QString stem = suffix.isEmpty() ? name : name.left(name.size() - suffix.size() - 1);
    return stem + QLatin1String(formatEntry(format).suffix);
}
