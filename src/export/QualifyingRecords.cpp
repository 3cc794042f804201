#include "QualifyingRecords.h"

#include "PointRecord.h"

#include <array>
#include <bit>
#include <cstring>

namespace {

constexpr std::size_t RecordBytes = 24;

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
        std::memset(to + PointRecord::Size, 0, RecordBytes - PointRecord::Size);
    }
}

// Each record is stored and then kept or overwritten, which avoids a hard-to-predict branch per row.
template <typename Test>
std::size_t storeRows(char* out, std::int32_t x, std::int32_t firstY, const std::uint16_t* sums,
                      std::size_t count, Test passes) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const int sum = sums[i];
        // The mean sum / 3 rounded to nearest: its fraction is 0, 1/3 or 2/3, never a tie.
        storeRecord(out + kept * RecordBytes, x, firstY + static_cast<std::int32_t>(i), (sum + 1) / 3);
        kept += passes(sum) ? 1 : 0;
    }
    return kept;
}

} // namespace

std::size_t storeQualifyingRecordsPortable(char* out, std::int32_t x, std::int32_t firstY,
                                           const std::uint16_t* sums, std::size_t count,
                                           ExportPolarity polarity, int limit) {
    switch (polarity) {
    case ExportPolarity::Black:
        return storeRows(out, x, firstY, sums, count, [limit](int sum) { return sum < limit; });
    case ExportPolarity::White:
        return storeRows(out, x, firstY, sums, count, [limit](int sum) { return sum > limit; });
    case ExportPolarity::None:
        break;
    }
    return 0;
}

#if (defined(__GNUC__) || defined(__clang__)) && defined(__x86_64__)
#include <immintrin.h>

namespace {

// Sixteen records are 96 four-byte fields, six vectors of sixteen. Field f of record r is x
// (f = 0), the row (f = 1, from the first source of the two-source permute), the mean (f = 2,
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
static_assert(QualifyingSlack >= 16);

__attribute__((target("avx512f,avx2"))) std::size_t
storeQualifyingRecordsWide(char* out, std::int32_t x, std::int32_t firstY, const std::uint16_t* sums,
                           std::size_t count, ExportPolarity polarity, int limit) {
    if (polarity == ExportPolarity::None) {
        return 0;
    }
    const bool black = polarity == ExportPolarity::Black;
    const __m512i rowOffsets = _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    const __m512i limits = _mm512_set1_epi32(limit);
    const __m512i columns = _mm512_set1_epi32(x);
    const __m256i ones = _mm256_set1_epi16(1);
    // (n * 21846) >> 16 equals n / 3 for every n up to 766, the largest sum + 1.
    const __m256i third = _mm256_set1_epi16(21846);
    __m512i sources[6];
    for (int vector = 0; vector < 6; ++vector) {
        sources[vector] = _mm512_loadu_si512(WideRecords.source[vector].data());
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < count; i += 16) {
        const __m256i narrowSums = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(sums + i));
        // The zero-masked widening: GCC 12 warns about the plain one's undefined fill.
        const __m512i sums32 = _mm512_maskz_cvtepu16_epi32(0xFFFF, narrowSums);
        const __m512i means = _mm512_maskz_cvtepu16_epi32(
            0xFFFF, _mm256_mulhi_epu16(_mm256_add_epi16(narrowSums, ones), third));
        __mmask16 passing =
            black ? _mm512_cmplt_epi32_mask(sums32, limits) : _mm512_cmpgt_epi32_mask(sums32, limits);
        if (count - i < 16) {
            passing &= static_cast<__mmask16>((1u << (count - i)) - 1);
        }
        const __m512i rows =
            _mm512_add_epi32(_mm512_set1_epi32(firstY + static_cast<std::int32_t>(i)), rowOffsets);
        const __m512i keptRows = _mm512_maskz_compress_epi32(passing, rows);
        const __m512i keptMeans = _mm512_maskz_compress_epi32(passing, means);
        char* const to = out + kept * RecordBytes;
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

QualifyingRecordsFunction wideQualifyingRecords() {
    static const bool supported = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx2");
    return supported ? storeQualifyingRecordsWide : nullptr;
}

#else

QualifyingRecordsFunction wideQualifyingRecords() {
    return nullptr;
}

#endif

QualifyingRecordsFunction qualifyingRecords() {
    static const QualifyingRecordsFunction fastest =
        wideQualifyingRecords() ? wideQualifyingRecords() : storeQualifyingRecordsPortable;
    return fastest;
}
