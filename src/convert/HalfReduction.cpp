#include "HalfReduction.h"

#include "ColumnWalk.h"
#include "RowPrefetch.h"
#include "runtime/Numbers.h"

#include <algorithm>

namespace {

bool fitsExactly(const PictureSurface& surface) {
    return !surface.image().isNull() && surface.pixelWidth() <= ExactFloatPositions &&
           surface.pixelHeight() <= ExactFloatPositions;
}

// The source in pixels and a target whose units span exactly 2 x 2 pixels: unit (x / 2, y / 2) is the
// target's pixel (x, y) (u * pixels / (pixels / 2) is exactly 2u in double precision).
bool unitIsTwoPixels(const PictureSurface& source, const PictureSurface& target) {
    return !source.hasUserScale() && fitsExactly(source) && fitsExactly(target) &&
           static_cast<double>(target.ScaleWidth()) * 2.0 == target.pixelWidth() &&
           static_cast<double>(target.ScaleHeight()) * 2.0 == target.pixelHeight();
}

// Row by row over the strip of even columns; rows and columns beyond the target are writes that
// have no effect. All reads lie inside the source (checked by the caller).
void copyStrip(const QImage& source, QImage& target, const WalkedColumns& columns) {
    const int first = columns.first;
    const int end = std::min(columns.last(2) + 1, target.width());
    const int rows = std::min(columns.lastRow + 1, target.height());
    if (first >= end || rows <= 0) {
        return;
    }
    uchar* const targetBits = target.bits();
    const uchar* const sourceBits = source.constBits();
    const qsizetype sourceStride = source.bytesPerLine();
    const qsizetype targetStride = target.bytesPerLine();
    const qsizetype bytes = qsizetype{end - first} * 4;
    for (int y = 0; y < rows; y += 2) {
        const int ahead = y + 2 * PrefetchRowsAhead;
        if (ahead < rows) {
            prefetchRowPart(sourceBits + ahead * sourceStride + first * 4,
                            targetBits + ahead * targetStride + first * 4, bytes);
        }
        const auto* from = reinterpret_cast<const QRgb*>(sourceBits + y * sourceStride);
        auto* to = reinterpret_cast<QRgb*>(targetBits + y * targetStride);
        for (int x = first; x < end; x += 2) {
            to[x] = from[x] | 0xFF000000u;
        }
    }
}

// Any other pair of surfaces: positions through Point and PSet, in the column-by-column order.
void copyThroughPositions(const PictureSurface& source, PictureSurface& target,
                          const WalkedColumns& columns) {
    for (std::int32_t index = 0; index < columns.count; ++index) {
        const std::int32_t x = columns.first + 2 * index;
        for (std::int32_t y = 0; y <= columns.lastRow; y = checkedAdd32(y, 2)) {
            const ColourValue colour = source.Point(static_cast<float>(x), static_cast<float>(y));
            target.PSet(static_cast<float>(x / 2.0), static_cast<float>(y / 2.0), colour);
        }
    }
}

} // namespace

void reduceToHalf(const PictureSurface& source, const PictureSurface& reference, PictureSurface& target,
                  ConversionSteps& steps) {
    ColumnWalk walk;
    walk.lastColumn = toInteger32(static_cast<double>(source.ScaleWidth()) - 1.0);
    walk.step = 2;
    walk.progressWidth = [&reference] { return static_cast<double>(reference.ScaleWidth()); };
    walk.lastRow = [&source] { return toInteger32(static_cast<double>(source.ScaleHeight()) - 1.0); };
    walk.convert = [&source, &target](const WalkedColumns& columns) {
        // A read outside the source would give -1 (white), which a strip cannot copy.
        const bool readsInside =
            columns.last(2) < source.pixelWidth() && columns.lastRow < source.pixelHeight();
        if (readsInside && unitIsTwoPixels(source, target)) {
            copyStrip(source.image(), target.image(), columns);
        } else {
            copyThroughPositions(source, target, columns);
        }
    };
    walkColumns(steps, walk);
}
