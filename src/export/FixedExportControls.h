#pragma once
// Export controls set once for a whole export: a fixed polarity and threshold, no progress shown; the
// per-column yield runs the given step (a progress bar, an interruption check) or nothing.

#include "ExportControls.h"

#include <functional>
#include <utility>

class FixedExportControls : public ExportControls {
public:
    FixedExportControls(ExportPolarity polarity, int threshold, std::function<void()> columnStep = {})
        : polarity_(polarity), threshold_(threshold), columnStep_(std::move(columnStep)) {}

    ExportPolarity polarity() const override { return polarity_; }
    int threshold() const override { return threshold_; }
    void showProgress(double) override {}
    void yield() override {
        if (columnStep_) {
            columnStep_();
        }
    }

private:
    ExportPolarity polarity_;
    int threshold_;
    std::function<void()> columnStep_;
};
