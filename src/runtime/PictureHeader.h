#pragma once
// What the header of a png, gif, bmp, jpg or ico file declares about its picture, read before any
// decoder sees the file, so that a picture too large to hold is refused before memory is taken
// for it and a bmp file too short for its pixels is refused before its rows are allocated.

#include <QIODevice>

#include <optional>

struct PictureHeader {
    qint64 width = 0;
    qint64 height = 0;
    // The least size of a file holding all the pixels, where the header fixes it (0 otherwise).
    qint64 leastFileSize = 0;
};

// Reads from the start of data and puts the position back. Empty for other types and when the
// header is not there to read. An icon's sizes are at most 256 x 256; its directory tells where its
// images end.
std::optional<PictureHeader> readPictureHeader(QIODevice& data);
