#pragma once
// The half-resolution reduction (ToScale): every second pixel of every second row of the grey
// picture is copied into the target's half-size user scale, with the per-column progress display,
// cancel test and yield of the grey conversion.

#include "ConversionSteps.h"
#include "runtime/PictureSurface.h"

// Columns x = 0, 2, ... up to round(ScaleWidth - 1) and rows y = 0, 2, ... up to round(ScaleHeight -
// 1) of the source; pixel (x, y) goes to the target's unit (x / 2, y / 2). The progress is measured
// against the reference's width (0 shows 0 % and an empty bar).
void reduceToHalf(const PictureSurface& source, const PictureSurface& reference, PictureSurface& target,
                  ConversionSteps& steps);
