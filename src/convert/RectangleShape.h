#pragma once
// A rectangle shape: a border in one colour around a fill in another, as a dialog's bar frame.

#include "runtime/ColourValue.h"

#include <QWidget>

class RectangleShape : public QWidget {
    Q_OBJECT
public:
    RectangleShape(QWidget* parent, ColourValue borderColour, ColourValue fillColour);

    // The shape's width in twips, as laid out.
    int widthTwips() const { return widthTwips_; }
    void setGeometryTwips(int left, int top, int width, int height);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor border_;
    QColor fill_;
    int widthTwips_ = 0;
};
