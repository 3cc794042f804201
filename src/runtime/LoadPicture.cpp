#include "LoadPicture.h"

#include "RuntimeError.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

namespace {

RuntimeError pictureError(int number, const QString& path, const QString& reason) {
    return {number, QStringLiteral("Cannot open the picture \"%1\": %2").arg(path, reason)};
}

// An icon file holds several sizes; the largest shows the picture best.
int largestImageIndex(QImageReader& reader) {
    if (reader.format() != "ico" || reader.imageCount() <= 1) {
        return -1;
    }
    int best = -1;
    qint64 bestArea = -1;
    for (int index = 0; index < reader.imageCount(); ++index) {
        if (!reader.jumpToImage(index)) {
            continue;
        }
        const QSize size = reader.size();
        const qint64 area = qint64{size.width()} * size.height();
        if (area > bestArea) {
            bestArea = area;
            best = index;
        }
    }
    return best;
}

// Transparent parts are shown as they would be on white paper.
QImage flattenedOnWhite(const QImage& picture) {
    if (!picture.hasAlphaChannel()) {
        return picture.convertToFormat(QImage::Format_RGB32);
    }
    QImage flat(picture.size(), QImage::Format_RGB32);
    if (flat.isNull()) {
        return flat;
    }
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, picture);
    return flat;
}

} // namespace

QImage LoadPicture(const QString& path) {
    if (path.isEmpty()) {
        return QImage();
    }
    const QFileInfo info(path);
    if (!info.exists()) {
        throw pictureError(ErrorNumber::FileNotFound, path, QStringLiteral("the file does not exist"));
    }
    if (info.isDir()) {
        throw pictureError(ErrorNumber::PathFileAccessError, path, QStringLiteral("it is a folder"));
    }

    QImageReader reader(path);
    reader.setAutoTransform(true);
    reader.setDecideFormatFromContent(true);
    // The reader's own limit is in megabytes of decoded image; ours is checked below by pixel count.
    QImageReader::setAllocationLimit(static_cast<int>(LargestPicturePixels * 8 / (1024 * 1024)) + 1);
    if (!reader.canRead()) {
        throw pictureError(ErrorNumber::InvalidPicture, path,
                           QStringLiteral("not a picture in a known format (%1)").arg(reader.errorString()));
    }
    const int index = largestImageIndex(reader);
    if (index >= 0) {
        reader.jumpToImage(index);
    }
    const QSize size = reader.size();
    if (size.isValid() && qint64{size.width()} * size.height() > LargestPicturePixels) {
        throw pictureError(
            ErrorNumber::OutOfMemory, path,
            QStringLiteral("the picture is too large (%1 x %2 pixels; at most %3 million pixels)")
                .arg(size.width())
                .arg(size.height())
                .arg(LargestPicturePixels / 1'000'000));
    }
    QImage picture;
    if (!reader.read(&picture) || picture.isNull()) {
        throw pictureError(ErrorNumber::InvalidPicture, path,
                           QStringLiteral("the picture cannot be decoded (%1)").arg(reader.errorString()));
    }
    if (qint64{picture.width()} * picture.height() > LargestPicturePixels) {
        throw pictureError(ErrorNumber::OutOfMemory, path, QStringLiteral("the picture is too large"));
    }
    QImage flat = flattenedOnWhite(picture);
    if (flat.isNull()) {
        throw pictureError(ErrorNumber::OutOfMemory, path,
                           QStringLiteral("not enough memory for the picture"));
    }
    return flat;
}
