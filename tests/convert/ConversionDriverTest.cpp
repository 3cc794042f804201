// The convert and reduce items driven through the real windows and progress dialog, offscreen.

#include "app/Forms.h"
#include "app/MDIForm1.h"
#include "convert/Form5.h"
#include "runtime/Numbers.h"
#include "state/Module2.h"
#include "view/Form1.h"
#include "view/Form2.h"
#include "view/Form3.h"

#include "PixelCompare.h"
#include "ProgressTicks.h"
#include "WholeProgram.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <climits>
#include <functional>
#include <optional>

namespace {

// Records every caption the progress dialog shows, and lets a test act when one appears.
class CaptionRecorder : public QObject {
public:
    QStringList captions;
    std::function<void(Form5&, const QString&)> onCaption;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (auto* dialog = qobject_cast<Form5*>(watched);
            dialog && event->type() == QEvent::WindowTitleChange) {
            captions << dialog->windowTitle();
            if (onCaption) {
                onCaption(*dialog, captions.last());
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

QStringList progressCaptions(const QString& prefix, const QList<int>& percents) {
    QStringList captions{ProgressDialogCaption};
    for (const int percent : percents) {
        captions << prefix + QString::number(percent) + "%";
    }
    return captions;
}

const QString GreyPrefix = QStringLiteral("转换成原分辨率黑白图片……已经完成:");
const QString HalfPrefix = QStringLiteral("转换成低分辨率黑白图片……已经完成:");

// Grey picture made, half-resolution picture made, cancel flag.
QList<int> flags() {
    return {Module2::StageDone[1], Module2::StageDone[2], Module2::CancelFlag};
}

} // namespace

class ConversionDriverTest : public QObject {
    Q_OBJECT
private:
    std::optional<WholeProgram> program;
    Forms* forms = nullptr;
    CaptionRecorder recorder;
    QList<bool> armed; // at each showing of the progress dialog

    void openPicture(const QImage& picture) {
        forms->form1().Picture2->setPicture(picture);
        Module2::StageDone[0] = BooleanTrue; // the rest cleared with the test program
    }
    // Delivers the tick at once, noting whether the dialog showed armed to tick after a second.
    void tickAtOnce() {
        whenProgressShows(*forms, [this](Form5& dialog) {
            armed << (dialog.Timer1->Enabled() && dialog.Timer1->Interval() == 1000 &&
                      dialog.windowTitle() == ProgressDialogCaption && dialog.Label1->text().isEmpty());
            dialog.Timer1->tick();
        });
    }
    // The grey window's picture: the grey of the picture before firstBlack, black from there on.
    QString greyDifference(const QImage& picture, int firstBlack) const {
        return firstPixelDifference(forms->form2().Picture2->surface(),
                                    [&](int x, int y) { return x < firstBlack ? greyOf(picture, x, y) : 0; });
    }

private slots:
    void init() {
        forms = &program.emplace().forms;
        forms->mdiForm1().show();
        recorder.captions.clear();
        recorder.onCaption = nullptr;
        armed.clear();
        qApp->installEventFilter(&recorder);
    }

    void cleanup() {
        qApp->removeEventFilter(&recorder);
        const QString message =
            program->shell.messages.isEmpty() ? QString() : program->shell.messages[0].text;
        program.reset();
        QVERIFY2(message.isEmpty(), qPrintable(message));
        QVERIFY2(!armed.contains(false), "a showing of the progress dialog was not armed");
    }

    void greyConversionShowsEveryStepAndTheGreyWindow() {
        const QImage picture = colourPicture(3, 2);
        openPicture(picture);
        QList<int> bars;
        recorder.onCaption = [&bars](Form5& dialog, const QString&) { bars << dialog.Label1Width(); };
        tickAtOnce();
        forms->mdiForm1().xConvert_to_Black_Click();

        QCOMPARE(recorder.captions, progressCaptions(GreyPrefix, {0, 33, 66, 100}));
        QCOMPARE(bars, (QList<int>{15, 0, 2045, 4090, 6135})); // to the full frame
        QVERIFY(!forms->loadedForm5());
        QCOMPARE(forms->form1().WindowStateValue(), 1);
        QCOMPARE(forms->form2().WindowStateValue(), 2);
        // restored, the grey window takes the original window's restored size, not its minimised one
        QCOMPARE(forms->form2().WidthTwips(), forms->form1().WidthTwips());
        QCOMPARE(forms->form2().HeightTwips(), forms->form1().HeightTwips());
        QVERIFY(forms->form1().WidthTwips() > 600 * TwipsPerPixel);
        QCOMPARE(flags(), (QList<int>{-1, 0, 0}));
        QCOMPARE(greyDifference(picture, INT_MAX), QString());

        // the open grey window is only activated
        recorder.captions.clear();
        forms->mdiForm1().xConvert_to_Black_Click();
        QCOMPARE(recorder.captions, QStringList());
        QVERIFY(!forms->loadedForm5());
    }

    void reductionShowsItsStepsAndTheHalfResolutionWindow_data() {
        QTest::addColumn<bool>("greyFirst");
        QTest::addColumn<QStringList>("captions");
        const QStringList half = progressCaptions(HalfPrefix, {0, 40, 80});
        QTest::newRow("after the grey conversion") << true << half;
        QTest::newRow("before any grey conversion: the grey picture first")
            << false << progressCaptions(GreyPrefix, {0, 20, 40, 60, 80, 100}) + half;
    }
    void reductionShowsItsStepsAndTheHalfResolutionWindow() {
        QFETCH(bool, greyFirst);
        QFETCH(QStringList, captions);
        const QImage picture = colourPicture(5, 5);
        openPicture(picture);
        // a tick for every showing, also the second one within one click
        recorder.onCaption = [](Form5& dialog, const QString& caption) {
            if (caption == ProgressDialogCaption) {
                QTimer::singleShot(0, &dialog, [&dialog] { dialog.Timer1->tick(); });
            }
        };
        if (greyFirst) {
            forms->mdiForm1().xConvert_to_Black_Click();
            recorder.captions.clear();
        }
        forms->mdiForm1().xScale_Click();

        QCOMPARE(recorder.captions, captions);
        QCOMPARE(forms->form2().WindowStateValue(), 1);
        QCOMPARE(forms->form3().WindowStateValue(), 2);
        QCOMPARE(flags(), (QList<int>{-1, -1, 0}));
        const PictureSurface& half = forms->form3().Picture2->surface();
        QCOMPARE(half.ScaleWidth(), 2.5f);
        for (int u = 0; u <= 2; ++u) {
            for (int v = 0; v <= 2; ++v) {
                QCOMPARE(half.Point(u, v), greyOf(picture, 2 * u, 2 * v));
            }
        }
    }

    void cancelAtAnyColumnLeavesExactlyTheColumnsBeforeIt() {
        const QImage picture = colourPicture(40, 3);
        openPicture(picture);
        const auto percent = [](int column) { return int(roundDown(column / 40.0 * 100)); };
        QRandomGenerator random(20261206);
        for (int run = 0; run < 30; ++run) {
            // the click arrives while this column is converted and is handled in the yield before the next
            const int clickColumn = random.bounded(41);
            const QString clickCaption = GreyPrefix + QString::number(percent(clickColumn)) + "%";
            recorder.onCaption = [clickCaption](Form5& dialog, const QString& caption) {
                if (caption == clickCaption) {
                    QMetaObject::invokeMethod(dialog.Command1, &QPushButton::click, Qt::QueuedConnection);
                }
            };
            tickAtOnce();
            forms->mdiForm1().xConvert_to_Black_Click();

            QCOMPARE(recorder.captions.last(),
                     GreyPrefix + QString::number(percent(std::min(clickColumn + 1, 40))) + "%");
            QCOMPARE(flags(), (QList<int>{-1, 0, 0}));
            QCOMPARE(forms->form2().WindowStateValue(), 2);
            QCOMPARE(greyDifference(picture, clickColumn + 1), QString());
            forms->form2().Unload(); // the next run starts afresh, as after the user closed the window
        }
    }

    void cancelOrCloseBeforeTheFirstTick_data() {
        QTest::addColumn<bool>("close");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QList<int>>("flagsAfter");
        QTest::newRow("cancel: the tick shows 0 % and converts nothing")
            << false << progressCaptions(GreyPrefix, {0}) << QList<int>{-1, 0, 0};
        QTest::newRow("close: no tick, the flag stays set")
            << true << QStringList{ProgressDialogCaption} << QList<int>{0, 0, -1};
    }
    void cancelOrCloseBeforeTheFirstTick() {
        QFETCH(bool, close);
        QFETCH(QStringList, captions);
        QFETCH(QList<int>, flagsAfter);
        const QImage picture = colourPicture(3, 3);
        openPicture(picture);
        whenProgressShows(*forms, [close](Form5& dialog) {
            if (close) {
                dialog.close();
                return;
            }
            dialog.Command1->click();
            QVERIFY(dialog.isVisible());
            dialog.Timer1->tick();
        });
        forms->mdiForm1().xConvert_to_Black_Click();
        QCOMPARE(recorder.captions, captions);
        QCOMPARE(flags(), flagsAfter);
        QCOMPARE(greyDifference(picture, 0), QString());

        // the next run; with the flag left set it shows 0 % only, converts nothing and clears the flag
        forms->form2().Unload();
        recorder.captions.clear();
        tickAtOnce();
        forms->mdiForm1().xConvert_to_Black_Click();
        QCOMPARE(recorder.captions,
                 progressCaptions(GreyPrefix, close ? QList<int>{0} : QList<int>{0, 33, 66, 100}));
        QCOMPARE(flags(), (QList<int>{-1, 0, 0}));
        QCOMPARE(greyDifference(picture, close ? 0 : INT_MAX), QString());
    }

    void aTickWithoutAModeRunsNothingAndTheDialogWaitsForItsCloseBox() {
        openPicture(colourPicture(2, 2));
        whenProgressShows(*forms, [](Form5& dialog) {
            dialog.Timer1->tick();
            QVERIFY(!dialog.Timer1->Enabled());
            dialog.Command1->click();
            QVERIFY(dialog.isVisible());
            QCOMPARE(dialog.windowTitle(), ProgressDialogCaption);
            dialog.close();
        });
        forms->form2(); // loaded by some other path, before any item set the mode
        QCOMPARE(flags(), (QList<int>{0, 0, -1}));
    }

    void anEmptyPictureConvertsToNothingWithoutAnError() {
        openPicture(QImage());
        tickAtOnce();
        forms->mdiForm1().xConvert_to_Black_Click();
        tickAtOnce();
        forms->mdiForm1().xScale_Click();
        QCOMPARE(flags(), (QList<int>{-1, -1, 0}));
    }
};

QTEST_MAIN(ConversionDriverTest)
#include "ConversionDriverTest.moc"
