#include "ColumnWalk.h"

#include "runtime/Numbers.h"

#include <array>

namespace {

double fractionOf(std::int32_t x, double width) {
    return width == 0.0 ? 0.0 : x / width;
}

} // namespace

// Why converting a block of columns after their steps gives exactly the column-by-column result:
// the steps (display, cancel test, yield, last row) read no pixel; during a run nothing else reads
// the target (its window is still loading behind the modal dialog) or changes the source; and each
// column's pixels depend only on the source and that column's last row. So the pixels of columns
// whose steps have run may be written later and in any order that gives each target pixel the same
// last write. A cancel found at column c converts the pending columns before c and stops, leaving
// exactly the columns before c converted, as the column-by-column walk does.
void walkColumns(ConversionSteps& steps, const ColumnWalk& walk) {
    std::array<WalkedColumn, WalkBlockColumns> block;
    std::size_t pending = 0;
    const auto convertPending = [&] {
        const std::size_t count = pending;
        pending = 0;
        if (count > 0) {
            walk.convert(std::span<const WalkedColumn>(block.data(), count));
        }
    };
    try {
        for (std::int32_t x = 0; x <= walk.lastColumn; x = checkedAdd32(x, walk.step)) {
            const double percent = roundDown(fractionOf(x, walk.progressWidth()) * 100.0);
            const double barWidth =
                roundDown(fractionOf(x, walk.progressWidth()) * steps.progress.fullBarWidth());
            steps.progress.showProgress(walk.captionPrefix, percent, barWidth);
            if (steps.cancelFlag == BooleanTrue) {
                break;
            }
            steps.yield();
            const std::int32_t lastRow = walk.lastRow();
            block[pending] = WalkedColumn{x, lastRow};
            if (++pending == block.size()) {
                convertPending();
            }
        }
        convertPending();
    } catch (...) {
        convertPending();
        throw;
    }
    steps.close();
    steps.cancelFlag = BooleanFalse;
}
