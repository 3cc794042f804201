#pragma once
// The grey level of a channel sum (red + green + blue): the sum divided by three, rounded to nearest,
// in the integer form every pixel loop uses.

#include <cstdint>

// (s + 1) div 3 for s in 0..765: the quotient's fraction is 0, 1/3 or 2/3, so rounding never meets a
// tie. GreyOfSumFactor / 2^17 lies just above 1/3, close enough that the product never crosses a whole
// number; vector code takes the high half of a 16-bit product and shifts once more.
inline constexpr std::uint32_t GreyOfSumFactor = 43691;
inline constexpr int GreyOfSumShift = 17;

constexpr std::uint32_t greyOfSum(std::uint32_t sum) {
    return ((sum + 1u) * GreyOfSumFactor) >> GreyOfSumShift;
}

constexpr bool greyOfSumIsExact() {
    for (std::uint32_t sum = 0; sum <= 765; ++sum) {
        if (greyOfSum(sum) != (sum + 1) / 3) {
            return false;
        }
    }
    return true;
}
static_assert(greyOfSumIsExact());
