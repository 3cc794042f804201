#include "ScrollBar.h"

#include "RuntimeError.h"

#include <cmath>

namespace {

void requireInRange(int value, int low, int high) {
    if (value < low || value > high) {
        throw RuntimeError::invalidPropertyValue();
    }
}

int pixels(float value) {
    if (!std::isfinite(value) || value < 0.0f) {
        throw RuntimeError::invalidPropertyValue();
    }
    return static_cast<int>(std::lround(value));
}

} // namespace

ScrollBar::ScrollBar(Qt::Orientation orientation, QWidget* parent) : QScrollBar(orientation, parent) {
    setTracking(false); // one change when the thumb is released, none while it is dragged
    connect(this, &QAbstractSlider::valueChanged, this, [this] {
        if (change_) {
            change_();
        }
    });
}

void ScrollBar::setMin(int min) {
    requireInRange(min, 0, 32767);
    setMinimum(min);
}

void ScrollBar::setMax(int max) {
    requireInRange(max, 0, 32767);
    setMaximum(max); // a value above the new Max is lowered, with a change
}

void ScrollBar::setBarValue(int value) {
    requireInRange(value, minimum(), maximum());
    QScrollBar::setValue(value);
}

void ScrollBar::setSmallChange(int step) {
    requireInRange(step, 1, 32767);
    setSingleStep(step);
}

void ScrollBar::setLargeChange(int step) {
    requireInRange(step, 1, 32767);
    setPageStep(step);
}

void ScrollBar::setLeft(float left) {
    move(static_cast<int>(std::floor(left)), y());
}

void ScrollBar::setTop(float top) {
    move(x(), static_cast<int>(std::floor(top)));
}

void ScrollBar::setWidth(float width) {
    resize(pixels(width), height());
}

void ScrollBar::setHeight(float height) {
    resize(width(), pixels(height));
}
