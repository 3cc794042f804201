#pragma once
// What a picture box paints of its stored surface: the pixels themselves, or each unit of a coarser
// grid as a solid block of its first pixel; below 100 % from a reduced copy made once per zoom level
// and surface content, so that a repaint only copies the exposed part. Painting only: the surface is
// never written.

#include <QImage>

class QPainter;
class QRect;
class QPoint;

class ShownPicture {
public:
    // At most 1; the reduced copy is dropped when the level changes.
    void setZoom(double zoom);
    double zoom() const { return zoom_; }
    // Units of pixels x pixels shown as solid blocks (1: every pixel as it is).
    void setUnitBlock(int pixels);

    // The picture's shown size for a stored size.
    int shownLength(int storedLength) const;

    // Paints the part of the shown picture inside `area` (shown pixels from the picture's corner),
    // the corner placed at `corner`.
    void paint(QPainter& painter, QPoint corner, const QImage& surface, const QRect& area);

private:
    const QImage& reducedCopy(const QImage& surface);

    double zoom_ = 1.0;
    int unitBlock_ = 1;
    QImage reduced_;
    qint64 reducedFrom_ = 0; // the surface's cache key when the copy was made
};
