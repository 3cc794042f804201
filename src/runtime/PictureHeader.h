#pragma once
// What the header of a png, gif, bmp, jpg or ico file declares about its picture, read before any
// decoder sees the file: its size, so that a picture too large to hold is refused before memory is
// taken for it; the least length of a file holding all its pixels, so that a bmp file too short for its
// rows is refused before they are allocated; and the resolution it states, which Qt's own reading
// cannot tell from its default.

#include <QIODevice>

#include "DotsPerInch.h"

#include <optional>

struct PictureHeader {
    qint64 width = 0;
    qint64 height = 0;
    // The least size of a file holding all the pixels, where the header fixes it (0 otherwise).
    qint64 leastFileSize = 0;
    // A png's pHYs chunk before the pixels in pixels per metre, a jpg's JFIF density per inch or per
    // centimetre, a bmp's pixels per metre. Empty where the file states none, a density of zero or less
    // along either side, or a JFIF aspect ratio only.
    std::optional<DotsPerInch> statedDotsPerInch{};
};

// The resolution of a whole count of pixels per metre: the dots per inch with the fewest decimals whose
// pixels per metre round (half up) to it, among equally short ones the nearest to the exact value, then
// the larger; 11811 gives 300, 3937 gives 100. Empty for 0 or less, and beyond the 32 bits a file holds.
std::optional<double> dotsPerInchOfPixelsPerMetre(qint64 pixelsPerMetre);

// Reads from the start of data and puts the position back. Empty for other types and when the
// header is not there to read. An icon's sizes are at most 256 x 256; its directory tells where its
// images end.
std::optional<PictureHeader> readPictureHeader(QIODevice& data);
