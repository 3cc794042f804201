#pragma once
// LoadPicture: decodes a picture file through Qt's image readers. An empty path gives an empty
// picture; a file that cannot be decoded raises a runtime error naming the file and the reason.

#include <QImage>
#include <QString>

// Pictures above this many pixels are refused before any pixel memory is taken.
constexpr qint64 LargestPicturePixels = 150'000'000;

QImage LoadPicture(const QString& path);
