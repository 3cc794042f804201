#pragma once
// A picture box: a widget showing a PictureSurface, placed by single-precision Left/Top/Width/Height
// in its parent's units (pixels; fractions kept for every read), with an optional one-pixel border.
// Children of a bordered box are placed relative to its inner area.

#include "PictureSurface.h"
#include "ShownPicture.h"

#include <QWidget>

class PictureBox : public QWidget {
    Q_OBJECT
public:
    PictureBox(QWidget* parent, ColourValue background, bool border);

    PictureSurface& surface() { return surface_; }
    const PictureSurface& surface() const { return surface_; }

    float Left() const { return left_; }
    float Top() const { return top_; }
    float Width() const { return width_; }
    float Height() const { return height_; }
    // Negative or non-finite sizes are refused ("Invalid property value"), as the control does.
    void setLeft(float left);
    void setTop(float top);
    void setWidth(float width);
    void setHeight(float height);

    int borderWidth() const { return border_ ? 1 : 0; }
    bool AutoSize() const { return autoSize_; }
    void setAutoSize(bool autoSize) { autoSize_ = autoSize; }
    int DrawWidth() const { return drawWidth_; }
    void setDrawWidth(int width) { drawWidth_ = width; }

    // Picture: the surface takes the picture; an auto-sized box takes its size.
    void setPicture(const QImage& picture);
    const QImage& Picture() const { return surface_.image(); }

    float ScaleWidth() const { return surface_.ScaleWidth(); }
    float ScaleHeight() const { return surface_.ScaleHeight(); }
    void setScaleWidth(float units) { surface_.setScaleWidth(units); }
    void setScaleHeight(float units) { surface_.setScaleHeight(units); }
    ColourValue Point(float x, float y) const { return surface_.Point(x, y); }
    void PSet(float x, float y, ColourValue colour);
    void Cls();
    void Line(float x1, float y1, float x2, float y2, ColourValue colour);
    void PaintPicture(const QImage& source, float x, float y, float width, float height, float sourceX,
                      float sourceY, float sourceWidth, float sourceHeight);

    // Display only: the box's widget and painting take the zoom (above 1 a whole factor), while Width, Height
    // and the surface keep the stored size. Shown sizes are what the widget occupies.
    void setZoom(double zoom);
    double zoom() const { return shown_.zoom(); }
    float shownWidth() const;
    float shownHeight() const;
    // Paints each unit of pixels x pixels as one solid block of its first pixel.
    void setUnitBlock(int pixels);

    // Marks pixels on screen by their channel sums (none: the picture as it is); the surface is untouched.
    void setHighlight(const std::optional<SumHighlight>& highlight);
    const std::optional<SumHighlight>& highlight() const { return shown_.highlight(); }

    // Repaint after the surface was written directly.
    void surfaceChanged() { update(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void placeWidget();
    void syncSurfaceSize();

    PictureSurface surface_;
    ShownPicture shown_;
    bool border_;
    bool autoSize_ = false;
    int drawWidth_ = 1;
    float left_ = 0.0f;
    float top_ = 0.0f;
    float width_ = 0.0f;
    float height_ = 0.0f;
};
