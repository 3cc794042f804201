#pragma once
// The grey conversion (ToBlack): every pixel of the opened picture becomes its grey level in the
// target, column by column, with the progress display, the cancel test and a yield per column.

#include "ConversionSteps.h"
#include "runtime/PictureSurface.h"

// Columns 0 to round(ScaleWidth) and rows 0 to round(ScaleHeight) of the source (the reads at the
// last column and row fall outside it and give white, written outside a target of the same size). A
// source of width 0 converts nothing.
void convertToGrey(const PictureSurface& source, PictureSurface& target, ConversionSteps& steps);
