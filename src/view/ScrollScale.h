#pragma once
// How scroll units map to picture pixels on one axis. One unit is one pixel while the excess fits
// the scroll bar's 16-bit range; a larger excess is covered by units of several whole pixels, so
// that the whole picture can still be scrolled into view.

#include <cstdint>

class ScrollScale {
public:
    // One pixel per unit.
    ScrollScale() = default;
    // The scale for a picture that exceeds the viewport by this many pixels (> 0).
    static ScrollScale forExcess(float excess);

    int pixelsPerUnit() const { return pixelsPerUnit_; }
    // The scroll bar's Max: the excess in units, converted with ties to even.
    std::int16_t maxUnits() const { return maxUnits_; }
    // The picture's offset for a scroll value: minus the value in pixels, never beyond the excess.
    float offsetAt(std::int16_t value) const;

private:
    ScrollScale(int pixelsPerUnit, std::int16_t maxUnits, float excess);

    int pixelsPerUnit_ = 1;
    std::int16_t maxUnits_ = 0;
    float excess_ = 0.0f;
};
