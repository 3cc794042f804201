#include "ChannelSums.h"

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>

namespace {

// The sums of four pixels, one per 32-bit lane.
__m128i sumsOfFour(const QRgb* pixels) {
    const __m128i byte = _mm_set1_epi32(0xFF);
    const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels));
    return _mm_add_epi32(_mm_add_epi32(_mm_and_si128(p, byte), _mm_and_si128(_mm_srli_epi32(p, 8), byte)),
                         _mm_and_si128(_mm_srli_epi32(p, 16), byte));
}

// The sums of eight pixels, one per 16-bit lane (at most 765: no saturation).
__m128i sumsOfEight(const QRgb* pixels) {
    return _mm_packs_epi32(sumsOfFour(pixels), sumsOfFour(pixels + 4));
}

} // namespace

void storeChannelSums8x8(const QRgb* const lines[8], int first, std::uint16_t* out, std::size_t stride) {
    const __m128i r0 = sumsOfEight(lines[0] + first);
    const __m128i r1 = sumsOfEight(lines[1] + first);
    const __m128i r2 = sumsOfEight(lines[2] + first);
    const __m128i r3 = sumsOfEight(lines[3] + first);
    const __m128i r4 = sumsOfEight(lines[4] + first);
    const __m128i r5 = sumsOfEight(lines[5] + first);
    const __m128i r6 = sumsOfEight(lines[6] + first);
    const __m128i r7 = sumsOfEight(lines[7] + first);
    // Interleave rows in pairs (columns 0-3 and 4-7), then in fours, then in eights.
    const __m128i p01 = _mm_unpacklo_epi16(r0, r1), q01 = _mm_unpackhi_epi16(r0, r1);
    const __m128i p23 = _mm_unpacklo_epi16(r2, r3), q23 = _mm_unpackhi_epi16(r2, r3);
    const __m128i p45 = _mm_unpacklo_epi16(r4, r5), q45 = _mm_unpackhi_epi16(r4, r5);
    const __m128i p67 = _mm_unpacklo_epi16(r6, r7), q67 = _mm_unpackhi_epi16(r6, r7);
    const __m128i top01 = _mm_unpacklo_epi32(p01, p23), top23 = _mm_unpackhi_epi32(p01, p23);
    const __m128i top45 = _mm_unpacklo_epi32(q01, q23), top67 = _mm_unpackhi_epi32(q01, q23);
    const __m128i low01 = _mm_unpacklo_epi32(p45, p67), low23 = _mm_unpackhi_epi32(p45, p67);
    const __m128i low45 = _mm_unpacklo_epi32(q45, q67), low67 = _mm_unpackhi_epi32(q45, q67);
    const __m128i columns[8] = {_mm_unpacklo_epi64(top01, low01), _mm_unpackhi_epi64(top01, low01),
                                _mm_unpacklo_epi64(top23, low23), _mm_unpackhi_epi64(top23, low23),
                                _mm_unpacklo_epi64(top45, low45), _mm_unpackhi_epi64(top45, low45),
                                _mm_unpacklo_epi64(top67, low67), _mm_unpackhi_epi64(top67, low67)};
    for (std::size_t c = 0; c < 8; ++c) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + c * stride), columns[c]);
    }
}

#else

void storeChannelSums8x8(const QRgb* const lines[8], int first, std::uint16_t* out, std::size_t stride) {
    for (int c = 0; c < 8; ++c) {
        for (int k = 0; k < 8; ++k) {
            out[c * stride + k] = static_cast<std::uint16_t>(channelSum(lines[k][first + c]));
        }
    }
}

#endif
