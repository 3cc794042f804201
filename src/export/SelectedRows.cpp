#include "SelectedRows.h"

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define QUILLET_SELECTION_SSE2 1
#endif

std::uint64_t selectedRows(const std::uint16_t* sums, std::size_t count, SelectedSums selected) {
    std::uint64_t rows = 0;
#ifdef QUILLET_SELECTION_SSE2
    // Sixteen rows per step: first - 1 < sum < end in two 8-lane comparisons each, packed to bytes, gives
    // one bit a row. Sums (at most 765) and the run's ends (-1 to 766) compare correctly as signed 16-bit
    // lanes. Reads whole groups of sixteen sums.
    const __m128i below = _mm_set1_epi16(static_cast<short>(selected.first - 1));
    const __m128i end = _mm_set1_epi16(static_cast<short>(selected.end));
    const auto inside = [&](__m128i lanes) {
        return _mm_and_si128(_mm_cmpgt_epi16(lanes, below), _mm_cmplt_epi16(lanes, end));
    };
    for (std::size_t i = 0; i < count; i += 16) {
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sums + i));
        const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sums + i + 8));
        const __m128i passing = _mm_packs_epi16(inside(low), inside(high));
        rows |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(passing))} << i;
    }
    return count >= 64 ? rows : rows & ((std::uint64_t{1} << count) - 1);
#else
    for (std::size_t i = 0; i < count; ++i) {
        rows |= std::uint64_t{selected.contains(sums[i])} << i;
    }
    return rows;
#endif
}
