#include "PictureBoxLayout.h"

#include "runtime/PictureBox.h"

float PictureBoxLayout::Left() const {
    return box_.Left();
}
float PictureBoxLayout::Top() const {
    return box_.Top();
}
float PictureBoxLayout::Width() const {
    return box_.shownWidth();
}
float PictureBoxLayout::Height() const {
    return box_.shownHeight();
}
void PictureBoxLayout::setLeft(float left) {
    box_.setLeft(left);
}
void PictureBoxLayout::setTop(float top) {
    box_.setTop(top);
}
