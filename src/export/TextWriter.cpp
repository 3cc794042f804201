#include "TextWriter.h"

#include "runtime/OutputFile.h"

#include <algorithm>
#include <cmath>

void TextWriter::flush() {
    if (at_ != start_) {
        file_.advance(static_cast<std::size_t>(at_ - start_));
        kept_ += at_ - start_;
    }
    start_ = at_ = end_ = nullptr;
}

void TextWriter::renew(std::size_t bytes) {
    flush();
    const std::size_t size = std::max(bytes, WindowBytes);
    start_ = at_ = file_.reserve(size);
    end_ = start_ + size;
}

char* TextWriter::storeNumber(char* at, double value) {
    // Plain notation where a drawing's numbers lie, as every reader takes it; the exponent only
    // for sizes no picture has, where plain notation would run to hundreds of digits.
    const double magnitude = std::fabs(value);
    const bool plain = magnitude == 0.0 || (magnitude >= 1e-6 && magnitude < 1e15);
    return plain ? std::to_chars(at, at + NumberBytes, value, std::chars_format::fixed).ptr
                 : std::to_chars(at, at + NumberBytes, value).ptr;
}

char* TextWriter::storeHexadecimal(char* at, std::uint64_t value) {
    char* const end = std::to_chars(at, at + NumberBytes, value, 16).ptr;
    std::transform(at, end, at, [](char c) { return c >= 'a' ? static_cast<char>(c - 'a' + 'A') : c; });
    return end;
}
