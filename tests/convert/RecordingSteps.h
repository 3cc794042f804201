#pragma once
// A stand-in for the progress dialog of a pixel run: records every display, yield and close, and
// can act at a chosen yield (numbered from 1), e.g. to set the cancel flag.

#include "convert/ConversionSteps.h"

#include <QList>
#include <QString>

#include <functional>

class RecordingSteps : public ProgressDisplay {
public:
    struct Shown {
        QString caption;
        QString label;
        double percent;
        double barWidth;
    };

    RecordingSteps();
    RecordingSteps(const RecordingSteps&) = delete;
    RecordingSteps& operator=(const RecordingSteps&) = delete;

    double fullBarWidth() const override { return frameWidth; }
    void showProgress(const QString& captionPrefix, double percent, double barWidth) override;
    QList<double> percents() const;

    double frameWidth = 6135;
    Boolean cancelFlag = BooleanFalse;
    std::function<void(int)> onYield;
    QList<Shown> shown;
    int yields = 0;
    int closes = 0;
    Boolean flagAtClose = BooleanFalse;
    ConversionSteps steps;
};
