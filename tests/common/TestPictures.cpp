#include "TestPictures.h"

#include <QtEndian>

ColourValue variedColour(int x, int y) {
    return RGB((40 * x + 13 * y) % 256, (120 + 9 * x + 230 * y) % 256, (200 + 219 * x + 29 * y) % 256);
}

QImage variedImage(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.setPixel(x, y, storedPixel(variedColour(x, y)));
        }
    }
    return picture;
}

PictureSurface surfaceOf(int width, int height, const PixelColours& colour) {
    PictureSurface surface(0, width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            surface.PSet(static_cast<float>(x), static_cast<float>(y), colour(x, y));
        }
    }
    return surface;
}

QByteArray pngChunk(const QByteArray& type, const QByteArray& data) {
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
