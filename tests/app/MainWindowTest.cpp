#include "app/Forms.h"
#include "app/MDIForm1.h"
#include "convert/Form5.h"
#include "export/Form6.h"
#include "open/Form4.h"
#include "view/Form1.h"
#include "view/Form2.h"
#include "view/Form3.h"

#include "ProgressTicks.h"
#include "WholeProgram.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

QImage picture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, qRgb(40 * x + y, 90 - 10 * y, 7 * x * y));
        }
    }
    return image;
}

ColourValue greyOf(const QImage& image, int x, int y) {
    const QRgb pixel = image.pixel(x, y);
    const int level = (qRed(pixel) + qGreen(pixel) + qBlue(pixel) + 1) / 3;
    return RGB(level, level, level);
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    // First, before any test resets it: the values the program starts with.
    void sharedStateStartsEmpty() {
        QVERIFY(Module2::CurrentPath.isEmpty());
        QCOMPARE(Module2::CancelFlag, BooleanFalse);
        QCOMPARE(Module2::ConvertMode, std::int16_t(0));
        for (const Boolean flag : Module2::StageDone) {
            QCOMPARE(flag, BooleanFalse);
        }
    }

    void startsMaximisedWithOnlyTheOpenItemEnabledAndClosingEndsTheProgram() {
        WholeProgram program;
        MDIForm1& main = program.forms.mdiForm1();
        main.show();
        QCOMPARE(main.windowTitle(), QStringLiteral("位图转换到AutoCAD图形（Quillet)"));
        QVERIFY(main.windowState() & Qt::WindowMaximized);
        QStringList captions;
        QStringList shortcuts;
        QList<bool> enabled;
        for (const QAction* action : main.menuBar()->actions()) {
            captions << action->text();
            shortcuts << action->shortcut().toString();
            enabled << action->isEnabled();
            QVERIFY(!action->menu());
        }
        QCOMPARE(captions, (QStringList{"打开图片文件", "转换成黑白图片", "降低分辨率", "保存图像数据"}));
        QCOMPARE(shortcuts, (QStringList{"Ctrl+O", "Ctrl+B", "Ctrl+R", "Ctrl+S"}));
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QTimer::singleShot(0, &main,
                           [&program] { QTest::keyClick(program.forms.loadedForm4(), Qt::Key_Escape); });
        QTest::keyClick(&main, Qt::Key_O, Qt::ControlModifier); // returns when the dialog is gone
        QVERIFY(!program.forms.loadedForm4() && !program.shell.messages.size());
        QCOMPARE(enabled, (QList<bool>{true, false, false, false}));
        QVERIFY(!main.windowIcon().isNull());
        main.close();
        QCOMPARE(program.shell.endCount, 1);
    }

    void windowsAreCreatedOnFirstReferenceAndAnewAfterClosing() {
        WholeProgram program;
        Forms& forms = program.forms;
        QVERIFY(!forms.loadedForm1());
        Form1* first = &forms.form1();
        QCOMPARE(forms.loadedForm1(), first);
        QCOMPARE(&forms.form1(), first);
        QCOMPARE(first->Icon().cacheKey(), forms.mdiForm1().Icon().cacheKey());
        QCOMPARE(forms.mdiForm1().mdiArea()->subWindowList().size(), 1);
        first->Unload();
        QVERIFY(!forms.loadedForm1());
        forms.form1();
        QVERIFY(forms.loadedForm1());
    }

    void aNewPictureReplacesTheOldResultsAndAClosedOriginalWindowShowsItAgain() {
        WholeProgram program;
        Forms& forms = program.forms;
        MDIForm1& main = forms.mdiForm1();
        main.pictureOpened(picture(4, 4));
        tickWhenProgressShows(forms);
        main.xScale_Click();
        const QImage second = picture(6, 2);
        main.pictureOpened(second);
        QVERIFY(!forms.loadedForm2() && !forms.loadedForm3());
        tickWhenProgressShows(forms);
        main.xConvert_to_Black_Click();
        QCOMPARE(forms.exportSources().loadForExport(true).pixelWidth(), 6);
        QCOMPARE(forms.form2().Picture2->Point(5, 1), greyOf(second, 5, 1));
        forms.loadedForm1()->Unload(); // the export's header still carries the opened picture's size
        QCOMPARE(forms.exportSources().openedPictureSize(), QSizeF(6, 2));
        QCOMPARE(forms.form1().Picture2->Point(5, 1),
                 ColourValue(
                     RGB(qRed(second.pixel(5, 1)), qGreen(second.pixel(5, 1)), qBlue(second.pixel(5, 1)))));
    }

    void aCancelledRunIsMarkedUnfinishedAndItsMenuItemConvertsAgain_data() {
        QTest::addColumn<bool>("half");
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("grey: close box before the first tick") << false << true;
        QTest::newRow("grey: cancel") << false << false;
        QTest::newRow("half: close box before the first tick") << true << true;
        QTest::newRow("half: cancel") << true << false;
    }
    void aCancelledRunIsMarkedUnfinishedAndItsMenuItemConvertsAgain() {
        QFETCH(bool, half);
        QFETCH(bool, closeBox);
        WholeProgram program;
        Forms& forms = program.forms;
        MDIForm1& main = forms.mdiForm1();
        const QImage opened = picture(3, 3);
        main.pictureOpened(opened);
        if (half) {
            tickWhenProgressShows(forms);
            main.xConvert_to_Black_Click();
        }
        whenProgressShows(forms, [closeBox](Form5& dialog) {
            if (closeBox) {
                dialog.close();
                return;
            }
            dialog.Command1->click();
            dialog.Timer1->tick();
        });
        const auto menuItem = [&] { half ? main.xScale_Click() : main.xConvert_to_Black_Click(); };
        const auto window = [&]() -> PictureWindowForm* {
            return half ? static_cast<PictureWindowForm*>(forms.loadedForm3()) : forms.loadedForm2();
        };
        menuItem();
        const QString caption =
            half ? QStringLiteral("低分辨率黑白图片") : QStringLiteral("原分辨率黑白图片");
        const QPointer<PictureWindowForm> unfinished = window();
        QCOMPARE(unfinished->Caption(), caption + QStringLiteral("（未完成）"));
        QCOMPARE(Module2::StageDone[half ? 2 : 1], BooleanFalse);
        main.xSave_Click(); // the export is refused and opens no file
        forms.form6().Text2->setText(program.path("out.txt"));
        // the unfinished picture chosen, as in a dialog opened while the half-resolution one was done
        (half ? forms.form6().Option2 : forms.form6().Option1)->setChecked(true);
        forms.form6().Command1->click();
        QCOMPARE(program.shell.messages.size(), 1);
        QCOMPARE(program.shell.messages.takeFirst().text, QStringLiteral("图片尚未转换完成，不能导出。"));
        QVERIFY(!QFile::exists(program.path("out.txt")));
        tickWhenProgressShows(forms);
        menuItem();
        QVERIFY(!unfinished && window());
        QCOMPARE(window()->Caption(), caption);
        QCOMPARE(Module2::StageDone[half ? 2 : 1], BooleanTrue);
        QCOMPARE(window()->Picture2->Point(half ? 1 : 2, half ? 1 : 2), greyOf(opened, 2, 2));
        QVERIFY(program.shell.messages.isEmpty());
    }

    // Opened again after its close box, over a maximised grey window: laid out afresh, framed, not maximised.
    void theExportDialogOpensAlikeEveryTimeAndIsNeverMaximised() {
        WholeProgram program;
        Forms& forms = program.forms;
        MDIForm1& main = forms.mdiForm1();
        main.show();
        main.pictureOpened(picture(3, 3));
        tickWhenProgressShows(forms);
        main.xConvert_to_Black_Click();
        for (int opening = 0; opening < 3; ++opening) {
            forms.form2().setWindowStateValue(2);
            main.xSave_Click();
            Form6& dialog = forms.form6();
            QVERIFY(!(dialog.frame()->windowState() & Qt::WindowMaximized));
            QVERIFY(!(dialog.frame()->windowFlags() & Qt::WindowMaximizeButtonHint));
            QCOMPARE(dialog.frame()->size(), dialog.frame()->sizeHint());
            QCOMPARE(dialog.HScroll1->Value(), 122);
            QCOMPARE(dialog.Frame1->title(), QStringLiteral("指定图像的黑白分界线--RGB(122,122,122)"));
            const QImage& ramp = dialog.Picture1->surface().image();
            QVERIFY(qGray(ramp.pixel(ramp.width() - 2, 20)) >= 253);
            if (opening == 1) {
                dialog.HScroll1->setBarValue(0);
                dialog.close(); // the close box
            }
        }
    }

    void reduceBeforeConvertMakesTheGreyPictureFirstAndMaximisesTheHalfResolutionWindow() {
        WholeProgram program;
        Forms& forms = program.forms;
        forms.form1().Picture2->setPicture(QImage(4, 4, QImage::Format_RGB32));
        forms.form1().Picture2->PSet(2, 2, RGB(30, 60, 91));
        QTimer ticker; // every progress dialog ticked as soon as it shows
        connect(&ticker, &QTimer::timeout, [&forms] {
            if (Form5* dialog = forms.loadedForm5(); dialog && dialog->isVisible()) {
                dialog->Timer1->tick();
            }
        });
        ticker.start(0);
        forms.mdiForm1().xScale_Click();
        QCOMPARE(Module2::StageDone[1], BooleanTrue);
        QCOMPARE(Module2::StageDone[2], BooleanTrue);
        QCOMPARE(forms.form2().WindowStateValue(), 1);
        QCOMPARE(forms.form3().WindowStateValue(), 2);
        QCOMPARE(forms.form3().Picture2->Point(1, 1), RGB(60, 60, 60));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
