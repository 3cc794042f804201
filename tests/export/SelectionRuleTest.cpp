// The selection rule in every place that applies it: for every channel sum, every threshold and every
// polarity, the selection's kernel, the counts, the histogram's written bars and the preview's marks
// (painted at 100 % and from a reduced copy) select exactly the pixels whose mean grey lies strictly on
// the polarity's side of the threshold.

#include "export/HistogramLevels.h"
#include "export/SelectedRows.h"
#include "export/SelectionMarks.h"
#include "export/SumHistogram.h"
#include "runtime/ShownPicture.h"

#include <QPainter>
#include <QtTest>

#include <functional>
#include <vector>

namespace {

constexpr int Sums = SelectedSums::Levels;

// Whether each sum 0..765 is taken, as one place applies the rule.
using Taken = std::vector<bool>;
using Place = std::function<Taken(ExportPolarity, int)>;

// Whether each sum is taken, asked sum by sum.
Taken eachSum(const std::function<bool(int)>& takes) {
    Taken taken(Sums);
    for (int sum = 0; sum < Sums; ++sum) {
        taken[sum] = takes(sum);
    }
    return taken;
}

// The mean, sum / 3, compared strictly with the threshold.
Taken byMeans(ExportPolarity polarity, int threshold) {
    return eachSum([&](int sum) {
        const double mean = sum / 3.0;
        return polarity == ExportPolarity::Black ? mean < threshold
                                                 : polarity == ExportPolarity::White && mean > threshold;
    });
}

Taken byPredicate(ExportPolarity polarity, int threshold) {
    return eachSum([&](int sum) { return isSelected(polarity, threshold, sum); });
}

Taken bySelectedRows(ExportPolarity polarity, int threshold) {
    std::vector<std::uint16_t> sums(Sums + 64);
    for (int sum = 0; sum < Sums; ++sum) {
        sums[sum] = static_cast<std::uint16_t>(sum);
    }
    Taken taken(Sums);
    for (int first = 0; first < Sums; first += 64) {
        const std::size_t count = std::min(64, Sums - first);
        const std::uint64_t rows =
            selectedRows(sums.data() + first, count, selectedSums(polarity, threshold));
        for (std::size_t i = 0; i < count; ++i) {
            taken[first + i] = (rows >> i) & 1;
        }
    }
    return taken;
}

// One count per picture of a single sum.
Taken byCounts(ExportPolarity polarity, int threshold) {
    static const std::vector<SumHistogram> single = [] {
        std::vector<SumHistogram> counts;
        for (int sum = 0; sum < Sums; ++sum) {
            SumHistogram::SumCounts one{};
            one[sum] = 1;
            counts.emplace_back(one);
        }
        return counts;
    }();
    return eachSum([&](int sum) { return single[sum].points(polarity, threshold) == 1; });
}

// The three sums of a level weighed 1, 2 and 4: the written part of its bar tells which are written.
Taken byHistogram(ExportPolarity polarity, int threshold) {
    SumHistogram::SumCounts counts{};
    for (int sum = 0; sum < Sums; ++sum) {
        counts[sum] = std::int64_t{1} << (sum % 3);
    }
    const HistogramLevels levels = histogramLevels(counts, polarity, threshold);
    return eachSum([&](int sum) { return (levels.written[sum / 3] >> (sum % 3)) & 1; });
}

// A pixel of this channel sum, its channels within one of each other: never the marks' pure red.
QRgb pixelOfSum(int sum) {
    return qRgb(sum / 3 + (sum % 3 > 0), sum / 3 + (sum % 3 > 1), sum / 3);
}

// The preview's marks over a picture of every sum shown at 1 / span: each sum's shown pixel stands for
// `span` x `span` stored ones, the first column of them of that sum, the others of a sum the polarity
// never takes; the shown pixel is marked when any of them is.
Taken byMarks(ExportPolarity polarity, int threshold, int span) {
    const int neverTaken = polarity == ExportPolarity::White ? 0 : Sums - 1;
    QImage stored(Sums * span, span, QImage::Format_RGB32);
    for (int x = 0; x < stored.width(); ++x) {
        for (int y = 0; y < span; ++y) {
            stored.setPixel(x, y, pixelOfSum(x % span == 0 ? x / span : neverTaken));
        }
    }
    QImage painted(Sums, 1, QImage::Format_RGB32);
    painted.fill(Qt::black);
    if (const std::optional<SumHighlight> marks = selectionMarks(polarity, threshold)) {
        ShownPicture shown;
        shown.setZoom(1.0 / span);
        shown.setHighlight(marks);
        QPainter painter(&painted);
        shown.paint(painter, QPoint(0, 0), stored, painted.rect());
    }
    return eachSum([&](int sum) { return painted.pixel(sum, 0) == SelectionColour; });
}

// Empty when `place` takes what the means take for every threshold; else the first sum where not.
QString firstDisagreement(const Place& place, ExportPolarity polarity) {
    for (int threshold = 0; threshold <= 255; ++threshold) {
        const Taken expected = byMeans(polarity, threshold);
        const Taken got = place(polarity, threshold);
        for (int sum = 0; sum < Sums; ++sum) {
            if (got[sum] != expected[sum]) {
                return QString("threshold %1, sum %2: %3")
                    .arg(threshold)
                    .arg(sum)
                    .arg(got[sum] ? "taken" : "left");
            }
        }
    }
    return {};
}

} // namespace

Q_DECLARE_METATYPE(Place)
Q_DECLARE_METATYPE(ExportPolarity)

class SelectionRuleTest : public QObject {
    Q_OBJECT
private slots:
    void everyPlaceTakesTheSumsTheMeanSelects_data() {
        QTest::addColumn<Place>("place");
        QTest::addColumn<ExportPolarity>("polarity");
        const std::pair<const char*, Place> places[] = {
            {"predicate", byPredicate},
            {"selected rows", bySelectedRows},
            {"counts", byCounts},
            {"histogram bars", byHistogram},
            {"marks at 100 %",
             [](ExportPolarity polarity, int threshold) { return byMarks(polarity, threshold, 1); }},
            {"marks at 50 %",
             [](ExportPolarity polarity, int threshold) { return byMarks(polarity, threshold, 2); }},
        };
        const std::pair<const char*, ExportPolarity> polarities[] = {{"black", ExportPolarity::Black},
                                                                     {"white", ExportPolarity::White},
                                                                     {"none", ExportPolarity::None}};
        for (const auto& [place, apply] : places) {
            for (const auto& [name, polarity] : polarities) {
                QTest::addRow("%s, %s", place, name) << apply << polarity;
            }
        }
    }
    void everyPlaceTakesTheSumsTheMeanSelects() {
        QFETCH(Place, place);
        QFETCH(ExportPolarity, polarity);
        QCOMPARE(firstDisagreement(place, polarity), QString());
    }
};

QTEST_GUILESS_MAIN(SelectionRuleTest)
#include "SelectionRuleTest.moc"
