#include "export/QualifyingRecords.h"

#include <QtTest>

#include <numeric>
#include <random>
#include <vector>

class QualifyingRecordsTest : public QObject {
    Q_OBJECT
private slots:
    // The wide version must store exactly the portable version's bytes: every sum from 0 to 765,
    // both polarities, limits at and around the ends, runs of every length up to a tile, and sums
    // past the run that would pass if they were read as part of it.
    void theWideVersionStoresThePortableVersionsBytes() {
        const QualifyingRecordsFunction wide = wideQualifyingRecords();
        if (!wide) {
            QSKIP("this processor has no wide version");
        }
        std::vector<std::uint16_t> sums(766);
        std::iota(sums.begin(), sums.end(), std::uint16_t{0});
        std::shuffle(sums.begin(), sums.end(), std::mt19937(7));
        sums.insert(sums.end(), QualifyingSlack, 0);
        std::vector<char> expected(24 * (64 + QualifyingSlack));
        std::vector<char> stored(expected.size());
        for (const ExportPolarity polarity : {ExportPolarity::Black, ExportPolarity::White}) {
            for (const int limit : {0, 1, 365, 366, 764, 765}) {
                for (std::size_t first = 0, count = 1; first + count <= 766;
                     first += count, count = count % 64 + 1) {
                    const std::size_t portableKept = storeQualifyingRecordsPortable(
                        expected.data(), 7, 100 + int(first), sums.data() + first, count, polarity, limit);
                    const std::size_t wideKept =
                        wide(stored.data(), 7, 100 + int(first), sums.data() + first, count, polarity, limit);
                    QCOMPARE(wideKept, portableKept);
                    QCOMPARE(QByteArray(stored.data(), qsizetype(24 * wideKept)),
                             QByteArray(expected.data(), qsizetype(24 * portableKept)));
                }
            }
        }
    }
};

QTEST_APPLESS_MAIN(QualifyingRecordsTest)
#include "QualifyingRecordsTest.moc"
