#pragma once
// Bars over the export dialog's grey ramp: how many of the source's pixels have each grey level (square-root
// scaled so that small classes show), the share the export writes in the preview's colour, and the
// threshold marked by a line. It lies over the ramp and takes no input.

#include "HistogramLevels.h"

#include <QWidget>

class ThresholdHistogram : public QWidget {
    Q_OBJECT
public:
    explicit ThresholdHistogram(QWidget* parent);

    // The source's pixels by channel sum.
    void setCounts(const SumHistogram::SumCounts& counts);
    // No source: no bars and no mark.
    void clear();
    void setSelection(ExportPolarity polarity, int threshold);

    bool hasCounts() const { return hasCounts_; }
    const HistogramLevels& levels() const { return levels_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void count();

    SumHistogram::SumCounts counts_{};
    HistogramLevels levels_;
    bool hasCounts_ = false;
    ExportPolarity polarity_ = ExportPolarity::Black;
    int threshold_ = 0;
};
