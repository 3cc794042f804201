#pragma once
// Pictures made by tests: colours that differ from pixel to pixel and around the middle grey, so that
// a pixel taken from a neighbour, a lost row or column, or a threshold off by one shows.

#include "runtime/PictureSurface.h"

#include <QImage>

#include <functional>

using PixelColours = std::function<ColourValue(int, int)>;

// The colour of pixel (x, y) in the varied pictures.
ColourValue variedColour(int x, int y);
// A 32-bit picture of the varied colours.
QImage variedImage(int width, int height);
// A surface holding colour(x, y) at pixel (x, y); the varied colours when none is given.
PictureSurface surfaceOf(int width, int height, const PixelColours& colour = variedColour);
// A png chunk: its length, type, data and checksum.
QByteArray pngChunk(const QByteArray& type, const QByteArray& data);
