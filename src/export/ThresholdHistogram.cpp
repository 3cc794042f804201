#include "ThresholdHistogram.h"

#include "SelectionMarks.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// The bars leave the ramp's top third in sight.
constexpr double BarShare = 0.7;
const QColor KeptColour(0, 160, 255);

} // namespace

ThresholdHistogram::ThresholdHistogram(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ThresholdHistogram::setCounts(const SumHistogram::SumCounts& counts) {
    if (!hasCounts_ || counts != counts_) {
        counts_ = counts;
        hasCounts_ = true;
        count();
    }
}

void ThresholdHistogram::clear() {
    if (hasCounts_) {
        hasCounts_ = false;
        update();
    }
}

void ThresholdHistogram::setSelection(ExportPolarity polarity, int threshold) {
    if (polarity != polarity_ || threshold != threshold_) {
        polarity_ = polarity;
        threshold_ = threshold;
        count();
    }
}

void ThresholdHistogram::count() {
    levels_ = histogramLevels(counts_, polarity_, threshold_);
    update();
}

void ThresholdHistogram::paintEvent(QPaintEvent*) {
    if (!hasCounts_) {
        return;
    }
    QPainter painter(this);
    const auto& pixels = levels_.pixels;
    const double tallest = std::sqrt(static_cast<double>(*std::max_element(pixels.begin(), pixels.end())));
    const double levelWidth = width() / static_cast<double>(HistogramLevels::Levels);
    for (int level = 0; level < HistogramLevels::Levels; ++level) {
        if (pixels[level] == 0) {
            continue;
        }
        const int bar =
            std::max(1, static_cast<int>(std::lround(std::sqrt(static_cast<double>(pixels[level])) / tallest *
                                                     height() * BarShare)));
        const int left = static_cast<int>(level * levelWidth);
        const int right = std::max(left + 1, static_cast<int>((level + 1) * levelWidth));
        // The written share at the bar's foot: the whole bar or none of it for a grey picture.
        const int written = static_cast<int>(
            std::lround(static_cast<double>(bar) * static_cast<double>(levels_.written[level]) /
                        static_cast<double>(pixels[level])));
        painter.fillRect(left, height() - bar, right - left, bar - written, KeptColour);
        painter.fillRect(left, height() - written, right - left, written, QColor(SelectionColour));
    }
    // The mark on the ramp's own scale (255 units across), black beside white so it shows on any grey.
    const int at = static_cast<int>(std::lround(threshold_ * (width() - 1) / 255.0));
    painter.fillRect(at, 0, 1, height(), Qt::black);
    painter.fillRect(std::min(at + 1, width() - 1), 0, 1, height(), Qt::white);
}
