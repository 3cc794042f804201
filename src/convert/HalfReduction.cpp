#include "HalfReduction.h"

#include "ColumnWalk.h"
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
// have no effect. The run's reads all lie inside the source (checked by the caller).
void copyStrip(const QImage& source, QImage& target, std::span<const WalkedColumn> columns) {
    const int rows = std::min(columns.front().lastRow + 1, target.height());
    uchar* const targetBits = target.bits();
    const uchar* const sourceBits = source.constBits();
    const qsizetype sourceStride = source.bytesPerLine();
    const qsizetype targetStride = target.bytesPerLine();
    const int first = columns.front().x;
    const int end = std::min(columns.back().x + 1, target.width());
    for (int y = 0; y < rows; y += 2) {
        const auto* from = reinterpret_cast<const QRgb*>(sourceBits + y * sourceStride);
        auto* to = reinterpret_cast<QRgb*>(targetBits + y * targetStride);
        for (int x = first; x < end; x += 2) {
            to[x] = from[x] | 0xFF000000u;
        }
    }
}

// Any other pair of surfaces: positions through Point and PSet, in the column-by-column order.
void copyThroughPositions(const PictureSurface& source, PictureSurface& target,
                          std::span<const WalkedColumn> columns) {
    for (const WalkedColumn& column : columns) {
        for (std::int32_t y = 0; y <= column.lastRow; y = checkedAdd32(y, 2)) {
            const ColourValue colour = source.Point(static_cast<float>(column.x), static_cast<float>(y));
            target.PSet(static_cast<float>(column.x / 2.0), static_cast<float>(y / 2.0), colour);
        }
    }
}

void copyColumns(const PictureSurface& source, PictureSurface& target,
                 std::span<const WalkedColumn> columns) {
    if (!unitIsTwoPixels(source, target)) {
        copyThroughPositions(source, target, columns);
        return;
    }
    forEachRowRun(columns, [&](std::span<const WalkedColumn> run) {
        // A read outside the source would give -1 (white), which a strip cannot copy.
        if (run.back().x >= source.pixelWidth() || run.front().lastRow >= source.pixelHeight()) {
            copyThroughPositions(source, target, run);
        } else if (run.front().x < target.pixelWidth() && run.front().lastRow >= 0) {
            copyStrip(source.image(), target.image(), run);
        }
    });
}

} // namespace

void reduceToHalf(const PictureSurface& source, const PictureSurface& reference, PictureSurface& target,
                  ConversionSteps& steps) {
    ColumnWalk walk;
    walk.captionPrefix = ToScaleCaptionPrefix.toString();
    walk.lastColumn = toInteger32(static_cast<double>(source.ScaleWidth()) - 1.0);
    walk.step = 2;
    walk.progressWidth = [&reference] { return static_cast<double>(reference.ScaleWidth()); };
    walk.lastRow = [&source] { return toInteger32(static_cast<double>(source.ScaleHeight()) - 1.0); };
    walk.convert = [&source, &target](std::span<const WalkedColumn> columns) {
        copyColumns(source, target, columns);
    };
    walkColumns(steps, walk);
}
