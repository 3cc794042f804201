#include "runtime/Numbers.h"
#include "runtime/RuntimeError.h"

#include <QtTest>

#include <cmath>
#include <tuple>

class NumbersTest : public QObject {
    Q_OBJECT
private slots:
    // Ties round to even, either way and on both signs. The rounded value decides the range: x.5 beyond the
    // end rounds out of range only when it rounds away from 0.
    void roundsTiesToEvenWithinTheRange_data() {
        QTest::addColumn<int>("bits");
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("overflows");
        const std::tuple<int, double, bool> rows[] = {
            {16, 108.5, false},        {32, 109.5, false},       {16, 2.5, false},
            {32, 3.5, false},          {16, -2.5, false},        {32, -3.5, false},
            {16, 0.5, false},          {32, 1.5, false},         {16, 2.4999999, false},
            {32, 2.5000001, false},    {16, 700.0, false},       {16, 32767.0, false},
            {16, 32767.5, true},       {16, 32768.0, true},      {16, -32768.0, false},
            {16, -32768.5, false},     {16, -32769.0, true},     {16, std::nan(""), true},
            {32, 2147483647.0, false}, {32, 2147483647.5, true}, {32, -2147483648.0, false},
            {32, -2147483649.0, true}};
        for (const auto& [bits, value, overflows] : rows) {
            QTest::addRow("%d bits, %.11g", bits, value) << bits << value << overflows;
        }
    }
    void roundsTiesToEvenWithinTheRange() {
        QFETCH(int, bits);
        QFETCH(double, value);
        QFETCH(bool, overflows);
        try {
            const double converted = bits == 16 ? toInteger16(value) : toInteger32(value);
            QVERIFY(!overflows);
            QCOMPARE(converted, std::nearbyint(value)); // ties to even
        } catch (const RuntimeError& error) {
            QVERIFY(overflows);
            QCOMPARE(error.number(), 6);
            QCOMPARE(error.text(), QStringLiteral("Overflow"));
        }
    }

    void intRoundsDown() {
        QCOMPARE(roundDown(-0.5), -1.0);
        QCOMPARE(roundDown((29.0 / 100.0) * 100.0), 28.0); // just below 29 in double precision
    }

    void checkedArithmeticRaisesOverflow() {
        QCOMPARE(checkedAdd16(32766, 1), std::int16_t(32767));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, checkedAdd16(32767, 1));
        QCOMPARE(checkedMultiply16(15, 16), std::int16_t(240));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, checkedMultiply16(256, 128));
        QCOMPARE(checkedAdd32(2147483645, 2), 2147483647);
        QVERIFY_THROWS_EXCEPTION(RuntimeError, checkedAdd32(2147483646, 2));
    }

    void decimalTextHasNoLeadingSpace() {
        QCOMPARE(QStringList({decimalText(37), decimalText(0), decimalText(-5)}),
                 QStringList({"37", "0", "-5"}));
    }
};

QTEST_APPLESS_MAIN(NumbersTest)
#include "NumbersTest.moc"
