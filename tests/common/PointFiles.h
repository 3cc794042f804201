#pragma once
// Point files as the exporter should write them, worked out by tests from the pixels alone.

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QtEndian>

#include <array>
#include <cmath>
#include <initializer_list>

// Records of 24 bytes: x, y and value as little-endian 32-bit integers, then zero filler.
inline QByteArray pointRecords(std::initializer_list<std::array<int, 3>> records) {
    QByteArray bytes(24 * qsizetype(records.size()), '\0');
    char* field = bytes.data();
    for (const auto& record : records) {
        for (const int value : record) {
            qToLittleEndian<qint32>(value, field);
            field += 4;
        }
        field += 12;
    }
    return bytes;
}

// Header (the picture's size), then for the picture laid on white, units 1..W x 1..H column by column: grey
// (r + g + b + 1) div 3, at half resolution unit (u, v) is pixel (2u, 2v) and W, H half the size rounded
// ties-to-even, reads outside the picture white, the level compared strictly with the threshold.
inline QByteArray expectedPointFile(const QImage& decoded, bool half, bool white, int threshold) {
    QImage picture(decoded.size(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter(&picture).drawImage(0, 0, decoded);
    const int step = half ? 2 : 1;
    QByteArray file = pointRecords({{picture.width(), picture.height(), 0}});
    for (int x = 1; x <= std::nearbyint(picture.width() / double(step)); ++x) {
        for (int y = 1; y <= std::nearbyint(picture.height() / double(step)); ++y) {
            int level = 255;
            if (picture.valid(step * x, step * y)) {
                const QRgb pixel = picture.pixel(step * x, step * y);
                level = (qRed(pixel) + qGreen(pixel) + qBlue(pixel) + 1) / 3;
            }
            if (white ? level > threshold : level < threshold) {
                file += pointRecords({{x, y, level}});
            }
        }
    }
    return file;
}
