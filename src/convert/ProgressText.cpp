#include "ProgressText.h"

#include "runtime/Numbers.h"

QString progressCaption(const QString& captionPrefix, double percent) {
    return captionPrefix + progressLabelText(percent);
}

QString progressLabelText(double percent) {
    return decimalText(percent) + QLatin1Char('%');
}
