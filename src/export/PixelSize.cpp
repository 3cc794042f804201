#include "PixelSize.h"

double dotsPerInchOrDefault(std::optional<double> stated) {
    return stated && *stated > 0 ? *stated : DefaultDotsPerInch;
}

double pixelMillimetres(const PixelSizeChoice& choice) {
    if (choice.pixelMillimetres && *choice.pixelMillimetres > 0) {
        return *choice.pixelMillimetres;
    }
    if (choice.dotsPerInch && *choice.dotsPerInch > 0) {
        return MillimetresPerInch / *choice.dotsPerInch;
    }
    return MillimetresPerInch / dotsPerInchOrDefault(choice.statedDotsPerInch);
}
