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
#include <QPointer>
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

// The picture boxes of the three picture windows, laid out as the result windows lay theirs out, and the
// result windows the dialog maximises.
struct PictureBoxes : ConversionWindows {
    explicit PictureBoxes(const QImage& picture) {
        original.setAutoSize(true);
        original.setPicture(picture);
        for (PictureBox* result : {&grey, &half}) {
            result->setWidth(original.Width());
            result->setHeight(original.Height());
        }
        half.setScaleWidth(original.ScaleWidth() / 2.0f);
        half.setScaleHeight(original.ScaleHeight() / 2.0f);
    }
    PictureBox& originalPicture() override { return original; }
    PictureBox& resultPicture(ConversionResult result) override {
        return result == ConversionResult::Grey ? grey : half;
    }
    void maximiseResultWindow(ConversionResult result) override { maximised << result; }

    PictureBox original{nullptr, 0, false};
    PictureBox grey{nullptr, RGB(0, 0, 0), false};
    PictureBox half{nullptr, RGB(0, 0, 0), false};
    QList<ConversionResult> maximised;
};

} // namespace

class ConversionDriverTest : public QObject {
    Q_OBJECT
private:
    std::optional<TestProgram> program;
    std::optional<PictureBoxes> boxes;
    CaptionRecorder recorder;
    QList<bool> armed; // at each showing of the progress dialog

    void openPicture(const QImage& picture) {
        boxes.emplace(picture);
        Module2::StageDone[0] = BooleanTrue; // the rest cleared with the test program
    }
    // Shows a new progress dialog for this mode, as a result window's load does; the action runs once it
    // shows.
    void runDialog(std::int16_t mode, const std::function<void(Form5&)>& whenShown = {}) {
        Module2::ConvertMode = mode;
        const QPointer<Form5> dialog = new Form5(program->shell, *boxes, nullptr);
        QTimer::singleShot(0, dialog, [this, dialog, whenShown] {
            armed << (dialog->Timer1->Enabled() && dialog->Timer1->Interval() == 1000 &&
                      dialog->windowTitle() == ProgressDialogCaption && dialog->Label1->text().isEmpty());
            whenShown ? whenShown(*dialog) : dialog->Timer1->tick(); // at once instead of a second later
        });
        dialog->ShowModal();
        QVERIFY(!dialog || dialog->isUnloaded());
    }
    // The grey picture: the grey of the picture before firstBlack, black from there on.
    QString greyDifference(const QImage& picture, int firstBlack) const {
        return firstPixelDifference(boxes->grey.surface(),
                                    [&](int x, int y) { return x < firstBlack ? greyOf(picture, x, y) : 0; });
    }

private slots:
    void init() {
        program.emplace();
        recorder.captions.clear();
        recorder.onCaption = nullptr;
        armed.clear();
        qApp->installEventFilter(&recorder);
    }

    void cleanup() {
        qApp->removeEventFilter(&recorder);
        const QString message =
            program->shell.messages.isEmpty() ? QString() : program->shell.messages[0].text;
        boxes.reset();
        program.reset();
        QVERIFY2(message.isEmpty(), qPrintable(message));
        QVERIFY2(!armed.contains(false), "a showing of the progress dialog was not armed");
    }

    void greyConversionShowsEveryStepAndMaximisesTheGreyWindow() {
        const QImage picture = colourPicture(3, 2);
        openPicture(picture);
        QList<int> bars;
        recorder.onCaption = [&bars](Form5& dialog, const QString&) { bars << dialog.Label1Width(); };
        runDialog(1);
        QCOMPARE(recorder.captions, progressCaptions(GreyPrefix, {0, 33, 66, 100}));
        QCOMPARE(bars, (QList<int>{15, 0, 2045, 4090, 6135})); // to the full frame
        QCOMPARE(boxes->maximised, QList<ConversionResult>{ConversionResult::Grey});
        QCOMPARE(flags(), (QList<int>{-1, 0, 0}));
        QCOMPARE(greyDifference(picture, INT_MAX), QString());
    }

    void reductionShowsItsStepsAndMaximisesTheHalfResolutionWindow() {
        const QImage picture = colourPicture(5, 5);
        openPicture(picture);
        runDialog(1);
        recorder.captions.clear();
        runDialog(2);
        QCOMPARE(recorder.captions, progressCaptions(HalfPrefix, {0, 40, 80}));
        QCOMPARE(boxes->maximised, (QList<ConversionResult>{ConversionResult::Grey, ConversionResult::Half}));
        QCOMPARE(flags(), (QList<int>{-1, -1, 0}));
        const PictureSurface& half = boxes->half.surface();
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
            boxes->grey.Cls(); // the next run starts afresh, as in a grey window opened again
            runDialog(1);
            QCOMPARE(recorder.captions.last(),
                     GreyPrefix + QString::number(percent(std::min(clickColumn + 1, 40))) + "%");
            QCOMPARE(flags(), (QList<int>{clickColumn == 40 ? -1 : 0, 0, 0})); // a stopped run is no result
            QCOMPARE(boxes->maximised.size(), run + 1);
            QCOMPARE(greyDifference(picture, clickColumn + 1), QString());
        }
    }

    void cancelOrCloseBeforeTheFirstTick_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QList<int>>("flagsAfter");
        QTest::newRow("cancel: the tick shows 0 % and converts nothing")
            << "cancel" << progressCaptions(GreyPrefix, {0}) << QList<int>{0, 0, 0};
        QTest::newRow("Esc: as cancel") << "Esc" << progressCaptions(GreyPrefix, {0}) << QList<int>{0, 0, 0};
        QTest::newRow("close: no tick, the flag set until the next dialog shows")
            << "close" << QStringList{ProgressDialogCaption} << QList<int>{0, 0, -1};
    }
    void cancelOrCloseBeforeTheFirstTick() {
        QFETCH(QString, how);
        QFETCH(QStringList, captions);
        QFETCH(QList<int>, flagsAfter);
        const QImage picture = colourPicture(3, 3);
        openPicture(picture);
        runDialog(1, [how](Form5& dialog) {
            if (how == "close") {
                dialog.close();
                return;
            }
            how == "Esc" ? QTest::keyClick(&dialog, Qt::Key_Escape) : dialog.Command1->click();
            QVERIFY(dialog.isVisible());
            dialog.Timer1->tick();
        });
        QCOMPARE(recorder.captions, captions);
        QCOMPARE(flags(), flagsAfter);
        QCOMPARE(greyDifference(picture, 0), QString());

        // the next run converts the whole picture: the cancel stopped that run and no other
        recorder.captions.clear();
        runDialog(1);
        QCOMPARE(recorder.captions, progressCaptions(GreyPrefix, {0, 33, 66, 100}));
        QCOMPARE(flags(), (QList<int>{-1, 0, 0}));
        QCOMPARE(greyDifference(picture, INT_MAX), QString());
    }

    void aTickWithoutAModeRunsNothingAndTheDialogWaitsForItsCloseBox() {
        openPicture(colourPicture(2, 2));
        runDialog(0, [](Form5& dialog) {
            dialog.Timer1->tick();
            QVERIFY(!dialog.Timer1->Enabled());
            dialog.Command1->click();
            QVERIFY(dialog.isVisible());
            QCOMPARE(dialog.windowTitle(), ProgressDialogCaption);
            dialog.close();
        });
        QCOMPARE(flags(), (QList<int>{0, 0, -1}));
        QVERIFY(boxes->maximised.isEmpty());
    }

    void anEmptyPictureConvertsToNothingWithoutAnError() {
        openPicture(QImage());
        runDialog(1);
        runDialog(2);
        QCOMPARE(flags(), (QList<int>{-1, -1, 0}));
    }
};

QTEST_MAIN(ConversionDriverTest)
#include "ConversionDriverTest.moc"
