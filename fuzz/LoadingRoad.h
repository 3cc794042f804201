#pragma once
// The roads of quillet-export over bytes held in memory, every promise checked on the way. An input is
// a few bytes of settings, then the command's arguments, then a picture. The arguments are parsed as the
// command parses them; where they ask for an export, its choices replace the settings'. The picture's
// header is read for the resolution it states, and the picture is decoded as LoadPicture decodes a file,
// taken along PictureRoad to grey and half resolution, and exported in every format and kind of shapes
// at the settings' threshold, polarity, source, speck size and pixel size, each file checked against its
// format's size estimate, into a destination that may have a second name (a hard link). Used by the fuzz
// target and by the replay of its corpus and findings.

#include <QByteArray>
#include <QString>

// Pictures above this many pixels are refused by the road's decoding, to keep each run short.
inline constexpr qint64 LoadingRoadLargestPixels = 1 << 18;

// The settings before the arguments, one byte each: the threshold; flags (1 white, 2 the half-resolution
// source, 4 a second name for the destination; 8 and 16 choose no pixel size, a size, or a resolution);
// the speck size; the pixel size in 64ths of a millimetre or the resolution in steps of 3 dpi, less one;
// the destination's old length in steps of 61 bytes; the arguments' length. Then the arguments, each
// ended by a zero byte, and the picture.
inline constexpr int LoadingRoadSettingsBytes = 6;

// Travels the road, writing its files into `folder` (best on a memory file system); an undecodable
// picture ends it with the runtime error the user would see. Aborts when a step breaks a promise (a size,
// a format, a grey pixel, a copied pixel, a record, a parsed option, a file's shapes or estimate, the
// file seen by its other name), so that the fuzzer reports it.
void travelLoadingRoad(const QByteArray& bytes, const QString& folder);
