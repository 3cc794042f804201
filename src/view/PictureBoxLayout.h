#pragma once
// A picture box seen through the layout routine's narrow interface, at the size it is shown (zoom).

#include "view/LayoutBox.h"

class PictureBox;

class PictureBoxLayout : public LayoutBox {
public:
    explicit PictureBoxLayout(PictureBox& box) : box_(box) {}

    float Left() const override;
    float Top() const override;
    float Width() const override;
    float Height() const override;
    void setLeft(float left) override;
    void setTop(float top) override;

private:
    PictureBox& box_;
};
