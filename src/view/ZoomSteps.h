#pragma once
// The zoom levels of a picture window: 100 % and steps of a factor of the square root of two below
// it, down to the level that fits the whole picture in the viewport. No level enlarges a picture.

#include <QSizeF>

// The largest zoom (at most 1) at which the picture fits inside the viewport; 1 for an empty picture.
double fitZoom(QSizeF picture, QSizeF viewport);
// The next step above the zoom, at most 1.
double zoomInStep(double zoom);
// The next step below the zoom, at least the fitting zoom.
double zoomOutStep(double zoom, double fit);
