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

std::optional<std::int64_t> minimumAreaTyped(const QString& area, const QLocale& locale) {
    bool number = false;
    const qlonglong pixels = locale.toLongLong(area.trimmed(), &number);
    if (!number || pixels < 0 || pixels > LargestDialogMinimumArea) {
        return std::nullopt;
    }
    return pixels;
}

QString drawingSizeText(QSizeF millimetres) {
    return QStringLiteral("图形 %1 × %2 mm")
        .arg(millimetres.width(), 0, 'f', 1)
        .arg(millimetres.height(), 0, 'f', 1);
}

QString countLineText(std::int64_t points, std::optional<std::int64_t> shapes, std::int64_t bytes,
                      bool removalWaits) {
    QString line = QStringLiteral("将写入 %1 个点，").arg(points);
    if (shapes) {
        line += QStringLiteral("%1 个图形，").arg(*shapes);
    }
    line += QStringLiteral("文件约 %1 MB").arg(static_cast<double>(bytes) / (1024.0 * 1024.0), 0, 'f', 1);
    return removalWaits ? line + QStringLiteral("（松开后去除小斑点）") : line;
}

QString fileNameOfType(const QString& name, OutputFormat format) {
    const QString suffix = QFileInfo(name).suffix();
    const QString stem = suffix.isEmpty() ? name : name.left(name.size() - suffix.size() - 1);
    return stem + QLatin1String(formatEntry(format).suffix);
}
