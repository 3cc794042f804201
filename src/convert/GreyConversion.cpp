#include "GreyConversion.h"

#include "ColumnWalk.h"
#include "GreyLevel.h"
#include "RowPrefetch.h"
#include "runtime/Numbers.h"

#include <algorithm>

namespace {

// Same pixel size and pixel scale on both sides: position (x, y) is pixel (x, y) of either image.
bool pixelForPixel(const PictureSurface& source, const PictureSurface& target) {
    return !source.hasUserScale() && !target.hasUserScale() && !source.image().isNull() &&
           source.pixelWidth() == target.pixelWidth() && source.pixelHeight() == target.pixelHeight() &&
           source.pixelWidth() <= ExactFloatPositions && source.pixelHeight() <= ExactFloatPositions;
}

// Row by row over the strip. Reads at column W or row H give white, whose writes fall outside the
// target: the strip is cut to the picture.
void convertStrip(const QImage& source, QImage& target, const WalkedColumns& columns) {
    const int first = columns.first;
    const int count = std::min(columns.last(1) + 1, source.width()) - first;
    const int rows = std::min(columns.lastRow + 1, source.height());
    if (count <= 0 || rows <= 0) {
        return;
    }
    uchar* const targetBits = target.bits();
    const uchar* const sourceBits = source.constBits();
    const qsizetype sourceStride = source.bytesPerLine();
    const qsizetype targetStride = target.bytesPerLine();
    const qsizetype bytes = qsizetype{count} * 4;
    for (int y = 0; y < rows; ++y) {
        if (y + PrefetchRowsAhead < rows) {
            prefetchRowPart(sourceBits + (y + PrefetchRowsAhead) * sourceStride + first * 4,
                            targetBits + (y + PrefetchRowsAhead) * targetStride + first * 4, bytes);
        }
        greyStoredRow(reinterpret_cast<const QRgb*>(sourceBits + y * sourceStride) + first,
                      reinterpret_cast<QRgb*>(targetBits + y * targetStride) + first, count);
    }
}

// Any other pair of surfaces: positions through Point and PSet, in the column-by-column order.
void convertThroughPositions(const PictureSurface& source, PictureSurface& target,
                             const WalkedColumns& columns) {
    for (std::int32_t index = 0; index < columns.count; ++index) {
        const auto x = static_cast<float>(columns.first + index);
        for (std::int32_t y = 0; y <= columns.lastRow; y = checkedAdd32(y, 1)) {
            const auto position = static_cast<float>(y);
            target.PSet(x, position, greyColour(source.Point(x, position)));
        }
    }
}

} // namespace

void convertToGrey(const PictureSurface& source, PictureSurface& target, ConversionSteps& steps) {
    const float width = source.ScaleWidth();
    const std::int32_t lastColumn = toInteger32(width);
    ColumnWalk walk;
    // Width 0 would make the first progress step divide 0 by 0: there is nothing to convert.
    walk.lastColumn = width == 0.0f ? -1 : lastColumn;
    walk.step = 1;
    walk.progressWidth = [&source] { return static_cast<double>(source.ScaleWidth()); };
    walk.lastRow = [&source] { return toInteger32(source.ScaleHeight()); };
    walk.convert = [&source, &target](const WalkedColumns& columns) {
        if (pixelForPixel(source, target)) {
            convertStrip(source.image(), target.image(), columns);
        } else {
            convertThroughPositions(source, target, columns);
        }
    };
    walkColumns(steps, walk);
}
