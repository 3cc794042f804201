#include "ShownPicture.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// One pixel per unit: the unit's first (top-left) pixel.
QImage unitPixels(const QImage& surface, int block) {
    QImage units((surface.width() + block - 1) / block, (surface.height() + block - 1) / block,
                 QImage::Format_RGB32);
    for (int y = 0; y < units.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(surface.constScanLine(y * block));
        auto* to = reinterpret_cast<QRgb*>(units.scanLine(y));
        for (int x = 0; x < units.width(); ++x) {
            to[x] = from[x * block];
        }
    }
    return units;
}

// The exposed part at full size with every pixel taking its unit's first pixel.
QImage blocksOf(const QImage& surface, const QRect& area, int block) {
    QImage blocks(area.size(), QImage::Format_RGB32);
    for (int y = 0; y < area.height(); ++y) {
        const int sourceY = (area.top() + y) / block * block;
        const auto* from = reinterpret_cast<const QRgb*>(surface.constScanLine(sourceY));
        auto* to = reinterpret_cast<QRgb*>(blocks.scanLine(y));
        for (int x = 0; x < area.width(); ++x) {
            to[x] = from[(area.left() + x) / block * block];
        }
    }
    return blocks;
}

// A buffer that holds at least this size, kept from paint to paint: a new one per paint would fault in
// megabytes of fresh pages every time.
void makeRoom(QImage& buffer, QSize size) {
    if (buffer.width() < size.width() || buffer.height() < size.height()) {
        buffer = QImage(size.expandedTo(buffer.size()), QImage::Format_RGB32);
    }
}

// Writes `area` of the shown pixels into the buffer's corner, the marked ones in the highlight's colour;
// a marked pixel's sum is its own, or at a reduced zoom the extreme sum of the pixels it stands for.
void markInto(const QImage& shown, const std::uint16_t* extremes, const QRect& area,
              const SumHighlight& highlight, QImage& buffer) {
    makeRoom(buffer, area.size());
    const SelectedSums marked = highlight.sums;
    const QRgb colour = highlight.colour;
    for (int y = 0; y < area.height(); ++y) {
        const int row = area.top() + y;
        const auto* from = reinterpret_cast<const QRgb*>(shown.constScanLine(row)) + area.left();
        auto* to = reinterpret_cast<QRgb*>(buffer.scanLine(y));
        if (extremes) {
            const std::uint16_t* sums =
                extremes + static_cast<std::size_t>(row) * shown.width() + area.left();
            for (int x = 0; x < area.width(); ++x) {
                to[x] = marked.contains(sums[x]) ? colour : from[x];
            }
        } else {
            for (int x = 0; x < area.width(); ++x) {
                to[x] = marked.contains(channelSum(from[x])) ? colour : from[x];
            }
        }
    }
}

// Paints `area` of the shown pixels marked (markInto); the highlight's left-out units are painted back
// before the buffer is drawn.
template <typename Unmark>
void paintMarked(QPainter& painter, QPoint at, const QImage& shown, const std::uint16_t* extremes,
                 const QRect& area, const SumHighlight& highlight, QImage& buffer, Unmark&& unmark) {
    markInto(shown, extremes, area, highlight, buffer);
    if (highlight.leftOut && !highlight.leftOut->empty()) {
        unmark(buffer, *highlight.leftOut);
    }
    painter.drawImage(at, buffer, QRect(QPoint(0, 0), area.size()));
}

// The buffer's corner holds `pixels` (the top-left part of `source` of that size), each made a square of
// factor x factor: nearest neighbour, so that every pixel stays sharp.
void enlargeInto(const QImage& source, QSize pixels, int factor, QImage& buffer) {
    makeRoom(buffer, pixels * factor);
    const auto rowBytes = static_cast<std::size_t>(pixels.width()) * factor * sizeof(QRgb);
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* first = reinterpret_cast<QRgb*>(buffer.scanLine(y * factor));
        for (int x = 0; x < pixels.width(); ++x) {
            std::fill_n(first + static_cast<std::ptrdiff_t>(x) * factor, factor, from[x]);
        }
        for (int copy = 1; copy < factor; ++copy) {
            std::memcpy(buffer.scanLine(y * factor + copy), first, rowBytes);
        }
    }
}

// Each shown pixel's footprint runs from first[i] to first[i + 1] of `stored` pixels.
std::vector<int> footprints(int stored, int shown) {
    std::vector<int> first(static_cast<std::size_t>(shown) + 1);
    for (int i = 0; i <= shown; ++i) {
        first[i] = static_cast<int>(static_cast<std::int64_t>(i) * stored / shown);
    }
    return first;
}

template <typename Keep>
std::vector<std::uint16_t> extremesOf(const QImage& source, QSize shown, std::uint16_t start, Keep keep) {
    const std::vector<int> columns = footprints(source.width(), shown.width());
    const std::vector<int> rows = footprints(source.height(), shown.height());
    std::vector<std::uint16_t> extremes(static_cast<std::size_t>(shown.width()) * shown.height(), start);
    for (int j = 0; j < shown.height(); ++j) {
        std::uint16_t* out = extremes.data() + static_cast<std::size_t>(j) * shown.width();
        for (int y = rows[j]; y < std::max(rows[j + 1], rows[j] + 1); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(source.constScanLine(y));
            for (int i = 0; i < shown.width(); ++i) {
                std::uint16_t extreme = out[i];
                for (int x = columns[i]; x < std::max(columns[i + 1], columns[i] + 1); ++x) {
                    extreme = keep(extreme, static_cast<std::uint16_t>(channelSum(row[x])));
                }
                out[i] = extreme;
            }
        }
    }
    return extremes;
}

} // namespace

void ShownPicture::setZoom(double zoom) {
    if (zoom != zoom_) {
        zoom_ = zoom;
        reduced_ = QImage();
        extremes_.clear();
    }
}

void ShownPicture::setUnitBlock(int pixels) {
    if (pixels != unitBlock_) {
        unitBlock_ = pixels;
        reduced_ = QImage();
        extremes_.clear();
    }
}

void ShownPicture::setHighlight(const std::optional<SumHighlight>& highlight) {
    highlight_ = highlight;
}

int ShownPicture::shownLength(int storedLength) const {
    return zoom_ == 1.0 ? storedLength : static_cast<int>(std::lround(storedLength * zoom_));
}

const QImage& ShownPicture::reducedCopy(const QImage& surface) {
    if (reduced_.isNull() || reducedFrom_ != surface.cacheKey()) {
        const QImage& source = unitBlock_ == 1 ? surface : unitPixels(surface, unitBlock_);
        reduced_ = source.scaled(std::max(1, shownLength(surface.width())),
                                 std::max(1, shownLength(surface.height())), Qt::IgnoreAspectRatio,
                                 Qt::SmoothTransformation);
        reducedFrom_ = surface.cacheKey();
    }
    return reduced_;
}

const std::vector<std::uint16_t>& ShownPicture::extremeSums(const QImage& surface) {
    const bool smallest = highlight_->sums.fromBlack();
    if (extremes_.empty() || extremesFrom_ != surface.cacheKey() || extremesSmallest_ != smallest) {
        const QImage source = unitBlock_ == 1 ? surface : unitPixels(surface, unitBlock_);
        const QSize shown = reducedCopy(surface).size();
        extremes_ = smallest ? extremesOf(source, shown, 765,
                                          [](std::uint16_t a, std::uint16_t b) { return std::min(a, b); })
                             : extremesOf(source, shown, 0,
                                          [](std::uint16_t a, std::uint16_t b) { return std::max(a, b); });
        extremesFrom_ = surface.cacheKey();
        extremesSmallest_ = smallest;
    }
    return extremes_;
}

void ShownPicture::paint(QPainter& painter, QPoint corner, const QImage& surface, const QRect& area) {
    if (surface.isNull()) {
        return;
    }
    if (zoom_ > 1.0) {
        paintEnlarged(painter, corner, surface, area);
        return;
    }
    if (zoom_ == 1.0) {
        const QRect part = area.intersected(surface.rect());
        if (part.isEmpty()) {
            return;
        }
        if (unitBlock_ == 1 && !highlight_) {
            painter.drawImage(part.topLeft() + corner, surface, part);
        } else if (unitBlock_ == 1) {
            paintMarked(painter, part.topLeft() + corner, surface, nullptr, part, *highlight_, marked_,
                        [&](QImage& buffer, const LeftOutUnits& leftOut) {
                            unmarkLeftOutAtFullSize(buffer, part.size(), part.topLeft(), surface,
                                                    part.topLeft(), leftOut);
                        });
        } else if (!highlight_) {
            painter.drawImage(part.topLeft() + corner, blocksOf(surface, part, unitBlock_));
        } else {
            const QImage blocks = blocksOf(surface, part, unitBlock_);
            paintMarked(
                painter, part.topLeft() + corner, blocks, nullptr, blocks.rect(), *highlight_, marked_,
                [&](QImage& buffer, const LeftOutUnits& leftOut) {
                    unmarkLeftOutAtFullSize(buffer, part.size(), part.topLeft(), blocks, {0, 0}, leftOut);
                });
        }
        return;
    }
    const QImage& reduced = reducedCopy(surface);
    const QRect part = area.intersected(reduced.rect());
    if (part.isEmpty()) {
        return;
    }
    if (highlight_) {
        paintMarked(painter, part.topLeft() + corner, reduced, extremeSums(surface).data(), part, *highlight_,
                    marked_, [&](QImage& buffer, const LeftOutUnits& leftOut) {
                        unmarkLeftOutReduced(buffer, part, reduced, surface, unitBlock_, highlight_->sums,
                                             highlight_->colour, leftOut);
                    });
    } else {
        painter.drawImage(part.topLeft() + corner, reduced, part);
    }
}

void ShownPicture::paintEnlarged(QPainter& painter, QPoint corner, const QImage& surface, const QRect& area) {
    const int factor = static_cast<int>(std::lround(zoom_));
    // The stored pixels under the exposed part: at most a screenful divided by the factor squared.
    const QRect shownArea =
        area.intersected(QRect(0, 0, surface.width() * factor, surface.height() * factor));
    if (shownArea.isEmpty()) {
        return;
    }
    const QRect stored(QPoint(shownArea.left() / factor, shownArea.top() / factor),
                       QPoint(shownArea.right() / factor, shownArea.bottom() / factor));
    QImage pixels = unitBlock_ == 1 ? surface.copy(stored) : blocksOf(surface, stored, unitBlock_);
    if (highlight_) {
        markInto(pixels, nullptr, pixels.rect(), *highlight_, marked_);
        if (highlight_->leftOut && !highlight_->leftOut->empty()) {
            unmarkLeftOutAtFullSize(marked_, stored.size(), stored.topLeft(), pixels, {0, 0},
                                    *highlight_->leftOut);
        }
        enlargeInto(marked_, stored.size(), factor, enlarged_);
    } else {
        enlargeInto(pixels, stored.size(), factor, enlarged_);
    }
    painter.drawImage(corner + stored.topLeft() * factor, enlarged_,
                      QRect(QPoint(0, 0), stored.size() * factor));
}
