// The main window: its menu, a picture named at start or dropped (a bad or missing one reported with
// nothing else changed), what a new picture or a cancelled conversion leaves, the export dialog it opens,
// and the status bar following the picture, the stages, the active window's zoom and the last export.

#include "app/MDIForm1.h"
#include "app/MainStatusBar.h"
#include "convert/Form5.h"
#include "export/Form6.h"
#include "open/Form4.h"
#include "view/Form1.h"
#include "view/Form2.h"
#include "view/Form3.h"

#include "ProgressTicks.h"
#include "TestFiles.h"
#include "TestPictures.h"
#include "WholeProgram.h"

#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>
#include <QtTest>

namespace {

ColourValue greyOf(const QImage& image, int x, int y) {
    const QRgb pixel = image.pixel(x, y);
    const int level = (qRed(pixel) + qGreen(pixel) + qBlue(pixel) + 1) / 3;
    return RGB(level, level, level);
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void startsMaximisedWithOnlyTheOpenItemEnabledAndClosingEndsTheProgram() {
        WholeProgram program;
        MDIForm1& main = program.forms.mdiForm1();
        main.show();
        QCOMPARE(main.windowTitle(), QStringLiteral("位图转换到AutoCAD图形（Quillet)"));
        QVERIFY(main.windowState() & Qt::WindowMaximized);
        QStringList items;
        for (const QAction* action : main.menuBar()->actions()) {
            items << action->text() + u' ' + action->shortcut().toString() +
                         (action->isEnabled() ? " on" : "");
            QVERIFY(!action->menu());
        }
        QCOMPARE(items, (QStringList{"打开图片文件 Ctrl+O on", "转换成黑白图片 Ctrl+B", "降低分辨率 Ctrl+R",
                                     "保存图像数据 Ctrl+S"}));
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QTimer::singleShot(0, &main,
                           [&program] { QTest::keyClick(program.forms.loadedForm4(), Qt::Key_Escape); });
        QTest::keyClick(&main, Qt::Key_O, Qt::ControlModifier); // returns when the dialog is gone
        QVERIFY(!program.forms.loadedForm4() && !program.shell.messages.size());
        QVERIFY(!main.windowIcon().isNull());
        main.close();
        QCOMPARE(program.shell.endCount, 1);
    }

    void opensAPictureNamedAtStartOrDropped_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("dropped");
        QTest::addColumn<bool>("opens");
        QTest::newRow("good") << "picture.png" << false << true;
        QTest::newRow("bad") << "bad.png" << false << false;
        QTest::newRow("dropped") << "picture.png" << true << true;
    }
    void opensAPictureNamedAtStartOrDropped() {
        QFETCH(QString, file);
        QFETCH(bool, dropped);
        QFETCH(bool, opens);
        WholeProgram program;
        QVERIFY(variedImage(300, 200).save(program.path(QStringLiteral("picture.png"))));
        writeFile(program.path(QStringLiteral("bad.png")), QByteArrayLiteral("no picture"));
        MDIForm1& main = program.forms.mdiForm1();
        main.show();
        const QString path = program.path(file);
        if (dropped) {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(path)});
            QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(&main, &enter);
            QVERIFY(enter.isAccepted());
            QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(&main, &drop);
        } else {
            QCOMPARE(main.openPictureFile(path), opens);
        }
        QCOMPARE(program.shell.messages.size(), opens ? 0 : 1);
        QCOMPARE(Module2::CurrentPath, opens ? path : QString());
        QCOMPARE(Module2::StageDone[0], opens ? BooleanTrue : BooleanFalse);
        QCOMPARE(main.xSave()->isEnabled(), opens);
        QCOMPARE(program.forms.loadedForm1() != nullptr, opens);
        QCOMPARE(main.status()->pictureText(),
                 opens ? QStringLiteral("picture.png　300 × 200 像素　已完成：打开") : QString());
    }

    void aNewPictureReplacesTheOldResultsAndAClosedOriginalWindowShowsItAgain() {
        WholeProgram program;
        Forms& forms = program.forms;
        MDIForm1& main = forms.mdiForm1();
        main.pictureOpened(variedImage(4, 4));
        tickWhenProgressShows(forms);
        main.xScale_Click();
        const QImage second = variedImage(6, 2);
        main.pictureOpened(second);
        QVERIFY(!forms.loadedForm2() && !forms.loadedForm3());
        tickWhenProgressShows(forms);
        main.xConvert_to_Black_Click();
        QCOMPARE(forms.exportSources().loadForExport(true).pixelWidth(), 6);
        QCOMPARE(forms.form2().Picture2->Point(5, 1), greyOf(second, 5, 1));
        forms.loadedForm1()->Unload(); // the export's header still carries the opened picture's size
        QCOMPARE(forms.exportSources().openedPictureSize(), QSizeF(6, 2));
        QCOMPARE(forms.form1().Picture2->Point(5, 1), variedColour(5, 1));
    }

    void aCancelledRunIsMarkedUnfinishedAndItsMenuItemConvertsAgain_data() {
        QTest::addColumn<bool>("half");
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("grey: close box before the first tick") << false << true;
        QTest::newRow("half: cancel") << true << false;
    }
    void aCancelledRunIsMarkedUnfinishedAndItsMenuItemConvertsAgain() {
        QFETCH(bool, half);
        QFETCH(bool, closeBox);
        WholeProgram program;
        Forms& forms = program.forms;
        MDIForm1& main = forms.mdiForm1();
        const QImage opened = variedImage(3, 3);
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
        main.xSave_Click(); // the export is refused
        forms.form6().Text2->setText(program.path("out.txt"));
        // the unfinished picture chosen, as in a dialog opened while the half-resolution one was done
        (half ? forms.form6().Option2 : forms.form6().Option1)->setChecked(true);
        forms.form6().Command1->click();
        QCOMPARE(program.shell.messages.size(), 1);
        QCOMPARE(program.shell.messages.takeFirst().text, QStringLiteral("图片尚未转换完成，不能导出。"));
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
        main.pictureOpened(variedImage(3, 3));
        tickWhenProgressShows(forms);
        main.xConvert_to_Black_Click();
        for (int opening = 0; opening < 2; ++opening) {
            forms.form2().setWindowStateValue(2);
            main.xSave_Click();
            Form6& dialog = forms.form6();
            QVERIFY(!(dialog.frame()->windowState() & Qt::WindowMaximized));
            QVERIFY(!(dialog.frame()->windowFlags() & Qt::WindowMaximizeButtonHint));
            QCOMPARE(dialog.frame()->size(), dialog.frame()->sizeHint());
            QCOMPARE(dialog.HScroll1->Value(), 122); // the rest of its first state is the dialog's tests'
            dialog.HScroll1->setBarValue(0);
            dialog.close(); // the close box
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

    void statusShowsTheActiveWindowsZoomAndTheLastExport() {
        WholeProgram program;
        QImage picture(3000, 2000, QImage::Format_RGB32);
        picture.fill(Qt::gray);
        MDIForm1& main = program.forms.mdiForm1();
        main.show();
        main.pictureOpened(picture);
        Form1& original = program.forms.form1();
        QTRY_COMPARE(main.status()->zoomText(), QStringLiteral("缩放 100 %"));
        original.zoomToFit();
        QVERIFY(main.status()->zoomText().endsWith(QStringLiteral(" %（适合窗口）")));
        original.zoomIn(original.viewportCentre());
        QCOMPARE(main.status()->zoomText(),
                 QStringLiteral("缩放 %1 %").arg(std::round(original.zoom() * 1000) / 10));
        program.forms.form5().setCaption(QStringLiteral("转换成黑白图片……已经完成:50%"));
        QCOMPARE(main.status()->currentMessage(), QStringLiteral("转换成黑白图片……已经完成:50%"));
        const QString file = program.path(QStringLiteral("out.txt"));
        writeFile(file, QByteArray(3 * 1024 * 1024 / 2, 'x'));
        main.status()->showExportWritten(12345, file);
        QCOMPARE(main.status()->currentMessage(),
                 QStringLiteral("已写入 12345 个点（1.5 MB）到 %1").arg(file));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
