// The runtime's controls, windows and numbers: what the forms rely on from them.

#include "runtime/ChineseTexts.h"
#include "runtime/EventDispatch.h"
#include "runtime/Form.h"
#include "runtime/Numbers.h"
#include "runtime/PictureBox.h"
#include "runtime/ScrollBar.h"
#include "runtime/Timer.h"

#include "RecordingShell.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QtTest>

#include <cmath>
#include <tuple>

namespace {

class CountingForm : public Form {
public:
    using Form::Form;
    void Form_QueryUnload() override { ++queryUnloads; }
    int queryUnloads = 0;
};

using Setter = void (ScrollBar::*)(int);

} // namespace

Q_DECLARE_METATYPE(Setter)

class ControlsTest : public QObject {
    Q_OBJECT
private slots:
    void scrollBarNotifiesOnlyRealChanges() {
        QWidget parent;
        ScrollBar bar(Qt::Horizontal, &parent);
        bar.setMax(32767);
        QList<int> changes;
        bar.onChange([&] { changes.append(bar.Value()); });
        bar.setBarValue(0); // unchanged
        bar.setLargeChange(108);
        bar.setEnabledState(false);
        bar.setEnabledState(true);
        bar.setBarValue(500);
        // a Max below the value lowers it, with a change; the same Max again changes nothing
        bar.setMax(300);
        bar.setMax(300);
        // arrow and trough move by small and large change, up to Max
        bar.setBarValue(191);
        bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
        bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
        bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
        // a drag notifies once, on release
        bar.setSliderDown(true);
        bar.setSliderPosition(40);
        bar.setSliderPosition(60);
        bar.setSliderDown(false);
        QCOMPARE(changes, (QList<int>{500, 300, 191, 192, 300, 60}));
    }

    void scrollBarRefusesValuesOutOfRange_data() {
        QTest::addColumn<Setter>("set");
        QTest::addColumn<int>("value");
        QTest::newRow("Max above 32767") << Setter(&ScrollBar::setMax) << 32768;
        QTest::newRow("Max below 0") << Setter(&ScrollBar::setMax) << -1;
        QTest::newRow("LargeChange 0") << Setter(&ScrollBar::setLargeChange) << 0;
        QTest::newRow("Value above Max") << Setter(&ScrollBar::setBarValue) << 11;
        QTest::newRow("Value below Min") << Setter(&ScrollBar::setBarValue) << -1;
    }
    void scrollBarRefusesValuesOutOfRange() {
        QFETCH(Setter, set);
        QFETCH(int, value);
        QWidget parent;
        ScrollBar bar(Qt::Horizontal, &parent);
        bar.setMax(10);
        bar.setBarValue(4);
        bar.setLargeChange(3);
        try {
            (bar.*set)(value);
            QFAIL("the value was accepted");
        } catch (const RuntimeError& error) {
            QCOMPARE(error.number(), 380);
            QCOMPARE(error.text(), QStringLiteral("Invalid property value"));
        }
        QCOMPARE(QList<int>({bar.Max(), bar.Value(), bar.LargeChange()}), QList<int>({10, 4, 3}));
    }

    void timerTicksOnlyWhenEnabledAndNeverInsideItsHandler() {
        Timer timer(nullptr, 1, true);
        int entries = 0;
        timer.onTimer([&] {
            if (++entries == 1) {
                timer.tick(); // as the clock would while the handler yields
            }
            timer.setEnabled(false);
        });
        QTRY_COMPARE(entries, 1); // from the clock, and not again from inside
        timer.tick();
        QCOMPARE(entries, 1);
        timer.setEnabled(true);
        timer.tick();
        QCOMPARE(entries, 2);
    }

    void anEscapedErrorIsReportedOrSkippedAndTheProgramGoesOn() {
        RecordingShell shell;
        QList<int> steps;
        handleEvent(shell, [] { throw RuntimeError::invalidPropertyValue(); });
        handleEvent(shell, [&] { steps.append(0); });
        skipOnError([&] { steps.append(1); });
        skipOnError([&] {
            throw RuntimeError::overflow();
            steps.append(2);
        });
        skipOnError([&] { steps.append(3); });
        QCOMPARE(steps, (QList<int>{0, 1, 3}));
        QCOMPARE(shell.messages.size(), 1);
        QCOMPARE(shell.messages[0].text, QStringLiteral("运行时错误 '380'：\n\n无效的属性值"));
        QCOMPARE(shell.messages[0].title, QStringLiteral("Quillet"));
    }

    void aMessageBoxSaysOkInChineseAndShowsItsTitleWhole() {
        QVERIFY(loadChineseStandardTexts(*qApp));
        DesktopShell shell;
        QStringList buttons;
        int width = 0;
        QTimer::singleShot(0, [&] {
            auto* const box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            for (const QAbstractButton* button : box->buttons()) {
                buttons << button->text();
            }
            width = box->width() - minimumMessageBoxWidth("Quillet", box->fontMetrics());
            box->accept();
        });
        shell.MsgBox(QStringLiteral("完毕"));
        QCOMPARE(buttons, QStringList{"确定"});
        QVERIFY2(width >= 0, qPrintable(QString::number(width)));
    }

    // A window state set before showing is applied when shown. Unload, or the close box of a modal window:
    // the close request's handler runs once, then the window is discarded, and a modal show returns.
    void aWindowIsShownInItsStateAndUnloadedThroughItsCloseRequestHandler() {
        RecordingShell shell;
        QPointer<CountingForm> form = new CountingForm(shell);
        QPointer<CountingForm> modal = new CountingForm(shell);
        form->setWindowStateValue(2);
        form->Show();
        QCOMPARE(form->WindowStateValue(), 2);
        QVERIFY_THROWS_EXCEPTION(RuntimeError, form->setWindowStateValue(3));
        QSignalSpy unloaded(form.data(), &Form::unloaded);
        form->Unload();
        QCOMPARE(form->queryUnloads, 1);
        QCOMPARE(unloaded.size(), 1);
        QVERIFY(form->isUnloaded());
        bool modalWhileShown = false;
        QTimer::singleShot(0, [&] {
            modalWhileShown = modal->frame()->isModal() && modal->isVisible();
            modal->close(); // the close box
        });
        modal->ShowModal();
        QVERIFY(modalWhileShown);
        QCOMPARE(modal->queryUnloads, 1);
        QTRY_VERIFY(form.isNull() && modal.isNull());
    }

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

    // Int rounds down, decimal text has no leading space, checked arithmetic raises Overflow.
    void numbersRoundDownAndOverflowWhenChecked() {
        QCOMPARE(roundDown(-0.5), -1.0);
        QCOMPARE(roundDown((29.0 / 100.0) * 100.0), 28.0); // just below 29 in double precision
        QCOMPARE(QStringList({decimalText(37), decimalText(0), decimalText(-5)}),
                 QStringList({"37", "0", "-5"}));
        QCOMPARE(checkedAdd16(32766, 1), std::int16_t(32767));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, checkedAdd16(32767, 1));
        QCOMPARE(checkedMultiply16(15, 16), std::int16_t(240));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, checkedMultiply16(256, 128));
        QCOMPARE(checkedAdd32(2147483645, 2), 2147483647);
        QVERIFY_THROWS_EXCEPTION(RuntimeError, checkedAdd32(2147483646, 2));
    }

    void pictureBoxKeepsFractionsAndRefusesNegativeSizes() {
        QWidget parent;
        PictureBox viewport(&parent, 0, true);
        viewport.setWidth(300);
        viewport.setHeight(200);
        QCOMPARE(viewport.surface().pixelWidth(), 298);
        PictureBox picture(&viewport, 0, false);
        picture.setLeft(100.5f);
        QCOMPARE(picture.Left(), 100.5f);
        QCOMPARE(picture.x(), 101); // inside the one-pixel border, half a pixel to the left
        QVERIFY_THROWS_EXCEPTION(RuntimeError, viewport.setWidth(-17));
        QCOMPARE(viewport.Width(), 300.0f);
    }
};

QTEST_MAIN(ControlsTest)
#include "ControlsTest.moc"
