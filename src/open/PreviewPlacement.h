#pragma once
// Where the preview of a picture goes in the open dialog's preview frame: at natural size and
// centred when the loader box fits, otherwise scaled down to the frame's height or width with
// its proportions kept, centred along the other direction.

class PreviewPlacement {
public:
    enum class Branch { Fits, FillHeight, FillWidth };

    // Outer sizes of the loader box and the frame, in pixels. Sums run in double precision; every
    // value is kept as single precision, as a picture box keeps what is assigned to it, and the
    // later steps use the kept values.
    PreviewPlacement(float loaderWidth, float loaderHeight, float frameWidth, float frameHeight);

    Branch branch() const { return branch_; }
    float Left() const { return left_; }
    float Top() const { return top_; }
    float Width() const { return width_; }
    float Height() const { return height_; }

private:
    Branch branch_;
    float left_ = 0.0f;
    float top_ = 0.0f;
    float width_ = 0.0f;
    float height_ = 0.0f;
};
