// The runtime's controls and windows: what the forms rely on from them.

#include "runtime/DoEvents.h"
#include "runtime/EventDispatch.h"
#include "runtime/Form.h"
#include "runtime/PictureBox.h"
#include "runtime/ScrollBar.h"
#include "runtime/Timer.h"

#include "RecordingShell.h"

#include <QtTest>

namespace {

class CountingForm : public Form {
public:
    using Form::Form;
    void Form_QueryUnload() override { ++queryUnloads; }
    int queryUnloads = 0;
};

} // namespace

class ControlsTest : public QObject {
    Q_OBJECT
private slots:
    void scrollBarNotifiesOnlyWhenTheValueChanges() {
        QWidget parent;
        ScrollBar bar(Qt::Horizontal, &parent);
        bar.setMax(32767);
        QList<int> changes;
        bar.onChange([&] { changes.append(bar.Value()); });
        bar.setValue(0); // unchanged
        bar.setLargeChange(5);
        bar.setEnabledState(false);
        QCOMPARE(changes, QList<int>());
        bar.setValue(500);
        QCOMPARE(changes, QList<int>{500});
        // a Max below the value lowers it, with a change; then a new value
        bar.setMax(300);
        bar.setValue(150);
        QCOMPARE(changes, (QList<int>{500, 300, 150}));
        bar.setMax(300);
        QCOMPARE(changes.size(), 3);
    }

    void scrollBarRefusesValuesOutOfRange_data() {
        QTest::addColumn<QString>("property");
        QTest::addColumn<int>("value");
        QTest::newRow("Max above 32767") << "Max" << 32768;
        QTest::newRow("Max below 0") << "Max" << -1;
        QTest::newRow("LargeChange 0") << "LargeChange" << 0;
        QTest::newRow("Value above Max") << "Value" << 11;
        QTest::newRow("Value below Min") << "Value" << -1;
    }
    void scrollBarRefusesValuesOutOfRange() {
        QFETCH(QString, property);
        QFETCH(int, value);
        QWidget parent;
        ScrollBar bar(Qt::Horizontal, &parent);
        bar.setMax(10);
        bar.setValue(4);
        bar.setLargeChange(3);
        try {
            if (property == "Max") {
                bar.setMax(value);
            } else if (property == "LargeChange") {
                bar.setLargeChange(value);
            } else {
                bar.setValue(value);
            }
            QFAIL("the value was accepted");
        } catch (const RuntimeError& error) {
            QCOMPARE(error.number(), 380);
            QCOMPARE(error.text(), QStringLiteral("Invalid property value"));
        }
        QCOMPARE(int(bar.Max()), 10);
        QCOMPARE(int(bar.Value()), 4);
        QCOMPARE(int(bar.LargeChange()), 3);
    }

    void scrollBarUserActionsMoveBySmallAndLargeChange() {
        QWidget parent;
        ScrollBar bar(Qt::Horizontal, &parent);
        bar.setMax(217);
        bar.setLargeChange(108);
        bar.setValue(108);
        QList<int> changes;
        bar.onChange([&] { changes.append(bar.Value()); });
        bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
        bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
        bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(changes, (QList<int>{109, 217}));
    }

    void scrollBarDragNotifiesOnlyOnRelease() {
        QWidget parent;
        ScrollBar bar(Qt::Horizontal, &parent);
        bar.setMax(100);
        QList<int> changes;
        bar.onChange([&] { changes.append(bar.Value()); });
        bar.setSliderDown(true);
        bar.setSliderPosition(40);
        bar.setSliderPosition(60);
        QCOMPARE(changes, QList<int>());
        bar.setSliderDown(false);
        QCOMPARE(changes, QList<int>{60});
    }

    void timerHandlerIsNotEnteredAgainWhileItRuns() {
        Timer timer(nullptr, 1, true);
        int entries = 0;
        int nested = 0;
        bool inside = false;
        timer.onTimer([&] {
            ++entries;
            if (inside) {
                ++nested;
            }
            inside = true;
            // the handler yields, as the conversions do, long enough for several ticks
            QElapsedTimer clock;
            clock.start();
            while (clock.elapsed() < 30) {
                DoEvents();
            }
            inside = false;
            timer.setEnabled(false);
        });
        QTRY_COMPARE(entries, 1);
        QTest::qWait(20);
        QCOMPARE(entries, 1);
        QCOMPARE(nested, 0);
    }

    void disabledTimerDoesNotTick() {
        Timer timer(nullptr, 1000, true);
        QCOMPARE(timer.Interval(), 1000);
        int ticks = 0;
        timer.onTimer([&] { ++ticks; });
        timer.setEnabled(false);
        timer.tick();
        QCOMPARE(ticks, 0);
        timer.setEnabled(true);
        timer.tick();
        QCOMPARE(ticks, 1);
    }

    void escapedErrorIsReportedAndTheProgramGoesOn() {
        RecordingShell shell;
        bool after = false;
        handleEvent(shell, [] { throw RuntimeError::invalidPropertyValue(); });
        handleEvent(shell, [&] { after = true; });
        QVERIFY(after);
        QCOMPARE(shell.messages.size(), 1);
        QCOMPARE(shell.messages[0].text, QStringLiteral("Run-time error '380':\n\nInvalid property value"));
        QCOMPARE(shell.messages[0].title, QStringLiteral("Quillet"));
    }

    void skipAndContinueRunsEveryStep() {
        QList<int> steps;
        skipOnError([&] { steps.append(1); });
        skipOnError([&] {
            throw RuntimeError::overflow();
            steps.append(2);
        });
        skipOnError([&] { steps.append(3); });
        QCOMPARE(steps, (QList<int>{1, 3}));
    }

    void unloadRunsTheCloseRequestHandlerThenDiscardsTheWindow() {
        RecordingShell shell;
        QPointer<CountingForm> form = new CountingForm(shell);
        form->Show();
        QSignalSpy unloaded(form.data(), &Form::unloaded);
        form->Unload();
        QCOMPARE(form->queryUnloads, 1);
        QCOMPARE(unloaded.size(), 1);
        QVERIFY(form->isUnloaded());
        QTRY_VERIFY(form.isNull());
    }

    void modalShowReturnsWhenTheWindowIsUnloaded() {
        RecordingShell shell;
        QPointer<CountingForm> form = new CountingForm(shell);
        bool modalWhileShown = false;
        QTimer::singleShot(0, [&] {
            modalWhileShown = form->frame()->isModal() && form->isVisible();
            form->close(); // the close box
        });
        form->ShowModal();
        QVERIFY(modalWhileShown);
        QCOMPARE(form->queryUnloads, 1);
        QTRY_VERIFY(form.isNull());
    }

    void windowStateBeforeShowingIsAppliedWhenShown() {
        RecordingShell shell;
        CountingForm form(shell);
        form.setWindowState(2);
        QCOMPARE(form.WindowState(), 2);
        QVERIFY(!form.isVisible());
        form.Show();
        QCOMPARE(form.WindowState(), 2);
        QVERIFY_THROWS_EXCEPTION(RuntimeError, form.setWindowState(3));
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

    void autoSizedBoxTakesThePictureSize() {
        QWidget parent;
        PictureBox loader(&parent, 0, true);
        loader.setAutoSize(true);
        QImage picture(200, 100, QImage::Format_RGB32);
        picture.fill(Qt::red);
        loader.setPicture(picture);
        QCOMPARE(loader.Width(), 202.0f);
        QCOMPARE(loader.Height(), 102.0f);
        QCOMPARE(loader.Point(0, 0), RGB(255, 0, 0));
    }
};

QTEST_MAIN(ControlsTest)
#include "ControlsTest.moc"
