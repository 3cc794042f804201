#pragma once
// Point files as the exporter should write them, worked out by tests from the pixels alone.

#include <QByteArray>
#include <QImage>

#include <array>
#include <initializer_list>

// Records of 24 bytes: x, y and value as little-endian 32-bit integers, then zero filler.
QByteArray pointRecords(std::initializer_list<std::array<int, 3>> records);

// Header (the picture's size), then for the picture laid on white, units 1..W x 1..H column by column: grey
// (r + g + b + 1) div 3, at half resolution unit (u, v) is pixel (2u, 2v) and W, H half the size rounded
// ties-to-even, reads outside the picture white, the level compared strictly with the threshold.
QByteArray expectedPointFile(const QImage& decoded, bool half, bool white, int threshold);
