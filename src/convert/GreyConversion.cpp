#include "GreyConversion.h"

#include "ColumnWalk.h"
#include "GreyLevel.h"
#include "runtime/Numbers.h"

#include <algorithm>

namespace {

// Same pixel size and pixel scale on both sides: position (x, y) is pixel (x, y) of either image.
bool pixelForPixel(const PictureSurface& source, const PictureSurface& target) {
    return !source.hasUserScale() && !target.hasUserScale() && !source.image().isNull() &&
           source.pixelWidth() == target.pixelWidth() && source.pixelHeight() == target.pixelHeight() &&
           source.pixelWidth() <= ExactFloatPositions && source.pixelHeight() <= ExactFloatPositions;
}

// Row by row over the strip of columns. Reads at column W or row H give white, whose writes fall
// outside the target: the strip is cut to the picture.
void convertStrip(const QImage& source, QImage& target, std::span<const WalkedColumn> columns) {
    const int first = columns.front().x;
    const int end = std::min(columns.back().x + 1, source.width());
    const int rows = std::min(columns.front().lastRow + 1, source.height());
    uchar* const targetBits = target.bits();
    const uchar* const sourceBits = source.constBits();
    const qsizetype sourceStride = source.bytesPerLine();
    const qsizetype targetStride = target.bytesPerLine();
    for (int y = 0; y < rows; ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(sourceBits + y * sourceStride);
        auto* to = reinterpret_cast<QRgb*>(targetBits + y * targetStride);
        for (int x = first; x < end; ++x) {
            to[x] = greyStoredPixel(from[x]);
        }
    }
}

// Any other pair of surfaces: positions through Point and PSet, in the column-by-column order.
void convertThroughPositions(const PictureSurface& source, PictureSurface& target,
                             std::span<const WalkedColumn> columns) {
    for (const WalkedColumn& column : columns) {
        const auto x = static_cast<float>(column.x);
        for (std::int32_t y = 0; y <= column.lastRow; y = checkedAdd32(y, 1)) {
            const auto position = static_cast<float>(y);
            target.PSet(x, position, greyColour(source.Point(x, position)));
        }
    }
}

void convertColumns(const PictureSurface& source, PictureSurface& target,
                    std::span<const WalkedColumn> columns) {
    if (!pixelForPixel(source, target)) {
        convertThroughPositions(source, target, columns);
        return;
    }
    forEachRowRun(columns, [&](std::span<const WalkedColumn> run) {
        if (run.front().x < source.pixelWidth() && run.front().lastRow >= 0) {
            convertStrip(source.image(), target.image(), run);
        }
    });
}

} // namespace

void convertToGrey(const PictureSurface& source, PictureSurface& target, ConversionSteps& steps) {
    const float width = source.ScaleWidth();
    const std::int32_t lastColumn = toInteger32(width);
    ColumnWalk walk;
    walk.captionPrefix = ToBlackCaptionPrefix.toString();
    // Width 0 would make the first progress step divide 0 by 0: there is nothing to convert.
    walk.lastColumn = width == 0.0f ? -1 : lastColumn;
    walk.step = 1;
    walk.progressWidth = [&source] { return static_cast<double>(source.ScaleWidth()); };
    walk.lastRow = [&source] { return toInteger32(source.ScaleHeight()); };
    walk.convert = [&source, &target](std::span<const WalkedColumn> columns) {
        convertColumns(source, target, columns);
    };
    walkColumns(steps, walk);
}
