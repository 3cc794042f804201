#pragma once
// A progress display that shows nothing, for pixel runs outside any window.

#include "ConversionSteps.h"

class SilentProgress : public ProgressDisplay {
public:
    double fullBarWidth() const override { return 6135; } // the progress dialog's bar, in twips
    void showProgress(double, double) override {}
};
