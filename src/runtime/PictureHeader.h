#pragma once
// What the header of a png, gif, bmp, jpg or ico file declares about its picture, read before any
// decoder sees the file: its size, so that a picture too large to hold is refused before memory is
// taken for it; the least length of a file holding all its pixels, so that a bmp file too short for its
// rows is refused before they are allocated; and the resolution it states, which Qt's own reading
// cannot tell from its default.

#include <QIODevice>

#include <optional>

struct PictureHeader {
    qint64 width = 0;
    qint64 height = 0;
    // The least size of a file holding all the pixels, where the header fixes it (0 otherwise).
    qint64 leastFileSize = 0;
    // Dots per inch along x (where x and y differ, the horizontal one): a png's pHYs chunk before the
    // pixels in pixels per metre, a jpg's JFIF density per inch or per centimetre, a bmp's pixels per
    // metre. Empty where the file states none, a density of zero or a JFIF aspect ratio only among them.
    std::optional<double> statedDotsPerInch{};
};

// Reads from the start of data and puts the position back. Empty for other types and when the
// header is not there to read. An icon's sizes are at most 256 x 256; its directory tells where its
// images end.
std::optional<PictureHeader> readPictureHeader(QIODevice& data);
