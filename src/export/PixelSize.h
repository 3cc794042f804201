#pragma once
// The sides of a picture's pixel in a drawing, in millimetres: the size the user gives, else the
// resolution the user gives (both sides alike), else the two the picture's file states, else 96 dots per
// inch. A side outside SmallestPixelMillimetres to LargestPixelMillimetres is no size: a drawing of it
// would overflow or vanish in its numbers.

#include "runtime/DotsPerInch.h"

#include <QString>

#include <optional>

inline constexpr double DefaultDotsPerInch = 96.0;
inline constexpr double MillimetresPerInch = 25.4;
inline constexpr double SmallestPixelMillimetres = 1e-6;
inline constexpr double LargestPixelMillimetres = 1e6;

// A pixel's, or a unit's, sides in millimetres. A single number is a square of that side, as nearly
// every picture's pixel is.
struct PixelSides {
    double x;
    double y;

    PixelSides(double side) : x(side), y(side) {}
    PixelSides(double alongX, double alongY) : x(alongX), y(alongY) {}

    bool isSquare() const { return x == y; }
    bool operator==(const PixelSides&) const = default;
    PixelSides operator*(int units) const { return {x * units, y * units}; }
};

struct PixelSizeChoice {
    std::optional<double> pixelMillimetres; // --pixel-size
    std::optional<double> dotsPerInch;      // --dpi, or the dialog's resolution field
    std::optional<DotsPerInch> statedDotsPerInch;
};

// Whether a pixel side in millimetres, and a resolution in dots per inch, can be drawn.
bool isDrawableSide(double millimetres);
bool isDrawableResolution(double dotsPerInch);
// The stated resolution if both its sides can be drawn; a file's other statement counts as none.
std::optional<DotsPerInch> drawableResolution(std::optional<DotsPerInch> stated);
// Whether the file states a resolution that counts as none, which the user is told of.
bool statedResolutionRefused(std::optional<DotsPerInch> stated);

// The chosen sides; a given size or resolution out of range is the caller's to refuse.
PixelSides pixelMillimetres(const PixelSizeChoice& choice);
// The resolution the dialog shows at first: the stated horizontal one, else 96.
double dotsPerInchOrDefault(std::optional<DotsPerInch> stated);
// "300", or "300 × 150" where the sides differ: each the shortest decimal that reads back as itself.
QString dotsPerInchText(DotsPerInch resolution);
