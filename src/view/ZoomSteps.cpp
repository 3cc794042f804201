#include "ZoomSteps.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// Levels 2^(-k/2) below 100 %; a zoom within this of a level counts as that level.
constexpr double Tolerance = 1e-9;
// Above 100 %: whole factors only, roughly a factor of the square root of two apart.
constexpr std::array<double, 6> Enlargements{1.0, 2.0, 3.0, 4.0, 6.0, LargestZoom};

double level(int step) {
    return std::pow(2.0, -step / 2.0);
}

} // namespace

double fitZoom(QSizeF picture, QSizeF viewport) {
    if (picture.width() <= 0.0 || picture.height() <= 0.0) {
        return 1.0;
    }
    return std::clamp(std::min(viewport.width() / picture.width(), viewport.height() / picture.height()),
                      1e-6, 1.0);
}

double zoomInStep(double zoom) {
    for (int step = 64; step > 0; --step) {
        if (level(step) > zoom + Tolerance) {
            return level(step);
        }
    }
    for (const double enlargement : Enlargements) {
        if (enlargement > zoom + Tolerance) {
            return enlargement;
        }
    }
    return LargestZoom;
}

double zoomOutStep(double zoom, double fit) {
    for (auto enlargement = Enlargements.rbegin(); enlargement != Enlargements.rend(); ++enlargement) {
        if (*enlargement < zoom - Tolerance) {
            return std::max(*enlargement, fit);
        }
    }
    for (int step = 1; step <= 64; ++step) {
        if (level(step) < zoom - Tolerance) {
            return std::max(level(step), fit);
        }
    }
    return fit;
}
