#pragma once
// The pictures the export benchmarks share: the photo-like 6000 x 4000 picture of bench/road.sh, made
// grey as the conversion does, and a 2000 x 2000 picture of random grain, the worst case for shapes.

#include "runtime/PictureSurface.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>

// The photo-like picture of bench/road.sh, made grey as the conversion does: soft light over the frame,
// large smooth shapes with edges, fine grain (the grain's numbers differ from numpy's, not its spread).
inline PictureSurface photoLike() {
    constexpr int Width = 6000;
    constexpr int Height = 4000;
    PictureSurface surface(0, Width, Height);
    QImage& image = surface.image();
    std::uint32_t seed = 7;
    const auto grain = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>((seed >> 8) % 19) - 9.0f;
    };
    const float waves[3][3] = {{170, 230, 0.0f}, {210, 150, 1.3f}, {260, 190, 2.1f}};
    const float discs[3][4] = {{1500, 1200, 700, -90}, {4200, 2600, 1000, 70}, {3000, 900, 400, -50}};
    for (int y = 0; y < Height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < Width; ++x) {
            const float fx = static_cast<float>(x);
            const float fy = static_cast<float>(y);
            const float light = 128 + 70 * std::sin(fx / 900 + fy / 1300) * std::cos(fy / 700);
            float shade = 0;
            for (const auto& disc : discs) {
                if ((fx - disc[0]) * (fx - disc[0]) + (fy - disc[1]) * (fy - disc[1]) < disc[2] * disc[2]) {
                    shade += disc[3];
                }
            }
            int sum = 0;
            for (const auto& wave : waves) {
                const float value = light +
                                    35 * std::sin(fx / wave[0] + wave[2]) * std::sin(fy / wave[1] - wave[2]) +
                                    shade + grain();
                sum += std::clamp(static_cast<int>(value), 0, 255);
            }
            const int grey = (sum + 1) / 3;
            line[x] = qRgb(grey, grey, grey);
        }
    }
    return surface;
}

// Each pixel black with probability 1/2.
inline PictureSurface randomGrain() {
    constexpr int Side = 2000;
    PictureSurface surface(0, Side, Side);
    QImage& image = surface.image();
    std::mt19937 random(2000);
    for (int y = 0; y < Side; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < Side; ++x) {
            line[x] = (random() & 1) != 0 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
        }
    }
    return surface;
}
