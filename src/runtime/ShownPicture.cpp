#include "ShownPicture.h"

#include <QPainter>

#include <cmath>

namespace {

// One pixel per unit: the unit's first (top-left) pixel.
QImage unitPixels(const QImage& surface, int block) {
    QImage units((surface.width() + block - 1) / block, (surface.height() + block - 1) / block,
                 QImage::Format_RGB32);
    for (int y = 0; y < units.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(surface.constScanLine(y * block));
        auto* to = reinterpret_cast<QRgb*>(units.scanLine(y));
        for (int x = 0; x < units.width(); ++x) {
            to[x] = from[x * block];
        }
    }
    return units;
}

// The exposed part at full size with every pixel taking its unit's first pixel.
QImage blocksOf(const QImage& surface, const QRect& area, int block) {
    QImage blocks(area.size(), QImage::Format_RGB32);
    for (int y = 0; y < area.height(); ++y) {
        const int sourceY = (area.top() + y) / block * block;
        const auto* from = reinterpret_cast<const QRgb*>(surface.constScanLine(sourceY));
        auto* to = reinterpret_cast<QRgb*>(blocks.scanLine(y));
        for (int x = 0; x < area.width(); ++x) {
            to[x] = from[(area.left() + x) / block * block];
        }
    }
    return blocks;
}

} // namespace

void ShownPicture::setZoom(double zoom) {
    if (zoom != zoom_) {
        zoom_ = zoom;
        reduced_ = QImage();
    }
}

void ShownPicture::setUnitBlock(int pixels) {
    if (pixels != unitBlock_) {
        unitBlock_ = pixels;
        reduced_ = QImage();
    }
}

int ShownPicture::shownLength(int storedLength) const {
    return zoom_ == 1.0 ? storedLength : static_cast<int>(std::lround(storedLength * zoom_));
}

const QImage& ShownPicture::reducedCopy(const QImage& surface) {
    if (reduced_.isNull() || reducedFrom_ != surface.cacheKey()) {
        const QImage& source = unitBlock_ == 1 ? surface : unitPixels(surface, unitBlock_);
        reduced_ = source.scaled(std::max(1, shownLength(surface.width())),
                                 std::max(1, shownLength(surface.height())), Qt::IgnoreAspectRatio,
                                 Qt::SmoothTransformation);
        reducedFrom_ = surface.cacheKey();
    }
    return reduced_;
}

void ShownPicture::paint(QPainter& painter, QPoint corner, const QImage& surface, const QRect& area) {
    if (surface.isNull()) {
        return;
    }
    if (zoom_ == 1.0) {
        const QRect part = area.intersected(surface.rect());
        if (part.isEmpty()) {
            return;
        }
        if (unitBlock_ == 1) {
            painter.drawImage(part.topLeft() + corner, surface, part);
        } else {
            painter.drawImage(part.topLeft() + corner, blocksOf(surface, part, unitBlock_));
        }
        return;
    }
    const QImage& reduced = reducedCopy(surface);
    const QRect part = area.intersected(reduced.rect());
    if (!part.isEmpty()) {
        painter.drawImage(part.topLeft() + corner, reduced, part);
    }
}
