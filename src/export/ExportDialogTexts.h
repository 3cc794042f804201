#pragma once
// What the export dialog writes in its captions and fields, and reads back from them: plain text rules
// without widgets.

#include "export/OutputFormat.h"
#include "export/PixelSize.h"
#include "runtime/DotsPerInch.h"

#include <QSizeF>
#include <QString>

#include <optional>

// Frame1's caption for a threshold: "指定图像的黑白分界线--RGB(v,v,v)".
QString thresholdCaption(int threshold);
// The resolution field's first text: the stated horizontal resolution, else 96, as the shortest decimal
// that reads back as the same number.
QString resolutionText(std::optional<DotsPerInch> statedDotsPerInch);
// The line beside the field: "文件: 300 × 150 dpi" where the file states two resolutions, a note where
// what it states counts as none, else nothing.
QString statedResolutionNote(std::optional<DotsPerInch> statedDotsPerInch);
// The pixel's sides for a typed resolution: the stated ones while it is the stated horizontal one, else a
// square; empty when it is no number from 0.0000254 to 25400000.
std::optional<PixelSides> pixelMillimetresTyped(const QString& resolution,
                                                std::optional<DotsPerInch> statedDotsPerInch);
// "图形 W × H mm", one decimal.
QString drawingSizeText(QSizeF millimetres);
// The file name with the format's ending in place of its own.
QString fileNameOfType(const QString& name, OutputFormat format);

inline const QString ThresholdFrameCaption = QStringLiteral("指定图像的黑白分界线");
