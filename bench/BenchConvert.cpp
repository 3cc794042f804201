// Times the grey conversion and the half-resolution reduction on a 6000 x 4000 picture against a
// plain row-major read-and-write pass over the same pixels, in one process, and prints the medians.

#include "BenchSupport.h"
#include "convert/GreyConversion.h"
#include "convert/HalfReduction.h"
#include "convert/SilentProgress.h"
#include "runtime/HalfResolutionScale.h"
#include "runtime/MemoryReuse.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr int Width = 6000;
constexpr int Height = 4000;
constexpr int Rounds = 11;

PictureSurface variedPicture() {
    PictureSurface surface(0, Width, Height);
    fillVariedPixels(surface.image());
    return surface;
}

} // namespace

int main() {
    keepFreedMemoryForReuse(); // as the programs do
    const PictureSurface source = variedPicture();
    PictureSurface grey(0, Width, Height);
    PictureSurface half(0, Width, Height);
    setHalfResolutionScale(half, source);
    SilentProgress display;
    Boolean cancelFlag = BooleanFalse;
    ConversionSteps steps{display, cancelFlag, [] {}};

    // The per-column steps alone: as many columns, one row.
    const PictureSurface line(0, Width, 1);
    PictureSurface lineGrey(0, Width, 1);

    std::vector<double> plain, toBlack, toScale, walk;
    for (int round = 0; round < Rounds; ++round) {
        plain.push_back(millisecondsOf([&] { plainPass(source.image(), grey.image()); }));
        toBlack.push_back(millisecondsOf([&] { convertToGrey(source, grey, steps); }));
        toScale.push_back(millisecondsOf([&] { reduceToHalf(grey, source, half, steps); }));
        walk.push_back(millisecondsOf([&] { convertToGrey(line, lineGrey, steps); }));
    }
    const double plainMs = median(plain);
    std::printf("picture %d x %d, median of %d runs\n", Width, Height, Rounds);
    std::printf("plain row-major pass  %8.2f ms\n", plainMs);
    std::printf("convertToGrey         %8.2f ms  %5.2f x plain\n", median(toBlack),
                median(toBlack) / plainMs);
    std::printf("reduceToHalf          %8.2f ms  %5.2f x plain\n", median(toScale),
                median(toScale) / plainMs);
    std::printf("column steps alone    %8.2f ms  (%d columns, one row)\n", median(walk), Width);
    std::printf("(grey pixel at the centre 0x%08x)\n", grey.image().pixel(Width / 2, Height / 2));
    return 0;
}
