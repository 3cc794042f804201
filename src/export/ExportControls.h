#pragma once
// What the point-data writer needs from the dialog that runs it: the polarity and threshold (read
// for every column, so a change made during an export applies from the next column on), the
// progress and the once-per-column yield to the event loop.

#include "runtime/SelectionRule.h"

class ExportControls {
public:
    virtual ~ExportControls() = default;
    virtual ExportPolarity polarity() const = 0;
    virtual int threshold() const = 0;
    // The whole percentage of columns done, after each column's yield; past 100 where the picture's
    // scale width is not a whole number.
    virtual void showProgress(double percent) = 0;
    virtual void yield() = 0;
};
