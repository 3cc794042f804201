// The convert and reduce items driven through the real windows and progress dialog, offscreen.

#include "convert/Form5.h"
#include "runtime/PictureBox.h"
#include "state/Module2.h"

#include "TestPictures.h"
#include "TestProgram.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include <cmath>
#include <functional>
#include <optional>

namespace {

const QString Caption = QStringLiteral("将图片转换成黑白色……");
const QString GreyPrefix = QStringLiteral("转换成原分辨率黑白图片……已经完成:");
const QString HalfPrefix = QStringLiteral("转换成低分辨率黑白图片……已经完成:");

// The dialog's caption, then one per column shown: column c at floor(c * percentPerColumn) %.
QStringList progressCaptions(const QString& prefix, int columns, double percentPerColumn) {
    QStringList captions{Caption};
    for (int column = 0; column < columns; ++column) {
        captions << prefix + QString::number(int(std::floor(column * percentPerColumn))) + "%";
    }
    return captions;
}

// Grey picture made, half-resolution picture made, cancel flag.
QList<int> flags() {
    return {Module2::StageDone(1), Module2::StageDone(2), Module2::CancelFlag()};
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
    QStringList captions;                                  // every caption the progress dialog shows
    std::function<void(Form5&, const QString&)> onCaption; // acts when one appears

    void openPicture(const QImage& picture) {
        boxes.emplace(picture);
        Module2::document().open(QStringLiteral("picture.png"), picture, std::nullopt);
    }
    // Shows a new progress dialog for this mode, as a result window's load does; the action runs once it
    // shows.
    void runDialog(std::int16_t mode, const std::function<void(Form5&)>& whenShown = {}) {
        Module2::setConvertMode(mode);
        const QPointer<Form5> dialog = new Form5(program->shell, *boxes, nullptr);
        captions = {dialog->windowTitle()};
        connect(dialog, &QWidget::windowTitleChanged, this, [this, dialog](const QString& caption) {
            captions << caption;
            if (onCaption) {
                onCaption(*dialog, caption);
            }
        });
        QTimer::singleShot(0, dialog, [dialog, whenShown] {
            const bool armed = dialog->Timer1->Enabled() && dialog->Timer1->Interval() == 1000 &&
                               dialog->windowTitle() == Caption && dialog->Label1->text().isEmpty() &&
                               dialog->Label1Width() == 15;          // the bar's design width
            whenShown ? whenShown(*dialog) : dialog->Timer1->tick(); // at once instead of a second later
            QVERIFY2(armed, "a showing of the progress dialog was not armed");
        });
        dialog->ShowModal();
        QVERIFY(!dialog || dialog->isUnloaded());
    }

private slots:
    void init() {
        program.emplace();
        onCaption = nullptr;
    }

    void cleanup() {
        const QString message =
            program->shell.messages.isEmpty() ? QString() : program->shell.messages[0].text;
        boxes.reset();
        program.reset();
        QVERIFY2(message.isEmpty(), qPrintable(message));
    }

    // The pixels of both runs are the conversion routines' test's.
    void greyThenHalfShowEveryStepAndMaximiseTheirWindows() {
        openPicture(variedImage(5, 5));
        QList<int> bars;
        onCaption = [&bars](Form5& dialog, const QString&) { bars << dialog.Label1Width(); };
        runDialog(1);
        QCOMPARE(captions, progressCaptions(GreyPrefix, 6, 20));
        QCOMPARE(bars, (QList<int>{0, 1227, 2454, 3681, 4908, 6135})); // to the full frame
        QCOMPARE(flags(), (QList<int>{-1, 0, 0}));
        runDialog(2);
        QCOMPARE(captions, progressCaptions(HalfPrefix, 3, 40));
        QCOMPARE(boxes->maximised, (QList<ConversionResult>{ConversionResult::Grey, ConversionResult::Half}));
        QCOMPARE(flags(), (QList<int>{-1, -1, 0}));
    }

    // A click arrives while a column is converted and is handled in the yield before the next (which
    // columns a cancel leaves grey is the pixel routines' test); Cancel or Esc before the first tick stops
    // at 0 %; the close box before it stops the tick itself.
    void aCancelStopsItsRunAtTheNextColumnAndNoOther_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("click"); // the column whose caption the click arrives after
        QTest::newRow("cancel before the first tick") << "cancel" << -1;
        QTest::newRow("Esc before the first tick") << "Esc" << -1;
        QTest::newRow("close box: the flag kept until the next dialog") << "close" << -1;
        for (const int column : {0, 20, 40}) {
            QTest::addRow("click during column %d", column) << "click" << column;
        }
        // A mouse click, unlike a queued call, waits for the yield's poll of the event loop.
        QTest::newRow("mouse click during column 20") << "mouse" << 20;
    }
    void aCancelStopsItsRunAtTheNextColumnAndNoOther() {
        QFETCH(QString, how);
        QFETCH(int, click);
        const int shown = click >= 0 ? std::min(click + 2, 41) : how == "close" ? 0 : 1; // captions
        const QList<int> flagsAfter{click == 40 ? -1 : 0, 0,
                                    how == "close" ? -1 : 0}; // a stopped run is no result
        openPicture(variedImage(40, 3));
        const QString clicked = progressCaptions(GreyPrefix, 41, 2.5).value(click + 1);
        onCaption = [&](Form5& dialog, const QString& caption) {
            if (click >= 0 && caption == clicked && how == "mouse") {
                const QPointF centre = QRectF(dialog.Command1->rect()).center();
                const QPointF global = dialog.Command1->mapToGlobal(centre);
                QCoreApplication::postEvent(dialog.Command1,
                                            new QMouseEvent(QEvent::MouseButtonPress, centre, global,
                                                            Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
                QCoreApplication::postEvent(dialog.Command1,
                                            new QMouseEvent(QEvent::MouseButtonRelease, centre, global,
                                                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
                QTest::qSleep(20); // past the poll's interval
            } else if (click >= 0 && caption == clicked) {
                QMetaObject::invokeMethod(dialog.Command1, &QPushButton::click, Qt::QueuedConnection);
            }
        };
        runDialog(1, [how](Form5& dialog) {
            if (how == "close") {
                dialog.close();
                return;
            }
            if (how != "click" && how != "mouse") {
                how == "Esc" ? QTest::keyClick(&dialog, Qt::Key_Escape) : dialog.Command1->click();
                QVERIFY(dialog.isVisible());
            }
            dialog.Timer1->tick();
        });
        QCOMPARE(captions, progressCaptions(GreyPrefix, shown, 2.5));
        QCOMPARE(flags(), flagsAfter);
        QCOMPARE(boxes->maximised.size(), how == "close" ? 0 : 1);

        // the next run converts the whole picture: the cancel stopped that run and no other
        onCaption = nullptr;
        runDialog(1);
        QCOMPARE(captions, progressCaptions(GreyPrefix, 41, 2.5));
        QCOMPARE(flags(), (QList<int>{-1, 0, 0}));
    }

    void aTickWithoutAModeRunsNothingAndTheDialogWaitsForItsCloseBox() {
        openPicture(variedImage(2, 2));
        runDialog(0, [](Form5& dialog) {
            dialog.Timer1->tick();
            QVERIFY(!dialog.Timer1->Enabled());
            dialog.Command1->click();
            QVERIFY(dialog.isVisible());
            QCOMPARE(dialog.windowTitle(), Caption);
            dialog.close();
        });
        QCOMPARE(flags(), (QList<int>{0, 0, -1}));
        QVERIFY(boxes->maximised.isEmpty());
    }
};

QTEST_MAIN(ConversionDriverTest)
#include "ConversionDriverTest.moc"
