#pragma once
// The export dialog's controls as quillet-export sets them once: a fixed polarity and threshold, no
// caption, no events to run; the per-column yield advances the stage's progress bar and takes an
// interruption.

#include "TerminalProgress.h"
#include "export/ExportControls.h"

#include <cstdint>

class BatchExportControls : public ExportControls {
public:
    BatchExportControls(ExportPolarity polarity, int threshold, std::int32_t columns, TerminalProgress& bar);

    ExportPolarity polarity() const override { return polarity_; }
    int threshold() const override { return threshold_; }
    void showCaption(const QString&) override {}
    void yield() override;

private:
    ExportPolarity polarity_;
    int threshold_;
    std::int32_t columns_;
    std::int32_t started_ = 0;
    TerminalProgress& bar_;
};
