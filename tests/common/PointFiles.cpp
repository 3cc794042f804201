#include "PointFiles.h"

#include <QPainter>
#include <QtEndian>

#include <cmath>

QByteArray pointRecords(std::initializer_list<std::array<int, 3>> records) {
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

QByteArray expectedPointFile(const QImage& decoded, bool half, bool white, int threshold) {
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
