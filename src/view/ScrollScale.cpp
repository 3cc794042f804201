#include "ScrollScale.h"

#include "runtime/Numbers.h"
#include "runtime/RuntimeError.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double LargestMax = 32767.0;

} // namespace

ScrollScale::ScrollScale(int pixelsPerUnit, std::int16_t maxUnits, float excess)
    : pixelsPerUnit_(pixelsPerUnit), maxUnits_(maxUnits), excess_(excess) {}

ScrollScale ScrollScale::forExcess(float excess) {
    // Below LargestMax + 0.5 the excess rounds into the 16-bit range: one pixel per unit.
    if (static_cast<double>(excess) < LargestMax + 0.5) {
        return ScrollScale(1, toInteger16(excess), excess);
    }
    // Picture sizes are whole 32-bit pixel counts; anything beyond is no size a picture can have.
    if (!(static_cast<double>(excess) <= 4294967296.0)) {
        throw RuntimeError::overflow();
    }
    const double pixels = std::ceil(static_cast<double>(excess) / LargestMax);
    const double units = std::ceil(static_cast<double>(excess) / pixels);
    return ScrollScale(static_cast<int>(pixels), static_cast<std::int16_t>(units), excess);
}

float ScrollScale::offsetAt(std::int16_t value) const {
    if (pixelsPerUnit_ == 1) {
        return -static_cast<float>(value);
    }
    // The last unit may reach past the excess; stop at the picture's far edge.
    return -std::min(static_cast<float>(static_cast<double>(value) * pixelsPerUnit_), excess_);
}
