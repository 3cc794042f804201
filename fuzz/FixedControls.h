#pragma once
// Export controls that never change during an export and show nothing, for exports outside any
// window.

#include "export/ExportControls.h"

class FixedControls : public ExportControls {
public:
    FixedControls(ExportPolarity polarity, int threshold) : polarity_(polarity), threshold_(threshold) {}
    ExportPolarity polarity() const override { return polarity_; }
    int threshold() const override { return threshold_; }
    void showCaption(const QString&) override {}
    void yield() override {}

private:
    ExportPolarity polarity_;
    int threshold_;
};
