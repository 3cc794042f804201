#include "Numbers.h"

#include "RuntimeError.h"

#include <cmath>
#include <limits>

namespace {

double roundHalfEven(double value) {
    if (std::isnan(value)) {
        throw RuntimeError::overflow();
    }
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction > 0.5) {
        return lower + 1.0;
    }
    if (fraction < 0.5) {
        return lower;
    }
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

template <typename Integer> Integer toInteger(double value) {
    const double rounded = roundHalfEven(value);
    if (rounded < static_cast<double>(std::numeric_limits<Integer>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<Integer>::max())) {
        throw RuntimeError::overflow();
    }
    return static_cast<Integer>(rounded);
}

template <typename Integer> Integer checkedResult(std::int64_t result) {
    if (result < std::numeric_limits<Integer>::min() || result > std::numeric_limits<Integer>::max()) {
        throw RuntimeError::overflow();
    }
    return static_cast<Integer>(result);
}

} // namespace

std::int16_t toInteger16(double value) {
    return toInteger<std::int16_t>(value);
}

std::int32_t toInteger32(double value) {
    return toInteger<std::int32_t>(value);
}

double roundDown(double value) {
    return std::floor(value);
}

std::int16_t checkedAdd16(std::int32_t a, std::int32_t b) {
    return checkedResult<std::int16_t>(std::int64_t{a} + b);
}

std::int16_t checkedMultiply16(std::int32_t a, std::int32_t b) {
    return checkedResult<std::int16_t>(std::int64_t{a} * b);
}

std::int32_t checkedAdd32(std::int64_t a, std::int64_t b) {
    return checkedResult<std::int32_t>(a + b);
}

QString decimalText(double wholeNumber) {
    return QString::number(static_cast<qint64>(wholeNumber));
}
