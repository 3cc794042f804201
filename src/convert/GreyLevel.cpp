#include "GreyLevel.h"

#include "runtime/Numbers.h"

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define QUILLET_GREY_SSE2 1
#endif

std::int16_t GreyLevel(const ColourChannels& channels) {
    std::int16_t sum = checkedAdd16(channels.green, channels.red);
    sum = checkedAdd16(sum, channels.blue);
    return toInteger16(sum / 3.0);
}

void greyStoredRow(const QRgb* from, QRgb* to, int count) {
    int index = 0;
#ifdef QUILLET_GREY_SSE2
    // Four pixels at once in 16-bit lanes: (blue + green, red) summed pairwise gives s, greyOfSum's
    // product taken as a high half and shifted once more gives k, and k * 0x0101 | k << 16 spreads it
    // over the three channels. A test compares it with greyStoredPixel on every colour.
    const __m128i lowBytes = _mm_set1_epi32(0x00FF00FF);
    const __m128i lowByte = _mm_set1_epi32(0x000000FF);
    const __m128i pairSum = _mm_set1_epi32(0x00010001);
    const __m128i one = _mm_set1_epi32(1);
    const __m128i third = _mm_set1_epi32(static_cast<int>(GreyOfSumFactor));
    const __m128i twoBytes = _mm_set1_epi32(0x0101);
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    for (; index + 4 <= count; index += 4) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + index));
        const __m128i blueRed = _mm_and_si128(pixels, lowBytes);
        const __m128i green = _mm_and_si128(_mm_srli_epi16(pixels, 8), lowByte);
        const __m128i sum = _mm_add_epi32(_mm_madd_epi16(_mm_add_epi16(blueRed, green), pairSum), one);
        const __m128i level = _mm_srli_epi16(_mm_mulhi_epu16(sum, third), GreyOfSumShift - 16);
        const __m128i grey = _mm_or_si128(_mm_mullo_epi16(level, twoBytes), _mm_slli_epi32(level, 16));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + index), _mm_or_si128(grey, opaque));
    }
#endif
    for (; index < count; ++index) {
        to[index] = greyStoredPixel(from[index]);
    }
}
