#pragma once
// Pictures made by tests: colours that differ from pixel to pixel and around the middle grey, so that
// a pixel taken from a neighbour, a lost row or column, or a threshold off by one shows.

#include "runtime/PictureSurface.h"

#include <QBuffer>
#include <QImage>
#include <QtEndian>

#include <functional>

using PixelColours = std::function<ColourValue(int, int)>;

// The colour of pixel (x, y) in the varied pictures.
inline ColourValue variedColour(int x, int y) {
    return RGB((40 * x + 13 * y) % 256, (120 + 9 * x + 230 * y) % 256, (200 + 219 * x + 29 * y) % 256);
}

// A 32-bit picture of the varied colours.
inline QImage variedImage(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.setPixel(x, y, storedPixel(variedColour(x, y)));
        }
    }
    return picture;
}

// The bytes of a file of this type holding the picture.
inline QByteArray encodedPicture(const QImage& picture, const char* format) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, format);
    return buffer.data();
}

// A surface holding colour(x, y) at pixel (x, y); the varied colours when none is given.
inline PictureSurface surfaceOf(int width, int height, const PixelColours& colour = variedColour) {
    PictureSurface surface(0, width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            surface.PSet(static_cast<float>(x), static_cast<float>(y), colour(x, y));
        }
    }
    return surface;
}

// A png chunk: its length, type, data and checksum.
inline QByteArray pngChunk(const QByteArray& type, const QByteArray& data) {
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : type + data) {
        crc ^= static_cast<uchar>(byte);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    QByteArray chunk(4, '\0');
    qToBigEndian(static_cast<quint32>(data.size()), chunk.data());
    chunk += type + data + QByteArray(4, '\0');
    qToBigEndian(~crc, chunk.data() + chunk.size() - 4);
    return chunk;
}
