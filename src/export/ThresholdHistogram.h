#pragma once
// Bars over the export dialog's grey ramp: how many of the source's pixels have each grey level (square-root
// scaled so that small classes show), the levels the export writes in the preview's colour, and the
// threshold marked by a line. It lies over the ramp and takes no input.

#include "ExportControls.h"
#include "SelectionCount.h"

#include <QWidget>

#include <array>
#include <cstdint>

class ThresholdHistogram : public QWidget {
    Q_OBJECT
public:
    explicit ThresholdHistogram(QWidget* parent);

    // Pixels of each grey level (channel sum / 3, rounded down) from the source's sums.
    void setCounts(const SelectionCount::SumCounts& counts);
    // No source: no bars and no mark.
    void clear();
    void setSelection(ExportPolarity polarity, int threshold);

    bool hasCounts() const { return hasCounts_; }
    const std::array<std::int64_t, 256>& levels() const { return levels_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::array<std::int64_t, 256> levels_{};
    bool hasCounts_ = false;
    ExportPolarity polarity_ = ExportPolarity::Black;
    int threshold_ = 0;
};
