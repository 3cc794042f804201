#pragma once
// What a pixel run needs from its surroundings besides its two surfaces: the progress display, the
// cancel flag, a yield to the event loop and a way to close the dialog that shows it. The windows
// and the tests hand in their own.

#include "runtime/Boolean.h"

#include <QString>

#include <cstdint>
#include <functional>

class ProgressDisplay {
public:
    virtual ~ProgressDisplay() = default;
    // The length of the full bar (the frame's width), in twips; read for every column.
    virtual double fullBarWidth() const = 0;
    // One column's display: the caption becomes captionPrefix + percent + "%", the bar's text
    // percent + "%" and its width barWidth twips. Both numbers are whole.
    virtual void showProgress(const QString& captionPrefix, double percent, double barWidth) = 0;
};

struct ConversionSteps {
    ProgressDisplay& progress;
    Boolean& cancelFlag;
    std::function<void()> yield;
    std::function<void()> close;
    // How many pixels of walked columns (rows up to their last row) are gathered before they are
    // converted together: a few milliseconds of work, so a cancel or a repaint waits no longer.
    std::int64_t stripPixels = std::int64_t{1} << 22;
    // Set by the run when a cancel stopped it before its last column.
    bool cancelled = false;
};
