#include "PictureSurface.h"

#include <QPainter>

#include <cmath>

namespace {

QImage blankImage(int width, int height, ColourValue background) {
    if (width <= 0 || height <= 0) {
        return QImage();
    }
    QImage image(width, height, QImage::Format_RGB32);
    if (!image.isNull()) {
        image.fill(storedPixel(background));
    }
    return image;
}

int toDevice(double position, int pixels, const std::optional<float>& units) {
    const double scaled = units ? position * pixels / static_cast<double>(*units) : position;
    if (!std::isfinite(scaled) || scaled < -1.0 || scaled >= pixels + 1.0) {
        return -1;
    }
    return static_cast<int>(std::floor(scaled));
}

} // namespace

PictureSurface::PictureSurface(ColourValue background, int width, int height)
    : background_(background), image_(blankImage(width, height, background)) {}

void PictureSurface::resize(int width, int height) {
    if (width == pixelWidth() && height == pixelHeight()) {
        return;
    }
    QImage resized = blankImage(width, height, background_);
    if (!resized.isNull() && !image_.isNull()) {
        QPainter painter(&resized);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, image_);
    }
    image_ = resized;
}

void PictureSurface::assign(const QImage& picture) {
    if (picture.isNull()) {
        image_ = QImage();
        return;
    }
    image_ =
        picture.format() == QImage::Format_RGB32 ? picture : picture.convertToFormat(QImage::Format_RGB32);
}

void PictureSurface::clear() {
    if (!image_.isNull()) {
        image_.fill(storedPixel(background_));
    }
}

float PictureSurface::ScaleWidth() const {
    return scaleWidth_ ? *scaleWidth_ : static_cast<float>(pixelWidth());
}

float PictureSurface::ScaleHeight() const {
    return scaleHeight_ ? *scaleHeight_ : static_cast<float>(pixelHeight());
}

void PictureSurface::setScaleWidth(float units) {
    scaleWidth_ = units;
}

void PictureSurface::setScaleHeight(float units) {
    scaleHeight_ = units;
}

int PictureSurface::deviceX(double x) const {
    return toDevice(x, pixelWidth(), scaleWidth_);
}

int PictureSurface::deviceY(double y) const {
    return toDevice(y, pixelHeight(), scaleHeight_);
}

ColourValue PictureSurface::Point(float x, float y) const {
    const int column = deviceX(x);
    const int row = deviceY(y);
    if (column < 0 || row < 0 || column >= pixelWidth() || row >= pixelHeight()) {
        return NoPixel;
    }
    return colourOfStoredPixel(reinterpret_cast<const QRgb*>(image_.constScanLine(row))[column]);
}

void PictureSurface::PSet(float x, float y, ColourValue colour) {
    const int column = deviceX(x);
    const int row = deviceY(y);
    if (column < 0 || row < 0 || column >= pixelWidth() || row >= pixelHeight()) {
        return;
    }
    reinterpret_cast<QRgb*>(image_.scanLine(row))[column] = storedPixel(colour);
}

void PictureSurface::Line(float x1, float y1, float x2, float y2, ColourValue colour, int drawWidth) {
    if (image_.isNull()) {
        return;
    }
    const double unitX = scaleWidth_ ? pixelWidth() / static_cast<double>(*scaleWidth_) : 1.0;
    const double unitY = scaleHeight_ ? pixelHeight() / static_cast<double>(*scaleHeight_) : 1.0;
    QPainter painter(&image_);
    painter.setPen(QPen(QColor::fromRgb(storedPixel(colour)), drawWidth, Qt::SolidLine, Qt::SquareCap));
    painter.drawLine(QPointF(x1 * unitX, y1 * unitY), QPointF(x2 * unitX, y2 * unitY));
}

void PictureSurface::PaintPicture(const QImage& source, float x, float y, float width, float height,
                                  float sourceX, float sourceY, float sourceWidth, float sourceHeight) {
    if (image_.isNull() || source.isNull()) {
        return;
    }
    const double unitX = scaleWidth_ ? pixelWidth() / static_cast<double>(*scaleWidth_) : 1.0;
    const double unitY = scaleHeight_ ? pixelHeight() / static_cast<double>(*scaleHeight_) : 1.0;
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(x * unitX, y * unitY, width * unitX, height * unitY), source,
                      QRectF(sourceX, sourceY, sourceWidth, sourceHeight));
}
