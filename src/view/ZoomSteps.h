#pragma once
// The zoom levels of a picture window: 100 % and steps of a factor of the square root of two below it,
// down to the level that fits the whole picture in the viewport; above it whole factors up to 800 %, so
// that every picture pixel shows as a square of whole screen pixels. Fitting never enlarges a picture.

#include <QSizeF>

inline constexpr double LargestZoom = 8.0;

// The largest zoom (at most 1) at which the picture fits inside the viewport; 1 for an empty picture.
double fitZoom(QSizeF picture, QSizeF viewport);
// The next step above the zoom, at most LargestZoom.
double zoomInStep(double zoom);
// The next step below the zoom, at least the fitting zoom.
double zoomOutStep(double zoom, double fit);
