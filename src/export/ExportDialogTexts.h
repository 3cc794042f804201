#pragma once
// What the export dialog writes in its captions and fields, and reads back from them: plain text rules
// without widgets.

#include "export/OutputFormat.h"
#include "export/PixelSize.h"
#include "export/ShapeChoice.h"
#include "runtime/DotsPerInch.h"

#include <QLocale>
#include <QSizeF>
#include <QString>

#include <cstdint>
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
// The minimum area typed in pixels, or empty when it is no whole number from 0 to LargestDialogMinimumArea.
std::optional<std::int64_t> minimumAreaTyped(const QString& area, const QLocale& locale);
// "图形 W × H mm", one decimal.
QString drawingSizeText(QSizeF millimetres);
// The count line: "将写入 N 个点，S 个图形，文件约 X MB" for a drawing (without the shapes for the other
// formats), followed by "（松开后去除小斑点）" while the small shapes wait for the thumb's release.
QString countLineText(std::int64_t points, std::optional<std::int64_t> shapes, std::int64_t bytes,
                      bool removalWaits);
// The file name with the format's ending in place of its own.
QString fileNameOfType(const QString& name, OutputFormat format);

inline const QString ThresholdFrameCaption = QStringLiteral("指定图像的黑白分界线");

// The shapes the dialog offers for a drawing, in the order of its choice; the first is chosen at the start.
struct ShapeCaption {
    ShapeKind kind;
    const char* caption; // UTF-8
};
inline constexpr ShapeCaption DialogShapes[] = {
    {ShapeKind::Outlines, "轮廓"},
    {ShapeKind::Squares, "方块"},
    {ShapeKind::Smooth, "平滑轮廓"},
};
