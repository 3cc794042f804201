#include "export/StretchRecords.h"
#include "export/SelectedRows.h"

#include <QtTest>

#include <numeric>
#include <random>
#include <vector>

class StretchRecordsTest : public QObject {
    Q_OBJECT
private slots:
    // Every sum from 0 to 765, both polarities, limits at and around the ends, stretches of every
    // length up to 64, and sums past the stretch that would pass if they were read as part of it: the
    // selection must be the plain comparison, and the wide records exactly the portable ones' bytes.
    void selectionAndRecordsHoldForEverySumAndLength() {
        const StretchRecordsFunction wide = wideStretchRecords();
        std::vector<std::uint16_t> sums(766);
        std::iota(sums.begin(), sums.end(), std::uint16_t{0});
        std::shuffle(sums.begin(), sums.end(), std::mt19937(7));
        sums.insert(sums.end(), 64, 0);
        std::vector<char> expected(24 * (64 + StretchSlack));
        std::vector<char> stored(expected.size());
        for (const ExportPolarity polarity : {ExportPolarity::Black, ExportPolarity::White}) {
            for (const int limit : {0, 1, 365, 366, 764, 765}) {
                for (std::size_t first = 0, count = 1; first + count <= 766;
                     first += count, count = count % 64 + 1) {
                    const std::uint16_t* const at = sums.data() + first;
                    std::uint64_t plain = 0;
                    for (std::size_t i = 0; i < count; ++i) {
                        const bool passes = polarity == ExportPolarity::Black ? at[i] < limit : at[i] > limit;
                        plain |= std::uint64_t{passes} << i;
                    }
                    const ColumnStretch stretch{7, 100 + int(first), count,
                                                selectedRows(at, count, polarity, limit), at};
                    QCOMPARE(stretch.selected, plain);
                    const std::size_t portableKept = storeStretchRecordsPortable(expected.data(), stretch);
                    QCOMPARE(portableKept, std::size_t(std::popcount(plain)));
                    if (wide) {
                        QCOMPARE(wide(stored.data(), stretch), portableKept);
                        QCOMPARE(QByteArray(stored.data(), qsizetype(24 * portableKept)),
                                 QByteArray(expected.data(), qsizetype(24 * portableKept)));
                    }
                }
            }
        }
        QCOMPARE(selectedRows(sums.data(), 64, ExportPolarity::None, 400), std::uint64_t{0});
        if (!wide) {
            QSKIP("this processor has no wide version: the portable one alone was checked");
        }
    }
};

QTEST_APPLESS_MAIN(StretchRecordsTest)
#include "StretchRecordsTest.moc"
