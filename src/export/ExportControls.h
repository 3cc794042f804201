#pragma once
// What an export needs from whoever runs it (the dialog, the command, a test), in every format: the
// polarity and threshold (read for every column, so that a change made in the dialog during an export
// applies from the next column on), the progress and the once-per-column yield to the event loop.

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
