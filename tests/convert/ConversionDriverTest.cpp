// The convert and reduce items driven through the real windows and progress dialog, offscreen.

#include "app/Forms.h"
#include "app/MDIForm1.h"
#include "app/Module2.h"
#include "convert/Form5.h"
#include "runtime/Numbers.h"
#include "view/Form1.h"
#include "view/Form2.h"
#include "view/Form3.h"

#include "PixelCompare.h"
#include "RecordingShell.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <functional>

namespace {

// Records every caption the progress dialog shows, and lets a test act when one appears.
class CaptionRecorder : public QObject {
public:
    QStringList captions;
    std::function<void(Form5&, const QString&)> onCaption;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowTitleChange) {
            if (auto* dialog = qobject_cast<Form5*>(watched)) {
                captions << dialog->windowTitle();
                if (onCaption) {
                    onCaption(*dialog, captions.last());
                }
            }
        }
        return false;
    }
};

QImage colourPicture(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.setPixel(x, y,
                             qRgb((x * 37 + y * 11) % 256, (x * 5 + y * 53) % 256, (x * 91 + y * 7) % 256));
        }
    }
    return picture;
}

ColourValue greyOf(const QImage& picture, int x, int y) {
    const QRgb pixel = picture.pixel(x, y);
    const int level = (qRed(pixel) + qGreen(pixel) + qBlue(pixel) + 1) / 3;
    return RGB(level, level, level);
}

// Acts on the progress dialog as soon as it is shown: by default delivers the tick at once
// instead of after a second.
void whenDialogShows(Forms& forms, std::function<void(Form5&)> action) {
    // the main window as context: nothing is left pending once the test's windows are gone
    QTimer::singleShot(0, &forms.mdiForm1(), [&forms, action] {
        if (Form5* dialog = forms.loadedForm5(); dialog && dialog->isVisible()) {
            action(*dialog);
        } else {
            whenDialogShows(forms, action);
        }
    });
}

void tickAtOnce(Forms& forms) {
    whenDialogShows(forms, [](Form5& dialog) { dialog.Timer1->tick(); });
}

QStringList progressCaptions(const QString& prefix, const QList<int>& percents) {
    QStringList captions{ProgressDialogCaption};
    for (const int percent : percents) {
        captions << prefix + QString::number(percent) + "%";
    }
    return captions;
}

const QString GreyPrefix = QStringLiteral("转换成原分辨率黑白图片……已经完成:");
const QString HalfPrefix = QStringLiteral("转换成低分辨率黑白图片……已经完成:");

} // namespace

class ConversionDriverTest : public QObject {
    Q_OBJECT
private:
    RecordingShell* shell = nullptr;
    Forms* forms = nullptr;
    CaptionRecorder recorder;

    void openPicture(const QImage& picture) {
        forms->form1().Picture2->setPicture(picture);
        Module2::StageDone.fill(BooleanFalse);
        Module2::StageDone[0] = BooleanTrue;
    }

private slots:
    void init() {
        Module2::reset();
        shell = new RecordingShell;
        forms = new Forms(*shell);
        forms->mdiForm1().show();
        recorder.captions.clear();
        recorder.onCaption = nullptr;
        qApp->installEventFilter(&recorder);
    }

    void cleanup() {
        qApp->removeEventFilter(&recorder);
        QVERIFY2(shell->messages.isEmpty(),
                 shell->messages.isEmpty() ? "" : qPrintable(shell->messages[0].text));
        delete forms;
        delete shell;
    }

    void greyConversionShowsEveryStepAndTheGreyWindow() {
        const QImage picture = colourPicture(3, 2);
        openPicture(picture);
        tickAtOnce(*forms);
        forms->mdiForm1().xConvert_to_Black_Click();

        QCOMPARE(recorder.captions, progressCaptions(GreyPrefix, {0, 33, 66, 100}));
        QVERIFY(!forms->loadedForm5());
        QCOMPARE(forms->form1().WindowState(), 1);
        QCOMPARE(forms->form2().WindowState(), 2);
        // restored, the grey window takes the original window's restored size, not its minimised one
        QCOMPARE(forms->form2().Width(), forms->form1().Width());
        QCOMPARE(forms->form2().Height(), forms->form1().Height());
        QVERIFY(forms->form1().Width() > 600 * TwipsPerPixel);
        QCOMPARE(Module2::StageDone[1], BooleanTrue);
        QCOMPARE(Module2::CancelFlag, BooleanFalse);
        QCOMPARE(firstPixelDifference(forms->form2().Picture2->surface(),
                                      [&](int x, int y) { return greyOf(picture, x, y); }),
                 QString());
    }

    void theRealTimerStartsTheRunAfterASecond() {
        openPicture(colourPicture(1, 1));
        QElapsedTimer clock;
        clock.start();
        forms->mdiForm1().xConvert_to_Black_Click();
        QVERIFY(clock.elapsed() >= 900);
        QCOMPARE(recorder.captions, progressCaptions(GreyPrefix, {0, 100}));
    }

    void reductionShowsItsStepsAndTheHalfResolutionWindow() {
        const QImage picture = colourPicture(5, 5);
        openPicture(picture);
        tickAtOnce(*forms);
        forms->mdiForm1().xConvert_to_Black_Click();
        recorder.captions.clear();
        tickAtOnce(*forms);
        forms->mdiForm1().xScale_Click();

        QCOMPARE(recorder.captions, progressCaptions(HalfPrefix, {0, 40, 80}));
        QCOMPARE(forms->form2().WindowState(), 1);
        QCOMPARE(forms->form3().WindowState(), 2);
        QCOMPARE(Module2::StageDone[2], BooleanTrue);
        const PictureSurface& half = forms->form3().Picture2->surface();
        QCOMPARE(half.ScaleWidth(), 2.5f);
        for (int u = 0; u <= 2; ++u) {
            for (int v = 0; v <= 2; ++v) {
                QCOMPARE(half.Point(u, v), greyOf(picture, 2 * u, 2 * v));
            }
        }
    }

    void reduceBeforeAnyGreyConversionMakesTheGreyPictureFirst() {
        const QImage picture = colourPicture(4, 3);
        openPicture(picture);
        recorder.onCaption = [](Form5& dialog, const QString& caption) {
            if (caption == ProgressDialogCaption) {
                QTimer::singleShot(0, &dialog, [&dialog] { dialog.Timer1->tick(); });
            }
        };
        forms->mdiForm1().xScale_Click();

        QCOMPARE(recorder.captions,
                 progressCaptions(GreyPrefix, {0, 25, 50, 75, 100}) + progressCaptions(HalfPrefix, {0, 50}));
        QCOMPARE(Module2::StageDone[1], BooleanTrue);
        QCOMPARE(Module2::StageDone[2], BooleanTrue);
        const PictureSurface& half = forms->form3().Picture2->surface();
        QCOMPARE(half.Point(1, 1), greyOf(picture, 2, 2));
    }

    void cancelDuringTheRunStopsAtTheNextColumn() {
        const QImage picture = colourPicture(100, 3);
        openPicture(picture);
        tickAtOnce(*forms);
        // the click arrives while column 4 is converted and is handled in the yield before column 5
        recorder.onCaption = [](Form5& dialog, const QString& caption) {
            if (caption.endsWith(":5%")) {
                QMetaObject::invokeMethod(dialog.Command1, &QPushButton::click, Qt::QueuedConnection);
            }
        };
        forms->mdiForm1().xConvert_to_Black_Click();

        QCOMPARE(recorder.captions.last(), GreyPrefix + "6%");
        QCOMPARE(Module2::CancelFlag, BooleanFalse);
        QCOMPARE(Module2::StageDone[1], BooleanTrue);
        QCOMPARE(forms->form2().WindowState(), 2);
        QCOMPARE(firstPixelDifference(forms->form2().Picture2->surface(),
                                      [&](int x, int y) { return x <= 5 ? greyOf(picture, x, y) : 0; }),
                 QString());
    }

    void cancelAtRandomColumnsAlwaysLeavesExactlyTheEarlierColumns() {
        const QImage picture = colourPicture(40, 3);
        openPicture(picture);
        QRandomGenerator random(20261206);
        for (int run = 0; run < 30; ++run) {
            const int clickColumn = random.bounded(41);
            const QString clickCaption =
                GreyPrefix + QString::number(int(roundDown(clickColumn / 40.0 * 100))) + "%";
            recorder.onCaption = [clickCaption](Form5& dialog, const QString& caption) {
                if (caption == clickCaption) {
                    QMetaObject::invokeMethod(dialog.Command1, &QPushButton::click, Qt::QueuedConnection);
                }
            };
            tickAtOnce(*forms);
            forms->mdiForm1().xConvert_to_Black_Click();

            QCOMPARE(Module2::CancelFlag, BooleanFalse);
            QCOMPARE(Module2::StageDone[1], BooleanTrue);
            QCOMPARE(firstPixelDifference(
                         forms->form2().Picture2->surface(),
                         [&](int x, int y) { return x <= clickColumn ? greyOf(picture, x, y) : 0; }),
                     QString());
            forms->form2().Unload(); // the next run starts afresh, as after the user closed the window
        }
    }

    void cancelBeforeTheFirstTickConvertsNothing() {
        openPicture(colourPicture(3, 3));
        whenDialogShows(*forms, [](Form5& dialog) {
            dialog.Command1->click();
            QVERIFY(dialog.isVisible());
            dialog.Timer1->tick();
        });
        forms->mdiForm1().xConvert_to_Black_Click();

        QCOMPARE(recorder.captions, progressCaptions(GreyPrefix, {0}));
        QCOMPARE(Module2::StageDone[1], BooleanTrue);
        QCOMPARE(Module2::CancelFlag, BooleanFalse);
        QCOMPARE(firstPixelDifference(forms->form2().Picture2->surface(), [](int, int) { return 0; }),
                 QString());
    }

    void closingTheDialogBeforeTheFirstTickRunsNothingAndLeavesTheFlagSet() {
        openPicture(colourPicture(3, 3));
        whenDialogShows(*forms, [](Form5& dialog) { dialog.close(); });
        forms->mdiForm1().xConvert_to_Black_Click();

        QCOMPARE(recorder.captions, QStringList{ProgressDialogCaption});
        QCOMPARE(Module2::StageDone[1], BooleanFalse);
        QCOMPARE(Module2::CancelFlag, BooleanTrue);
        QCOMPARE(firstPixelDifference(forms->form2().Picture2->surface(), [](int, int) { return 0; }),
                 QString());

        // the next run starts with the flag set: 0 % only, nothing converted, flag cleared
        forms->form2().Unload();
        recorder.captions.clear();
        tickAtOnce(*forms);
        forms->mdiForm1().xConvert_to_Black_Click();
        QCOMPARE(recorder.captions, progressCaptions(GreyPrefix, {0}));
        QCOMPARE(Module2::CancelFlag, BooleanFalse);
    }

    void aTickWithoutAModeRunsNothingAndTheDialogWaitsForItsCloseBox() {
        openPicture(colourPicture(2, 2));
        whenDialogShows(*forms, [](Form5& dialog) {
            dialog.Timer1->tick();
            QVERIFY(!dialog.Timer1->Enabled());
            dialog.Command1->click();
            QVERIFY(dialog.isVisible());
            QCOMPARE(dialog.windowTitle(), ProgressDialogCaption);
            dialog.close();
        });
        forms->form2(); // loaded by some other path, before any item set the mode

        QCOMPARE(Module2::StageDone[1], BooleanFalse);
        QCOMPARE(Module2::CancelFlag, BooleanTrue);
    }

    void anOpenResultWindowIsOnlyActivated() {
        openPicture(colourPicture(2, 2));
        tickAtOnce(*forms);
        forms->mdiForm1().xConvert_to_Black_Click();
        recorder.captions.clear();
        forms->mdiForm1().xConvert_to_Black_Click();
        QCOMPARE(recorder.captions, QStringList());
        QVERIFY(!forms->loadedForm5());
    }

    void everyShowingStartsArmedWithTheInitialCaption() {
        openPicture(colourPicture(2, 2));
        for (int run = 0; run < 2; ++run) {
            whenDialogShows(*forms, [](Form5& dialog) {
                QVERIFY(dialog.Timer1->Enabled());
                QCOMPARE(dialog.windowTitle(), ProgressDialogCaption);
                QCOMPARE(dialog.Label1->text(), QString());
                dialog.Timer1->tick();
            });
            forms->mdiForm1().xConvert_to_Black_Click();
            forms->form2().Unload();
        }
    }

    void anEmptyPictureConvertsToNothingWithoutAnError() {
        openPicture(QImage());
        tickAtOnce(*forms);
        forms->mdiForm1().xConvert_to_Black_Click();
        tickAtOnce(*forms);
        forms->mdiForm1().xScale_Click();
        QCOMPARE(Module2::StageDone[1], BooleanTrue);
        QCOMPARE(Module2::StageDone[2], BooleanTrue);
    }

    void theBarGrowsToTheFullFrame() {
        openPicture(colourPicture(3, 1));
        QList<int> widths;
        recorder.onCaption = [&widths](Form5& dialog, const QString&) { widths << dialog.Label1Width(); };
        tickAtOnce(*forms);
        forms->mdiForm1().xConvert_to_Black_Click();
        QList<int> expected{15};
        for (int x = 0; x <= 3; ++x) {
            expected << int(roundDown((x / 3.0) * 6135));
        }
        QCOMPARE(widths, expected);
    }
};

QTEST_MAIN(ConversionDriverTest)
#include "ConversionDriverTest.moc"
