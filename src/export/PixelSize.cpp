#include "PixelSize.h"

#include <QLocale>

bool isDrawableSide(double millimetres) {
    // False for NaN as well.
    return millimetres >= SmallestPixelMillimetres && millimetres <= LargestPixelMillimetres;
}

bool isDrawableResolution(double dotsPerInch) {
    return dotsPerInch > 0 && isDrawableSide(MillimetresPerInch / dotsPerInch);
}

std::optional<DotsPerInch> drawableResolution(std::optional<DotsPerInch> stated) {
    if (stated && isDrawableResolution(stated->x) && isDrawableResolution(stated->y)) {
        return stated;
    }
    return std::nullopt;
}

bool statedResolutionRefused(std::optional<DotsPerInch> stated) {
    return stated && !drawableResolution(stated);
}

PixelSides pixelMillimetres(const PixelSizeChoice& choice) {
    if (choice.pixelMillimetres && *choice.pixelMillimetres > 0) {
        return *choice.pixelMillimetres;
    }
    if (choice.dotsPerInch && *choice.dotsPerInch > 0) {
        return MillimetresPerInch / *choice.dotsPerInch;
    }
    if (const std::optional<DotsPerInch> stated = drawableResolution(choice.statedDotsPerInch)) {
        return {MillimetresPerInch / stated->x, MillimetresPerInch / stated->y};
    }
    return MillimetresPerInch / DefaultDotsPerInch;
}

double dotsPerInchOrDefault(std::optional<DotsPerInch> stated) {
    const std::optional<DotsPerInch> drawable = drawableResolution(stated);
    return drawable ? drawable->x : DefaultDotsPerInch;
}

QString dotsPerInchText(DotsPerInch resolution) {
    const auto shortest = [](double value) {
        return QString::number(value, 'g', QLocale::FloatingPointShortest);
    };
    return resolution.x == resolution.y
               ? shortest(resolution.x)
               : shortest(resolution.x) + QStringLiteral(" × ") + shortest(resolution.y);
}
