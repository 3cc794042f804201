#pragma once
// A picture box as the layout routine sees it: its place and size in its parent's units, as
// single-precision values. The routine only moves a box; sizes come from the window or the picture.

class LayoutBox {
public:
    virtual ~LayoutBox() = default;

    virtual float Left() const = 0;
    virtual float Top() const = 0;
    virtual float Width() const = 0;
    virtual float Height() const = 0;
    virtual void setLeft(float left) = 0;
    virtual void setTop(float top) = 0;
};
