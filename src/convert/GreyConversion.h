#pragma once
// The grey conversion (ToBlack): every pixel of the opened picture becomes its grey level in the
// target, column by column, with the progress display, the cancel test and a yield per column.

#include "ConversionSteps.h"
#include "runtime/PictureSurface.h"

#include <QStringView>

inline constexpr QStringView ToBlackCaptionPrefix = u"转换成原分辨率黑白图片……已经完成:";

// Columns 0 to round(ScaleWidth) and rows 0 to round(ScaleHeight) of the source (the reads at the
// last column and row fall outside it and give white, written outside a target of the same size);
// then closes the dialog and clears the cancel flag. A source of width 0 converts nothing and goes
// straight to the closing steps.
void convertToGrey(const PictureSurface& source, PictureSurface& target, ConversionSteps& steps);
