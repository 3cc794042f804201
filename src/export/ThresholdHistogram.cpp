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

void ThresholdHistogram::setCounts(const SelectionCount::SumCounts& counts) {
    std::array<std::int64_t, 256> levels{};
    for (int sum = 0; sum < SelectionCount::SumLevels; ++sum) {
        levels[sum / 3] += counts[sum];
    }
    if (!hasCounts_ || levels != levels_) {
        levels_ = levels;
        hasCounts_ = true;
        update();
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
        update();
    }
}

void ThresholdHistogram::paintEvent(QPaintEvent*) {
    if (!hasCounts_) {
        return;
    }
    QPainter painter(this);
    const double tallest = std::sqrt(static_cast<double>(*std::max_element(levels_.begin(), levels_.end())));
    const std::optional<SumHighlight> marks = selectionMarks(polarity_, threshold_);
    const double levelWidth = width() / 256.0;
    for (int level = 0; level < 256; ++level) {
        if (levels_[level] == 0) {
            continue;
        }
        const int bar =
            std::max(1, static_cast<int>(std::lround(std::sqrt(static_cast<double>(levels_[level])) /
                                                     tallest * height() * BarShare)));
        const int left = static_cast<int>(level * levelWidth);
        const int right = std::max(left + 1, static_cast<int>((level + 1) * levelWidth));
        // A level's middle sum decides its colour; only the white data's threshold level is split.
        const bool written = marks && marks->marks(3 * level + 1);
        painter.fillRect(left, height() - bar, right - left, bar,
                         written ? QColor(SelectionColour) : KeptColour);
    }
    // The mark on the ramp's own scale (255 units across), black beside white so it shows on any grey.
    const int at = static_cast<int>(std::lround(threshold_ * (width() - 1) / 255.0));
    painter.fillRect(at, 0, 1, height(), Qt::black);
    painter.fillRect(std::min(at + 1, width() - 1), 0, 1, height(), Qt::white);
}
