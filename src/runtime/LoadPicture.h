#pragma once
// LoadPicture: decodes a picture file through Qt's image readers. An empty path gives an empty
// picture; a file that cannot be decoded raises a runtime error naming the file and the reason.

#include <QByteArray>
#include <QImage>
#include <QString>

// Pictures above this many pixels are refused before any pixel memory is taken.
constexpr qint64 LargestPicturePixels = 150'000'000;

QImage LoadPicture(const QString& path);

// The decoding behind LoadPicture, over bytes held in memory: a jpg, gif, bmp, png or ico picture
// (the first frame of an animation, the largest size of an icon), transparent parts on white, as
// Format_RGB32. Errors name the picture by nameForMessages. largestPixels lowers the size limit
// (the fuzz target keeps its runs small with it).
QImage decodePicture(const QByteArray& bytes, const QString& nameForMessages,
                     qint64 largestPixels = LargestPicturePixels);
