#pragma once
// Channel sums (red + green + blue) of eight rows by eight columns of a picture, stored column by
// column: the turn from the picture's rows to the export's columns, eight by eight at a time.

#include "runtime/ChannelSum.h"

#include <QRgb>

#include <cstddef>
#include <cstdint>

// Stores at out[c * stride + k] the sum of lines[k][first + c], for k and c from 0 to 7.
void storeChannelSums8x8(const QRgb* const lines[8], int first, std::uint16_t* out, std::size_t stride);
