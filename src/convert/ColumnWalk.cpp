#include "ColumnWalk.h"

#include "runtime/Numbers.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace {

double fractionOf(std::int32_t x, double width) {
    return width == 0.0 ? 0.0 : x / width;
}

// The walked columns not yet converted, as runs of equal last rows (their pixels depend on nothing
// else), converted once they hold stripPixels pixels.
class PendingColumns {
public:
    PendingColumns(const ColumnWalk& walk, std::int64_t stripPixels)
        : walk_(walk), stripPixels_(stripPixels) {}

    void add(std::int32_t x, std::int32_t lastRow) {
        if (count_ == 0 || runs_[count_ - 1].lastRow != lastRow) {
            if (count_ == runs_.size()) {
                convert();
            }
            runs_[count_++] = WalkedColumns{x, 0, lastRow};
        }
        ++runs_[count_ - 1].count;
        pixels_ += std::max<std::int64_t>(std::int64_t{lastRow} + 1, 1);
        if (pixels_ >= stripPixels_) {
            convert();
        }
    }

    void convert() {
        const std::size_t count = count_;
        count_ = 0;
        pixels_ = 0;
        for (std::size_t index = 0; index < count; ++index) {
            walk_.convert(runs_[index]);
        }
    }

private:
    const ColumnWalk& walk_;
    const std::int64_t stripPixels_;
    std::array<WalkedColumns, 8> runs_;
    std::size_t count_ = 0;
    std::int64_t pixels_ = 0;
};

} // namespace

// Why converting walked columns later, strip by strip, gives exactly the column-by-column result:
// the steps (display, cancel test, yield, last row) read no pixel; during a run nothing else reads
// the target (its window is still loading behind the modal dialog) or changes the source; and each
// column's pixels depend only on the source and that column's last row. So walked columns may be
// converted later, in any order that leaves every target pixel with the same last write: the strips
// write each target pixel at most once and go row by row; the Point/PSet path, where positions may
// share a pixel, keeps the column order. A cancel found at column c converts the pending columns
// (all before c) and stops, leaving exactly the columns before c converted.
void walkColumns(ConversionSteps& steps, const ColumnWalk& walk) {
    PendingColumns pending(walk, steps.stripPixels);
    try {
        for (std::int32_t x = 0; x <= walk.lastColumn; x = checkedAdd32(x, walk.step)) {
            const double percent = roundDown(fractionOf(x, walk.progressWidth()) * 100.0);
            const double barWidth =
                roundDown(fractionOf(x, walk.progressWidth()) * steps.progress.fullBarWidth());
            steps.progress.showProgress(percent, barWidth);
            if (steps.cancelFlag == BooleanTrue) {
                steps.cancelled = true;
                break;
            }
            steps.yield();
            pending.add(x, walk.lastRow());
        }
        pending.convert();
    } catch (...) {
        pending.convert();
        throw;
    }
}
