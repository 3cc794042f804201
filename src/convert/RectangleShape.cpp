#include "RectangleShape.h"

#include "runtime/Shell.h"

#include <QPainter>

RectangleShape::RectangleShape(QWidget* parent, ColourValue borderColour, ColourValue fillColour)
    : QWidget(parent), border_(QColor::fromRgb(storedPixel(borderColour))),
      fill_(QColor::fromRgb(storedPixel(fillColour))) {}

void RectangleShape::setGeometryTwips(int left, int top, int width, int height) {
    widthTwips_ = width;
    setGeometry(left / TwipsPerPixel, top / TwipsPerPixel, width / TwipsPerPixel, height / TwipsPerPixel);
}

void RectangleShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), fill_);
    painter.setPen(border_);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
