#pragma once
// The side of a picture's pixel in a drawing, in millimetres: the size the user gives, else the
// resolution the user gives, else the one the picture's file states, else 96 dots per inch.

#include <optional>

inline constexpr double DefaultDotsPerInch = 96.0;
inline constexpr double MillimetresPerInch = 25.4;

struct PixelSizeChoice {
    std::optional<double> pixelMillimetres; // --pixel-size
    std::optional<double> dotsPerInch;      // --dpi, or the dialog's resolution field
    std::optional<double> statedDotsPerInch;
};

double pixelMillimetres(const PixelSizeChoice& choice);
// The resolution the dialog shows at first: the stated one, else 96.
double dotsPerInchOrDefault(std::optional<double> stated);
