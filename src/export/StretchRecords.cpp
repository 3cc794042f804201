#include "StretchRecords.h"

#include "PointRecord.h"
#include "runtime/GreyOfSum.h"

#include <array>
#include <bit>
#include <cstring>

namespace {

// The record with zero filler at `to`.
inline void storeRecord(char* to, std::int32_t x, std::int32_t y, std::int32_t value) {
    if constexpr (std::endian::native == std::endian::little) {
        // Three 8-byte stores straight from registers: a record built on the stack and copied
        // would stall on every row.
        const std::uint64_t position =
            static_cast<std::uint32_t>(x) | std::uint64_t{static_cast<std::uint32_t>(y)} << 32;
        const std::uint64_t level = static_cast<std::uint32_t>(value);
        const std::uint64_t filler = 0;
        std::memcpy(to, &position, 8);
        std::memcpy(to + 8, &level, 8);
        std::memcpy(to + 16, &filler, 8);
    } else {
        PointRecord{x, y, value}.storeTo(to);
        std::memset(to + PointRecord::Size, 0, PointRecord::Length - PointRecord::Size);
    }
}

} // namespace

// Each record is stored and then kept or overwritten, which avoids a hard-to-predict branch per row.
std::size_t storeStretchRecordsPortable(char* out, const ColumnStretch& stretch) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < stretch.count; ++i) {
        storeRecord(out + kept * PointRecord::Length, stretch.x,
                    stretch.firstY + static_cast<std::int32_t>(i),
                    static_cast<std::int32_t>(greyOfSum(stretch.sums[i])));
        kept += (stretch.selected >> i) & 1u;
    }
    return kept;
}

#if (defined(__GNUC__) || defined(__clang__)) && defined(__x86_64__)
#include <immintrin.h>

namespace {

// Sixteen records are 96 four-byte fields, six vectors of sixteen. Field f of record r is x
// (f = 0), the row (f = 1, from the first source of the two-source permute), the grey level (f = 2,
// from the second) or filler (f = 3 to 5).
struct WideLayout {
    std::array<std::array<std::int32_t, 16>, 6> source{};
    std::array<std::uint16_t, 6> permuted{};
    std::array<std::uint16_t, 6> column{};
};

constexpr WideLayout wideLayout() {
    WideLayout layout;
    for (int field = 0; field < 96; ++field) {
        const int vector = field / 16;
        const int lane = field % 16;
        const int record = field / 6;
        switch (field % 6) {
        case 0:
            layout.column[vector] |= static_cast<std::uint16_t>(1u << lane);
            break;
        case 1:
            layout.source[vector][lane] = record;
            layout.permuted[vector] |= static_cast<std::uint16_t>(1u << lane);
            break;
        case 2:
            layout.source[vector][lane] = 16 + record;
            layout.permuted[vector] |= static_cast<std::uint16_t>(1u << lane);
            break;
        default:
            break;
        }
    }
    return layout;
}

constexpr WideLayout WideRecords = wideLayout();
static_assert(StretchSlack >= 16 && PointRecord::Length * 16 == 6 * 64);

__attribute__((target("avx512f,avx2"))) std::size_t storeStretchRecordsWide(char* out,
                                                                            const ColumnStretch& stretch) {
    const __m512i rowOffsets = _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    const __m512i columns = _mm512_set1_epi32(stretch.x);
    const __m256i ones = _mm256_set1_epi16(1);
    const __m256i third = _mm256_set1_epi16(static_cast<short>(GreyOfSumFactor));
    __m512i sources[6];
    for (int vector = 0; vector < 6; ++vector) {
        sources[vector] = _mm512_loadu_si512(WideRecords.source[vector].data());
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < stretch.count; i += 16) {
        const __mmask16 passing = static_cast<__mmask16>(stretch.selected >> i);
        if (passing == 0) {
            continue;
        }
        const __m256i sums = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(stretch.sums + i));
        const __m256i levels =
            _mm256_srli_epi16(_mm256_mulhi_epu16(_mm256_add_epi16(sums, ones), third), GreyOfSumShift - 16);
        // The zero-masked widening: GCC 12 warns about the plain one's undefined fill.
        const __m512i means = _mm512_maskz_cvtepu16_epi32(0xFFFF, levels);
        const __m512i rows =
            _mm512_add_epi32(_mm512_set1_epi32(stretch.firstY + static_cast<std::int32_t>(i)), rowOffsets);
        const __m512i keptRows = _mm512_maskz_compress_epi32(passing, rows);
        const __m512i keptMeans = _mm512_maskz_compress_epi32(passing, means);
        char* const to = out + kept * PointRecord::Length;
        for (int vector = 0; vector < 6; ++vector) {
            const __m512i fields =
                _mm512_mask_mov_epi32(_mm512_maskz_permutex2var_epi32(WideRecords.permuted[vector], keptRows,
                                                                      sources[vector], keptMeans),
                                      WideRecords.column[vector], columns);
            _mm512_storeu_si512(to + 64 * vector, fields);
        }
        kept += static_cast<std::size_t>(std::popcount(static_cast<unsigned>(passing)));
    }
    return kept;
}

} // namespace

StretchRecordsFunction wideStretchRecords() {
    static const bool supported = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx2");
    return supported ? storeStretchRecordsWide : nullptr;
}

#else

StretchRecordsFunction wideStretchRecords() {
    return nullptr;
}

#endif

StretchRecordsFunction stretchRecords() {
    static const StretchRecordsFunction fastest =
        wideStretchRecords() ? wideStretchRecords() : storeStretchRecordsPortable;
    return fastest;
}
