#pragma once
// The 16-bit Boolean of the shared state and of option values: True is -1, False is 0.

#include <cstdint>

using Boolean = std::int16_t;

constexpr Boolean BooleanTrue = -1;
constexpr Boolean BooleanFalse = 0;

constexpr Boolean toBoolean(bool value) {
    return value ? BooleanTrue : BooleanFalse;
}
