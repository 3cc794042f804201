#pragma once
// Channel sums (0 to 3 · 255) counted in four interleaved tallies, so that neighbouring units of one
// grey do not wait on each other's increments; folded into 64-bit totals before any could overflow.

#include "runtime/ChannelSum.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <utility>
#if defined(__SSE2__) && defined(__x86_64__)
#include <emmintrin.h>
#endif

class SumTally {
public:
    static constexpr std::size_t Levels = 766;
    using Totals = std::array<std::int64_t, Levels>;

    // Tallies sum(c) for c from 0 to count - 1.
    template <typename Sum> void add(std::size_t count, Sum sum) {
        expect(count);
        std::uint32_t* const t0 = tallies_.data();
        std::uint32_t* const t1 = t0 + Stride;
        std::uint32_t* const t2 = t1 + Stride;
        std::uint32_t* const t3 = t2 + Stride;
        std::size_t c = 0;
        for (; c + 4 <= count; c += 4) {
            ++t0[sum(c)];
            ++t1[sum(c + 1)];
            ++t2[sum(c + 2)];
            ++t3[sum(c + 3)];
        }
        for (; c < count; ++c) {
            ++t0[sum(c)];
        }
    }

    // Tallies the channel sums of `count` neighbouring pixels. Four sums are made at once in vector
    // registers and taken out two by two through a general register: a third less time than one by one.
    void addPixels(const QRgb* pixels, std::size_t count) {
#if defined(__SSE2__) && defined(__x86_64__)
        expect(count);
        std::uint32_t* const t0 = tallies_.data();
        std::uint32_t* const t1 = t0 + Stride;
        std::uint32_t* const t2 = t1 + Stride;
        std::uint32_t* const t3 = t2 + Stride;
        const __m128i channel = _mm_set1_epi32(0xFF);
        std::size_t c = 0;
        for (; c + 4 <= count; c += 4) {
            const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + c));
            const __m128i sums = _mm_add_epi32(
                _mm_add_epi32(_mm_and_si128(four, channel), _mm_and_si128(_mm_srli_epi32(four, 8), channel)),
                _mm_and_si128(_mm_srli_epi32(four, 16), channel));
            const auto first = static_cast<std::uint64_t>(_mm_cvtsi128_si64(sums));
            const auto second = static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(sums, sums)));
            ++t0[first & 0xFFFFFFFFu];
            ++t1[first >> 32];
            ++t2[second & 0xFFFFFFFFu];
            ++t3[second >> 32];
        }
        for (; c < count; ++c) {
            ++t0[channelSum(pixels[c])];
        }
#else
        add(count, [pixels](std::size_t c) { return channelSum(pixels[c]); });
#endif
    }

    const Totals& total() {
        fold();
        return total_;
    }

private:
    static constexpr std::size_t Stride = 768; // a tally's sums, rounded up to whole cache lines

    // Folds first when `count` more sums could overflow a tally.
    void expect(std::size_t count) {
        if (pending_ + count > std::numeric_limits<std::uint32_t>::max()) {
            fold();
        }
        pending_ += count;
    }

    void fold() {
        for (std::size_t level = 0; level < Levels; ++level) {
            for (std::size_t k = 0; k < 4; ++k) {
                total_[level] += std::exchange(tallies_[k * Stride + level], 0);
            }
        }
        pending_ = 0;
    }

    std::array<std::uint32_t, 4 * Stride> tallies_{};
    std::uint64_t pending_ = 0; // sums tallied since the last fold: no tally holds more
    Totals total_{};
};
