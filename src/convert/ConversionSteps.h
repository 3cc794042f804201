#pragma once
// What a pixel run needs from its surroundings besides its two surfaces: a progress display that takes
// numbers, the cancel flag and a yield to the event loop. The windows and the tests hand in their own.

#include "runtime/Boolean.h"

#include <cstdint>
#include <functional>

class ProgressDisplay {
public:
    virtual ~ProgressDisplay() = default;
    // The length of the full bar (the frame's width), in twips; read for every column.
    virtual double fullBarWidth() const = 0;
    // One column's progress: the whole percentage of the run done and the bar's width in twips.
    virtual void showProgress(double percent, double barWidth) = 0;
};

struct ConversionSteps {
    ProgressDisplay& progress;
    // Read before every column; the run leaves it as it finds it.
    const Boolean& cancelFlag;
    std::function<void()> yield;
    // How many pixels of walked columns (rows up to their last row) are gathered before they are
    // converted together: a few milliseconds of work, so a cancel or a repaint waits no longer.
    std::int64_t stripPixels = std::int64_t{1} << 22;
    // Set by the run when a cancel stopped it before its last column.
    bool cancelled = false;
};
