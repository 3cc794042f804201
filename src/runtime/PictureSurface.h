#pragma once
// The stored image behind a picture box: what is written stays and reads reach it whether or not
// the box is on screen. Positions are in scale units: pixels, or a user scale once ScaleWidth or
// ScaleHeight has been assigned.

#include "ColourValue.h"

#include <QImage>

#include <optional>

class PictureSurface {
public:
    explicit PictureSurface(ColourValue background = 0, int width = 0, int height = 0);

    int pixelWidth() const { return image_.width(); }
    int pixelHeight() const { return image_.height(); }

    // Changes the pixel size; what fits stays, new pixels take the background colour.
    void resize(int width, int height);
    // Takes a decoded picture (an empty one gives a 0 x 0 surface); the scale mode is kept.
    void assign(const QImage& picture);
    // Cls: every pixel back to the background colour.
    void clear();

    ColourValue backColor() const { return background_; }

    float ScaleWidth() const;
    float ScaleHeight() const;
    void setScaleWidth(float units);
    void setScaleHeight(float units);
    bool hasUserScale() const { return scaleWidth_.has_value() || scaleHeight_.has_value(); }

    // Device pixel of a position in scale units (rounded down).
    int deviceX(double x) const;
    int deviceY(double y) const;

    ColourValue Point(float x, float y) const;
    void PSet(float x, float y, ColourValue colour);
    // Line from (x1, y1) to (x2, y2) in scale units, drawWidth pixels wide.
    void Line(float x1, float y1, float x2, float y2, ColourValue colour, int drawWidth);
    // PaintPicture: stretches the source rectangle (source pixels) onto the destination (scale units).
    void PaintPicture(const QImage& source, float x, float y, float width, float height, float sourceX,
                      float sourceY, float sourceWidth, float sourceHeight);

    // Direct access for the pixel loops and for painting. Format_RGB32, 0xFFRRGGBB.
    const QImage& image() const { return image_; }
    QImage& image() { return image_; }

private:
    ColourValue background_;
    QImage image_;
    std::optional<float> scaleWidth_;
    std::optional<float> scaleHeight_;
};
