#pragma once
// Number conversions and checked integer arithmetic with the runtime's rules: conversions to
// 16- and 32-bit integers round to nearest with ties to even (not away from zero, as std::lround
// does) and raise "Overflow" out of range; Int rounds down.

#include <QString>

#include <cstdint>

std::int16_t toInteger16(double value);
std::int32_t toInteger32(double value);

// Int(value): the largest whole number not above value, still as a floating value.
double roundDown(double value);

std::int16_t checkedAdd16(std::int32_t a, std::int32_t b);
std::int16_t checkedMultiply16(std::int32_t a, std::int32_t b);
std::int32_t checkedAdd32(std::int64_t a, std::int64_t b);

// The decimal text of a whole number: digits only, a minus sign when negative, no leading space.
QString decimalText(double wholeNumber);
