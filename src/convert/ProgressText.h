#pragma once
// The texts of one progress step: the dialog caption and the bar's label.

#include <QString>

// captionPrefix + the decimal text of percent + "%" (e.g. "...已经完成:37%").
QString progressCaption(const QString& captionPrefix, double percent);
// The decimal text of percent + "%" (e.g. "37%").
QString progressLabelText(double percent);
