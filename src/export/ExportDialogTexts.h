#pragma once
// What the export dialog writes in its captions and fields, and reads back from them: plain text rules
// without widgets.

#include "export/OutputFormat.h"

#include <QSizeF>
#include <QString>

#include <optional>

// Frame1's caption for a threshold: "指定图像的黑白分界线--RGB(v,v,v)".
QString thresholdCaption(int threshold);
// The resolution field's first text: the stated resolution, else 96, as the shortest decimal that reads
// back as the same number.
QString resolutionText(std::optional<double> statedDotsPerInch);
// The pixel's side in millimetres for a typed resolution, or empty when it is not a positive number.
std::optional<double> pixelMillimetresTyped(const QString& resolution);
// "图形 W × H mm", one decimal.
QString drawingSizeText(QSizeF millimetres);
// The file name with the format's ending in place of its own.
QString fileNameOfType(const QString& name, OutputFormat format);

inline const QString ThresholdFrameCaption = QStringLiteral("指定图像的黑白分界线");
