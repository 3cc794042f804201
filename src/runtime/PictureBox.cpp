#include "PictureBox.h"

#include "RuntimeError.h"

#include <QPaintEvent>
#include <QPainter>

#include <cmath>
#include <utility>

namespace {

float checkedSize(float value) {
    if (!std::isfinite(value) || value < 0.0f) {
        throw RuntimeError::invalidPropertyValue();
    }
    return value;
}

int parentInset(const QWidget* parent) {
    const auto* box = qobject_cast<const PictureBox*>(parent);
    return box ? box->borderWidth() : 0;
}

} // namespace

PictureBox::PictureBox(QWidget* parent, ColourValue background, bool border)
    : QWidget(parent), surface_(background), border_(border) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::setLeft(float left) {
    left_ = left;
    placeWidget();
}

void PictureBox::setTop(float top) {
    top_ = top;
    placeWidget();
}

void PictureBox::setWidth(float width) {
    width_ = checkedSize(width);
    syncSurfaceSize();
    placeWidget();
}

void PictureBox::setHeight(float height) {
    height_ = checkedSize(height);
    syncSurfaceSize();
    placeWidget();
}

void PictureBox::setPicture(const QImage& picture) {
    surface_.assign(picture);
    if (autoSize_) {
        width_ = static_cast<float>(surface_.pixelWidth() + 2 * borderWidth());
        height_ = static_cast<float>(surface_.pixelHeight() + 2 * borderWidth());
        placeWidget();
    } else {
        syncSurfaceSize();
    }
    update();
}

void PictureBox::PSet(float x, float y, ColourValue colour) {
    surface_.PSet(x, y, colour);
    update();
}

void PictureBox::Cls() {
    surface_.clear();
    update();
}

void PictureBox::Line(float x1, float y1, float x2, float y2, ColourValue colour) {
    surface_.Line(x1, y1, x2, y2, colour, drawWidth_);
    update();
}

void PictureBox::PaintPicture(const QImage& source, float x, float y, float width, float height,
                              float sourceX, float sourceY, float sourceWidth, float sourceHeight) {
    surface_.PaintPicture(source, x, y, width, height, sourceX, sourceY, sourceWidth, sourceHeight);
    update();
}

void PictureBox::setZoom(double zoom) {
    shown_.setZoom(zoom);
    placeWidget();
    update();
}

float PictureBox::shownWidth() const {
    return zoom() == 1.0 ? width_ : static_cast<float>(width_ * zoom());
}

float PictureBox::shownHeight() const {
    return zoom() == 1.0 ? height_ : static_cast<float>(height_ * zoom());
}

void PictureBox::setUnitBlock(int pixels) {
    shown_.setUnitBlock(pixels);
    update();
}

void PictureBox::setHighlight(const std::optional<SumHighlight>& highlight) {
    if (highlight != shown_.highlight()) {
        shown_.setHighlight(highlight);
        update();
    }
}

void PictureBox::syncSurfaceSize() {
    const int inner = 2 * borderWidth();
    const int pixelWidth = std::max(0, static_cast<int>(std::lround(width_)) - inner);
    const int pixelHeight = std::max(0, static_cast<int>(std::lround(height_)) - inner);
    surface_.resize(pixelWidth, pixelHeight);
}

void PictureBox::placeWidget() {
    // A position ending in one half is shown at the pixel to its left (or above).
    const int inset = parentInset(parentWidget());
    setGeometry(inset + static_cast<int>(std::floor(left_)), inset + static_cast<int>(std::floor(top_)),
                static_cast<int>(std::lround(shownWidth())), static_cast<int>(std::lround(shownHeight())));
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect exposed = event->rect();
    painter.fillRect(exposed, QColor::fromRgb(storedPixel(surface_.backColor())));
    const int inset = borderWidth();
    // Only the exposed part: a 24-megapixel picture must not be copied per paint.
    shown_.paint(painter, QPoint(inset, inset), std::as_const(surface_).image(),
                 exposed.translated(-inset, -inset));
    if (border_) {
        painter.setPen(QColor(Qt::black));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}
