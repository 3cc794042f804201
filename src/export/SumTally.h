#pragma once
// Channel sums (0 to 3 · 255) counted in four interleaved tallies, so that neighbouring units of one
// grey do not wait on each other's increments; folded into 64-bit totals before any could overflow.

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <utility>

class SumTally {
public:
    static constexpr std::size_t Levels = 766;
    using Totals = std::array<std::int64_t, Levels>;

    // Tallies sum(c) for c from 0 to count - 1.
    template <typename Sum> void add(std::size_t count, Sum sum) {
        if (pending_ + count > std::numeric_limits<std::uint32_t>::max()) {
            fold();
        }
        pending_ += count;
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

    const Totals& total() {
        fold();
        return total_;
    }

private:
    static constexpr std::size_t Stride = 768; // a tally's sums, rounded up to whole cache lines

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
