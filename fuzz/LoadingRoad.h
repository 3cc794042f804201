#pragma once
// The picture road over bytes held in memory, every promise checked on the way: decoded as LoadPicture
// decodes a file, then along PictureRoad to grey and half resolution, and both exported as point data and
// in the drawing formats. Used by the fuzz target and by the replay of its corpus and findings.

#include <QByteArray>
#include <QString>

// Pictures above this many pixels are refused by the road's decoding, to keep each run short.
inline constexpr qint64 LoadingRoadLargestPixels = 1 << 18;

// Travels the road, writing the point data to recordsPath (best on a memory file system); an
// undecodable picture ends it with the runtime error the user would see. Aborts when a decoded
// picture breaks a promise of the road (a size, a format, a grey pixel, a copied pixel, a record),
// so that the fuzzer reports it.
void travelLoadingRoad(const QByteArray& bytes, const QString& recordsPath);
