#pragma once
// What a picture box paints of its stored surface: the pixels themselves, or each unit of a coarser
// grid as a solid block of its first pixel; below 100 % from a reduced copy made once per zoom level
// and surface content, so that a repaint only copies the exposed part; above it (whole factors only)
// each pixel as a sharp square, enlarged from the exposed part alone. Painting only: the surface is
// never written. A highlight marks the pixels of chosen channel sums on screen alone.

#include "SumHighlight.h"

#include <QImage>

#include <cstdint>
#include <optional>
#include <vector>

class QPainter;
class QRect;
class QPoint;

class ShownPicture {
public:
    // Below 1 any level, above it a whole factor; the reduced copy is dropped when the level changes.
    void setZoom(double zoom);
    double zoom() const { return zoom_; }
    // Units of pixels x pixels shown as solid blocks (1: every pixel as it is).
    void setUnitBlock(int pixels);

    // Marks these pixels over the picture until cleared. Below 100 % a shown pixel stands for several and is
    // marked when any of them is, so that single marked pixels stay visible at every zoom.
    void setHighlight(const std::optional<SumHighlight>& highlight);
    const std::optional<SumHighlight>& highlight() const { return highlight_; }

    // The picture's shown size for a stored size.
    int shownLength(int storedLength) const;

    // Paints the part of the shown picture inside `area` (shown pixels from the picture's corner),
    // the corner placed at `corner`.
    void paint(QPainter& painter, QPoint corner, const QImage& surface, const QRect& area);

private:
    const QImage& reducedCopy(const QImage& surface);
    // For each pixel of the reduced copy, the lowest (marking a run from black) or highest (a run to white)
    // channel sum of the stored pixels it stands for: made once per zoom level, surface content and side.
    const std::vector<std::uint16_t>& extremeSums(const QImage& surface);
    void paintEnlarged(QPainter& painter, QPoint corner, const QImage& surface, const QRect& area);

    double zoom_ = 1.0;
    int unitBlock_ = 1;
    QImage reduced_;
    qint64 reducedFrom_ = 0; // the surface's cache key when the copy was made
    std::optional<SumHighlight> highlight_;
    QImage marked_;   // the marked part of the last paint, its memory kept for the next
    QImage enlarged_; // likewise the enlarged part
    std::vector<std::uint16_t> extremes_;
    qint64 extremesFrom_ = 0;
    bool extremesSmallest_ = true;
};
