#include "RecordingSteps.h"

#include "convert/ProgressText.h"

RecordingSteps::RecordingSteps()
    : steps{*this, cancelFlag,
            [this] {
                if (onYield) {
                    onYield(++yields);
                } else {
                    ++yields;
                }
            },
            [this] {
                ++closes;
                flagAtClose = cancelFlag;
            }} {}

void RecordingSteps::showProgress(const QString& captionPrefix, double percent, double barWidth) {
    shown.append({progressCaption(captionPrefix, percent), progressLabelText(percent), percent, barWidth});
}

QList<double> RecordingSteps::percents() const {
    QList<double> values;
    for (const Shown& step : shown) {
        values.append(step.percent);
    }
    return values;
}
