#include "ExportDialogTexts.h"

#include "PixelSize.h"
#include "runtime/Numbers.h"

#include <QFileInfo>
#include <QLocale>

#include <cmath>

QString thresholdCaption(int threshold) {
    const QString v = decimalText(threshold);
    return ThresholdFrameCaption + QStringLiteral("--RGB(") + v + QLatin1Char(',') + v + QLatin1Char(',') +
           v + QLatin1Char(')');
}

QString resolutionText(std::optional<double> statedDotsPerInch) {
    return QString::number(dotsPerInchOrDefault(statedDotsPerInch), 'g', QLocale::FloatingPointShortest);
}

std::optional<double> pixelMillimetresTyped(const QString& resolution) {
    bool number = false;
    const double dotsPerInch = QLocale::c().toDouble(resolution.trimmed(), &number);
    if (!number || !(dotsPerInch > 0) || !std::isfinite(dotsPerInch)) {
        return std::nullopt;
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
