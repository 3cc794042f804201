#pragma once
// The half-resolution picture's user scale: each unit of its surface spans 2 x 2 of its pixels, the
// opened picture's size in units halved.

#include "PictureSurface.h"

inline void setHalfResolutionScale(PictureSurface& half, const PictureSurface& opened) {
    half.setScaleHeight(opened.ScaleHeight() / 2.0f);
    half.setScaleWidth(opened.ScaleWidth() / 2.0f);
}
