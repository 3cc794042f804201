#pragma once
// The payload of one point-data record: three signed 32-bit integers, stored little-endian
// whatever the machine's byte order, in a record of 24 bytes whose rest is zero filler. The header
// record holds {width, height, 0}.

#include <bit>
#include <cstdint>
#include <cstring>

struct PointRecord {
    static constexpr int Size = 12;
    static constexpr int Length = 24;

    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t value = 0;

    // Writes the 12 bytes at `bytes`.
    void storeTo(char* bytes) const {
        const std::int32_t fields[3] = {x, y, value};
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(bytes, fields, Size);
        } else {
            for (int i = 0; i < Size; ++i) {
                bytes[i] = static_cast<char>(static_cast<std::uint32_t>(fields[i / 4]) >> (8 * (i % 4)));
            }
        }
    }
};
