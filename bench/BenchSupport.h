#pragma once
// What the benchmark programs share: a picture of varied pixels, the plain row-major pass every
// figure is measured against, timing and medians.

#include <QImage>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <vector>

// Fills the picture with pseudo-random colours, the same on every run.
inline void fillVariedPixels(QImage& image) {
    std::uint32_t state = 12345;
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            state = state * 1664525u + 1013904223u;
            row[x] = 0xFF000000u | (state >> 8);
        }
    }
}

// A plain row-major read-and-write pass over the pixels: the machine's limit for one picture pass.
inline void plainPass(const QImage& source, QImage& target) {
    // Sizes and pixel memory are taken once: QImage's accessors are calls the compiler cannot lift
    // out of a loop that writes memory, and scanLine() checks for sharing on every row.
    uchar* const targetBits = target.bits();
    const uchar* const sourceBits = source.constBits();
    const qsizetype sourceStride = source.bytesPerLine();
    const qsizetype targetStride = target.bytesPerLine();
    const int width = source.width();
    const int height = source.height();
    for (int y = 0; y < height; ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(sourceBits + y * sourceStride);
        auto* to = reinterpret_cast<QRgb*>(targetBits + y * targetStride);
        for (int x = 0; x < width; ++x) {
            to[x] = from[x] ^ 0x00FFFFFFu;
        }
    }
}

template <typename Work> double millisecondsOf(Work&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
