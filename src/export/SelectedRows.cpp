#include "SelectedRows.h"

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define QUILLET_SELECTION_SSE2 1
#endif

namespace {

#ifdef QUILLET_SELECTION_SSE2
// Sixteen rows per step: two 8-lane comparisons packed to bytes give one bit a row. Sums are at most
// 765 and so compare correctly as signed 16-bit lanes. Reads whole groups of sixteen sums.
template <bool Black> std::uint64_t rowsPassing(const std::uint16_t* sums, std::size_t count, int limit) {
    const __m128i limits = _mm_set1_epi16(static_cast<short>(limit));
    std::uint64_t selected = 0;
    for (std::size_t i = 0; i < count; i += 16) {
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sums + i));
        const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sums + i + 8));
        const __m128i passing =
            Black ? _mm_packs_epi16(_mm_cmplt_epi16(low, limits), _mm_cmplt_epi16(high, limits))
                  : _mm_packs_epi16(_mm_cmpgt_epi16(low, limits), _mm_cmpgt_epi16(high, limits));
        selected |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(passing))} << i;
    }
    return count >= 64 ? selected : selected & ((std::uint64_t{1} << count) - 1);
}
#else
template <bool Black> std::uint64_t rowsPassing(const std::uint16_t* sums, std::size_t count, int limit) {
    std::uint64_t selected = 0;
    for (std::size_t i = 0; i < count; ++i) {
        selected |= std::uint64_t{Black ? sums[i] < limit : sums[i] > limit} << i;
    }
    return selected;
}
#endif

} // namespace

std::uint64_t selectedRows(const std::uint16_t* sums, std::size_t count, ExportPolarity polarity, int limit) {
    switch (polarity) {
    case ExportPolarity::Black:
        return rowsPassing<true>(sums, count, limit);
    case ExportPolarity::White:
        return rowsPassing<false>(sums, count, limit);
    case ExportPolarity::None:
        break;
    }
    return 0;
}
