#include "runtime/Numbers.h"
#include "runtime/RuntimeError.h"

#include <QtTest>

#include <cmath>

class NumbersTest : public QObject {
    Q_OBJECT
private slots:
    void roundsToNearestWithTiesToEven_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("108.5 to even below") << 108.5 << 108;
        QTest::newRow("109.5 to even above") << 109.5 << 110;
        QTest::newRow("2.5") << 2.5 << 2;
        QTest::newRow("3.5") << 3.5 << 4;
        QTest::newRow("-2.5") << -2.5 << -2;
        QTest::newRow("-3.5") << -3.5 << -4;
        QTest::newRow("0.5") << 0.5 << 0;
        QTest::newRow("1.5") << 1.5 << 2;
        QTest::newRow("just below a half") << 2.4999999 << 2;
        QTest::newRow("just above a half") << 2.5000001 << 3;
        QTest::newRow("whole") << 700.0 << 700;
    }
    void roundsToNearestWithTiesToEven() {
        QFETCH(double, value);
        QFETCH(int, expected);
        QCOMPARE(int(toInteger16(value)), expected);
        QCOMPARE(int(toInteger32(value)), expected);
    }

    void rangesEndWithOverflow_data() {
        QTest::addColumn<int>("bits");
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("overflows");
        QTest::newRow("32767") << 16 << 32767.0 << false;
        QTest::newRow("32767.5 rounds to 32768") << 16 << 32767.5 << true;
        QTest::newRow("32768") << 16 << 32768.0 << true;
        QTest::newRow("-32768") << 16 << -32768.0 << false;
        QTest::newRow("-32768.5 rounds to -32768") << 16 << -32768.5 << false;
        QTest::newRow("-32769") << 16 << -32769.0 << true;
        QTest::newRow("NaN") << 16 << std::nan("") << true;
        QTest::newRow("2147483647") << 32 << 2147483647.0 << false;
        QTest::newRow("2147483647.5 rounds to 2147483648") << 32 << 2147483647.5 << true;
        QTest::newRow("-2147483648") << 32 << -2147483648.0 << false;
        QTest::newRow("-2147483649") << 32 << -2147483649.0 << true;
    }
    void rangesEndWithOverflow() {
        QFETCH(int, bits);
        QFETCH(double, value);
        QFETCH(bool, overflows);
        try {
            const double converted = bits == 16 ? toInteger16(value) : toInteger32(value);
            QVERIFY(!overflows);
            QCOMPARE(converted, std::nearbyint(value));
        } catch (const RuntimeError& error) {
            QVERIFY(overflows);
            QCOMPARE(error.number(), 6);
            QCOMPARE(error.text(), QStringLiteral("Overflow"));
        }
    }

    void intRoundsDown() {
        QCOMPARE(roundDown(28.999999999999996), 28.0);
        QCOMPARE(roundDown(-0.5), -1.0);
        QCOMPARE(roundDown(3.0), 3.0);
        // (29 / 100) * 100 falls just below 29 in double precision
        QCOMPARE(roundDown((29.0 / 100.0) * 100.0), 28.0);
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
        QCOMPARE(decimalText(37), QStringLiteral("37"));
        QCOMPARE(decimalText(0), QStringLiteral("0"));
        QCOMPARE(decimalText(-5), QStringLiteral("-5"));
    }
};

QTEST_APPLESS_MAIN(NumbersTest)
#include "NumbersTest.moc"
