#include "convert/ColourSplit.h"
#include "convert/GreyLevel.h"

#include <QtTest>

#include <climits>

class ColourSplitTest : public QObject {
    Q_OBJECT
private slots:
    void hexPairReadsFirstAndLastCharacter_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        const QList<std::pair<const char16_t*, int>> rows = {
            {u"FF", 255}, {u"00", 0},    {u"0A", 10},    {u"A0", 160},    {u"35", 53}, {u"9F", 159},
            {u"C8", 200}, {u"ff", 0},    {u"fF", 15},    {u"G1", 1},      {u"1G", 16}, {u"", 0},
            {u"7", 119},  {u"1234", 20}, {u"\uFF15", 0}, {u"\uFF155", 5}, {u":9", 9},  {u"/F", 15}};
        for (const auto& [text, expected] : rows) {
            QTest::newRow(QString::fromUtf16(text).toUtf8().constData())
                << QString::fromUtf16(text) << expected;
        }
    }
    void hexPairReadsFirstAndLastCharacter() {
        QFETCH(QString, text);
        QFETCH(int, expected);
        const QString before = text;
        QCOMPARE(int(HexPairValue(text)), expected);
        QCOMPARE(text, before);
    }

    void splitGivesWorkedChannels_data() {
        QTest::addColumn<int>("colour");
        QTest::addColumn<int>("red");
        QTest::addColumn<int>("green");
        QTest::addColumn<int>("blue");
        QTest::newRow("FF8040") << 0x00FF8040 << 64 << 128 << 255;
        QTest::newRow("A") << 0x0A << 10 << 0 << 0;
        QTest::newRow("0") << 0 << 0 << 0 << 0;
        QTest::newRow("123456") << 0x00123456 << 86 << 52 << 18;
        QTest::newRow("-1 is white") << -1 << 255 << 255 << 255;
        QTest::newRow("FF0000") << 0x00FF0000 << 0 << 0 << 255;
        QTest::newRow("top byte dropped") << 0x12345678 << 0x78 << 0x56 << 0x34;
        QTest::newRow("INT_MIN") << INT_MIN << 0 << 0 << 0;
    }
    void splitGivesWorkedChannels() {
        QFETCH(int, colour);
        QFETCH(int, red);
        QFETCH(int, green);
        QFETCH(int, blue);
        const ColourChannels channels = SplitColour(colour);
        QCOMPARE(int(channels.red), red);
        QCOMPARE(int(channels.green), green);
        QCOMPARE(int(channels.blue), blue);
        QVERIFY(splitColourBits(colour) == channels);
    }

    // The bit form the pixel loops use equals the text route for every colour and a sweep of values
    // with the top byte set (negative ones included).
    void textRouteEqualsBitsForEveryColour() {
        const auto routesAgree = [](ColourValue colour) {
            const auto value = static_cast<std::uint32_t>(colour);
            const ColourChannels identity{std::int16_t(value & 0xFF), std::int16_t(value >> 8 & 0xFF),
                                          std::int16_t(value >> 16 & 0xFF)};
            return SplitColour(colour) == identity && splitColourBits(colour) == identity;
        };
        for (const ColourValue colour : {-1, INT_MIN, INT_MAX, -2, -16777216, 0x01000000}) {
            QVERIFY2(routesAgree(colour), qPrintable(QString::number(colour)));
        }
        for (std::uint32_t top = 1; top <= 255; ++top) {
            for (std::uint32_t low = 0; low <= 0xFFFFFF; low += 65521) {
                QVERIFY2(routesAgree(ColourValue(top << 24 | low)),
                         qPrintable(QString::number(top << 24 | low, 16)));
            }
        }
        for (ColourValue colour = 0; colour <= 0xFFFFFF; ++colour) {
            if (!routesAgree(colour)) {
                QFAIL(qPrintable(QString::number(colour, 16)));
            }
        }
    }

    void greyLevelOfEverySumMatchesIntegerForm() {
        for (int sum = 0; sum <= 765; ++sum) {
            const ColourChannels channels{std::int16_t(std::min(sum, 255)),
                                          std::int16_t(std::clamp(sum - 255, 0, 255)),
                                          std::int16_t(std::max(sum - 510, 0))};
            QCOMPARE(std::uint32_t(GreyLevel(channels)), greyOfSum(std::uint32_t(sum)));
        }
    }
};

QTEST_APPLESS_MAIN(ColourSplitTest)
#include "ColourSplitTest.moc"
