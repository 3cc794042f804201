// The assembled program through its main window, offscreen: its menu; a picture named at start, dropped or
// chosen in the open dialog (a bad one reported, nothing else changed); what a new picture or a cancelled
// conversion leaves; the export dialog, the marks on its source window, the files written; the status bar.

#include "app/MainStatusBar.h"
#include "export/Form6.h"
#include "export/PictureRoad.h"
#include "export/ReplaceQuestion.h"
#include "export/SelectionMarks.h"
#include "open/Form4.h"
#include "runtime/FileListBox.h"
#include "runtime/LoadPicture.h"
#include "runtime/ScrollBar.h"
#include "view/Form1.h"
#include "view/Form2.h"
#include "view/Form3.h"

#include "DataRows.h"
#include "PointFiles.h"
#include "TestFiles.h"
#include "TestPictures.h"
#include "WholeProgram.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QProcess>
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

// Empty when the box paints, at 100 %, each stored pixel (each block's first at `block` > 1) in red where
// the marks take it and as it is elsewhere.
QString paintedDifference(PictureBox& box, const SumHighlight& marks, int block) {
    const QImage painted = box.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage& stored = box.surface().image();
    for (int y = 0; y < stored.height(); ++y) {
        for (int x = 0; x < stored.width(); ++x) {
            const QRgb pixel = stored.pixel(x / block * block, y / block * block);
            const QRgb expected = marks.marks(channelSum(pixel)) ? SelectionColour : pixel;
            if (painted.pixel(x, y) != expected) {
                return QString("pixel (%1, %2): %3").arg(x).arg(y).arg(painted.pixel(x, y), 0, 16);
            }
        }
    }
    return {};
}

// The left two thirds black, the rest white, at the resolution given.
void writeHalfBlackPicture(const QString& path, QSize size, int dotsPerInch) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width() * 2 / 3; ++x) {
            picture.setPixel(x, y, qRgb(0, 0, 0));
        }
    }
    picture.setDotsPerMeterX(qRound(dotsPerInch / 0.0254));
    picture.setDotsPerMeterY(picture.dotsPerMeterX());
    QVERIFY(picture.save(path, "JPG", 100));
}

// One step of a walk through the program, by its name in the table.
void takeStep(WholeProgram& program, const QString& step) {
    ProgramWindows& forms = program.forms;
    MDIForm1& main = program.main;
    if (step.startsWith(QStringLiteral("open "))) {
        QVERIFY(main.openPictureFile(program.path(step.mid(5) + QStringLiteral(".jpg"))));
    } else if (step == QStringLiteral("grey")) {
        main.xConvert_to_Black_Click();
    } else if (step == QStringLiteral("half")) {
        main.xScale_Click();
    } else if (step == QStringLiteral("grey closed before its tick")) {
        program.nextProgress = [](Form5& dialog) { dialog.close(); };
        main.xConvert_to_Black_Click();
    } else if (step == QStringLiteral("grey cancelled at 50 %")) {
        program.nextProgress = [](Form5& dialog) {
            QObject::connect(&dialog, &QWidget::windowTitleChanged, &dialog,
                             [&dialog](const QString& caption) {
                                 if (caption.endsWith(QStringLiteral(":50%"))) {
                                     dialog.Command1->click();
                                 }
                             });
            dialog.Timer1->tick();
        };
        main.xConvert_to_Black_Click();
    } else if (step == QStringLiteral("close original")) {
        forms.loadedForm1()->frame()->close();                // its close box
    } else if (step.startsWith(QStringLiteral("restore "))) { // a window made normal and placed at 10, 10
        PictureWindowForm* window = step.endsWith(QStringLiteral("grey"))
                                        ? static_cast<PictureWindowForm*>(forms.loadedForm2())
                                        : forms.loadedForm1();
        window->setWindowStateValue(0);
        window->frame()->setGeometry(10, 10, 300, 200);
    } else if (step == QStringLiteral("close grey by its box")) {
        forms.loadedForm2()->frame()->close();
    } else if (step == QStringLiteral("close grey")) {
        forms.loadedForm2()->Unload();
    } else if (step == QStringLiteral("close half")) {
        forms.loadedForm3()->Unload();
    } else if (step == QStringLiteral("dialog")) {
        main.xSave_Click();
    } else if (step == QStringLiteral("dxf")) {
        forms.form6().FileType->setCurrentIndex(1);
    } else if (step == QStringLiteral("export") || step == QStringLiteral("export at 0 dpi")) {
        Form6& dialog = forms.form6();
        if (step.endsWith(QStringLiteral("0 dpi"))) {
            dialog.Resolution->setText(QStringLiteral("0"));
        }
        dialog.Text2->setText(program.path(QStringLiteral("out.txt")));
        dialog.Command1->click();
    } else {
        QFAIL(qPrintable(QStringLiteral("no such step: ") + step));
    }
}

// 原 and 低: chosen ●, else ○; disabled ones marked.
QString sourceChoices(const Form6& dialog) {
    QStringList choices;
    for (const QRadioButton* option : {dialog.Option1, dialog.Option2}) {
        choices << option->text().mid(1, 1) + (option->isChecked() ? u'●' : u'○') +
                       (option->isEnabled() ? QString() : QStringLiteral("(disabled)"));
    }
    return choices.join(u' ');
}

// The main window's visible sub-windows from back to front, each as its caption with :min or :max, and
// :outside for a normal one that leaves the main window's area; the active one starred.
QString subWindows(const MDIForm1& main) {
    QStringList shown;
    const QRect area = main.mdiArea()->viewport()->rect();
    for (const QMdiSubWindow* window : main.mdiArea()->subWindowList(QMdiArea::StackingOrder)) {
        if (!window->isVisible()) {
            continue;
        }
        const Qt::WindowStates states = window->windowState();
        QString text = window->windowTitle();
        if (states & Qt::WindowMinimized) {
            text += QStringLiteral(":min");
        } else if (states & Qt::WindowMaximized) {
            text += QStringLiteral(":max");
        } else if (!area.contains(window->geometry())) {
            text += QStringLiteral(":outside");
        }
        shown << text + (window == main.mdiArea()->activeSubWindow() ? QStringLiteral("*") : QString());
    }
    return shown.join(u' ');
}

struct WindowWalk {
    QStringList steps;
    QString windows;
};

struct Walk {
    QStringList steps;
    QString windows, status; // picture windows' captions; picture | export | message
    QString sources = {}, resolution = {}, count = {}, caption = {}; // the export dialog; empty when not open
};

} // namespace

Q_DECLARE_METATYPE(Walk)
Q_DECLARE_METATYPE(WindowWalk)

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void startsMaximisedWithOnlyTheOpenItemEnabledAndClosingEndsTheProgram() {
        WholeProgram program;
        MDIForm1& main = program.main;
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
        MDIForm1& main = program.main;
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
        QCOMPARE(Module2::CurrentPath(), opens ? path : QString());
        QCOMPARE(Module2::StageDone(0), opens ? BooleanTrue : BooleanFalse);
        for (const QAction* item : {main.xConvert_to_Black(), main.xScale(), main.xSave()}) {
            QCOMPARE(item->isEnabled(), opens);
        }
        QCOMPARE(program.forms.loadedForm1() != nullptr, opens);
        QCOMPARE(main.status()->pictureText(),
                 opens ? QStringLiteral("picture.png　300 × 200 像素　已完成：打开") : QString());
    }

    // Reducing first makes the grey picture first; a new picture closes both results.
    void reducingFirstMakesTheGreyPictureAndANewPictureReplacesTheResults() {
        WholeProgram program;
        ProgramWindows& forms = program.forms;
        const QImage first = variedImage(4, 4);
        program.open(first);
        program.main.xScale_Click();
        QVERIFY(Module2::StageDone(1) == BooleanTrue && Module2::StageDone(2) == BooleanTrue);
        QCOMPARE(forms.form2().WindowStateValue(), 1);
        QCOMPARE(forms.form3().WindowStateValue(), 2);
        QCOMPARE(forms.form3().Picture2->Point(1, 1), greyOf(first, 2, 2));
        const QImage second = variedImage(6, 2);
        program.open(second);
        QVERIFY(!forms.loadedForm2() && !forms.loadedForm3());
        program.main.xConvert_to_Black_Click();
        QCOMPARE(forms.form2().Picture2->Point(5, 1), greyOf(second, 5, 1));
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
        ProgramWindows& forms = program.forms;
        MDIForm1& main = program.main;
        const QImage opened = variedImage(3, 3);
        half ? program.convert(opened, false) : program.open(opened);
        program.nextProgress = [closeBox](Form5& dialog) {
            if (closeBox) {
                dialog.close();
                return;
            }
            dialog.Command1->click();
            dialog.Timer1->tick();
        };
        const auto menuItem = [&] { half ? main.xScale_Click() : main.xConvert_to_Black_Click(); };
        const auto window = [&]() -> PictureWindowForm* {
            return half ? static_cast<PictureWindowForm*>(forms.loadedForm3()) : forms.loadedForm2();
        };
        menuItem();
        const QString caption =
            half ? QStringLiteral("低分辨率黑白图片") : QStringLiteral("原分辨率黑白图片");
        const QPointer<PictureWindowForm> unfinished = window();
        QCOMPARE(unfinished->Caption(), caption + QStringLiteral("（未完成）"));
        QCOMPARE(Module2::StageDone(half ? 2 : 1), BooleanFalse);
        main.xSave_Click(); // the export is refused
        forms.form6().Text2->setText(program.path("out.txt"));
        // the unfinished picture chosen, as in a dialog opened while the half-resolution one was done
        (half ? forms.form6().Option2 : forms.form6().Option1)->setChecked(true);
        forms.form6().Command1->click();
        QCOMPARE(program.shell.messages.value(0).text, QStringLiteral("图片尚未转换完成，不能导出。"));
        menuItem();
        QVERIFY(!unfinished && window());
        QCOMPARE(window()->Caption(), caption);
        QCOMPARE(Module2::StageDone(half ? 2 : 1), BooleanTrue);
        QCOMPARE(window()->Picture2->Point(half ? 1 : 2, half ? 1 : 2), greyOf(opened, 2, 2));
        QCOMPARE(program.shell.messages.size(), 1); // the refusal alone
    }

    // Opened again after its close box, over a maximised grey window: laid out afresh, framed, not maximised.
    void theExportDialogOpensAlikeEveryTimeAndIsNeverMaximised() {
        WholeProgram program;
        ProgramWindows& forms = program.forms;
        program.convert(variedImage(3, 3), false);
        for (int opening = 0; opening < 2; ++opening) {
            forms.form2().setWindowStateValue(2);
            program.main.xSave_Click();
            Form6& dialog = forms.form6();
            QVERIFY(!(dialog.frame()->windowState() & Qt::WindowMaximized));
            QVERIFY(!(dialog.frame()->windowFlags() & Qt::WindowMaximizeButtonHint));
            QCOMPARE(dialog.frame()->size(), dialog.frame()->sizeHint());
            QCOMPARE(dialog.HScroll1->Value(), 122); // the rest of its first state is the dialog's tests'
            dialog.HScroll1->setBarValue(0);
            dialog.close(); // the close box
        }
    }

    // Reduced, a shown pixel is red where any pixel it stands for is marked; the marks go with the dialog.
    void theChosenSourceWindowMarksTheSelectionOnScreenOnly() {
        WholeProgram program;
        ProgramWindows& forms = program.forms;
        program.convert(variedImage(41, 29), true);
        PictureBox& grey = *forms.form2().Picture2;
        PictureBox& half = *forms.form3().Picture2;
        const QImage greyStored = grey.surface().image().copy();
        const QImage halfStored = half.surface().image().copy();
        forms.form2().zoomToActualSize();
        forms.form3().zoomToActualSize();

        program.main.xSave_Click();
        Form6& dialog = forms.form6();
        const SumHighlight black = *selectionMarks(ExportPolarity::Black, 122);
        QVERIFY(half.highlight() == black && !grey.highlight());
        QCOMPARE(paintedDifference(half, black, 2), QString());
        dialog.Option1->setChecked(true);
        dialog.Option4->setChecked(true);
        dialog.HScroll1->setBarValue(100);
        const SumHighlight white = *selectionMarks(ExportPolarity::White, 100);
        QVERIFY(grey.highlight() == white && !half.highlight());
        QCOMPARE(paintedDifference(grey, white, 1), QString());
        forms.form2().zoomOut(forms.form2().viewportCentre()); // some shown pixels red, not all
        const QImage reduced = grey.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const auto* shown = reinterpret_cast<const QRgb*>(reduced.constBits());
        const qsizetype red = std::count(shown, shown + reduced.width() * reduced.height(), SelectionColour);
        QVERIFY(red > 0 && red < reduced.width() * reduced.height());
        QCOMPARE(grey.surface().image(), greyStored); // on screen only
        QCOMPARE(half.surface().image(), halfStored);

        dialog.Option2->setChecked(true); // back to the half-resolution window, which the unload clears
        QVERIFY(half.highlight() && !grey.highlight());
        dialog.Unload();
        QVERIFY(!grey.highlight() && !half.highlight());
        QCOMPARE(paintedDifference(half, SumHighlight{}, 2),
                 QString()); // unmarked
    }

    // The whole road: a picture chosen in the open dialog, converted, reduced and exported from each
    // source; the point files against bytes worked out from the pixels, a drawing against what
    // quillet-export writes.
    void aPictureGoesFromItsFileToBothPointFiles() {
        WholeProgram program;
        QImage picture = variedImage(9, 7).convertToFormat(QImage::Format_ARGB32);
        for (int x = 0; x < picture.width(); ++x) { // row 2 translucent, laid on white when opened
            const QRgb pixel = picture.pixel(x, 2);
            picture.setPixel(x, 2, qRgba(qRed(pixel), qGreen(pixel), qBlue(pixel), 30 * x));
        }
        QVERIFY(picture.save(program.path("photo.png")));
        ProgramWindows& forms = program.forms;
        MDIForm1& main = program.main;
        QTimer::singleShot(0, &main, [&forms] {
            Form4& dialog = *forms.loadedForm4();
            dialog.File1->setCurrentItem(dialog.File1->findItems("photo.png", Qt::MatchExactly).value(0));
            dialog.Command1->click();
        });
        main.xOpen_Click();
        main.xConvert_to_Black_Click();
        main.xScale_Click();
        // the picture road without a display makes the windows' pictures, black between the half's units
        PictureRoad road(LoadPicture(program.path("photo.png")), QStringLiteral("photo.png"));
        road.makeGrey();
        road.makeHalf();
        QCOMPARE(forms.form2().Picture2->surface().image(), road.result(ConversionResult::Grey).image());
        QCOMPARE(forms.form3().Picture2->surface().image(), road.result(ConversionResult::Half).image());

        // the dialog offers the half-resolution source once it exists
        main.xSave_Click();
        Form6& dialog = forms.form6();
        QVERIFY(dialog.Option2->isChecked());
        dialog.Option3->setChecked(true); // black, at the threshold of 122 it opens with
        dialog.Text2->setText(program.path("black.txt"));
        dialog.Command1->click();
        QCOMPARE(contents(dialog.Text2->text()), expectedPointFile(picture, true, false, 122));
        // a drawing: the typed resolution and the chosen source reach the job the command runs
        dialog.Option4->setChecked(true);
        dialog.HScroll1->setBarValue(0);
        dialog.Resolution->setText(QStringLiteral("300"));
        dialog.FileType->setCurrentIndex(1);
        dialog.Text2->setText(program.path("window.") + QFileInfo(dialog.Text1->text()).suffix());
        dialog.Command1->click();
        const QString command = program.path("command.") + QFileInfo(dialog.Text2->text()).suffix();
        QCOMPARE(QProcess::execute(QUILLET_EXPORT_PROGRAM, {"--half", "--white", "--threshold", "0", "--dpi",
                                                            "300", program.path("photo.png"), command}),
                 0);
        QCOMPARE(contents(dialog.Text2->text()), contents(command));
        dialog.FileType->setCurrentIndex(0);
        // the grey and original windows closed: the half-resolution export leaves the grey one closed, the
        // header carrying the opened picture's size; the original resolution's opens it, with its conversion
        forms.loadedForm2()->Unload();
        forms.loadedForm1()->frame()->close();
        for (const bool half : {true, false}) {
            (half ? dialog.Option2 : dialog.Option1)->setChecked(true);
            dialog.Text2->setText(program.path(QString("again %1.txt").arg(half)));
            dialog.Command1->click();
            QCOMPARE(forms.loadedForm2() != nullptr, !half);
            QVERIFY(forms.loadedForm1()->isClosed());
            QCOMPARE(contents(dialog.Text2->text()), expectedPointFile(picture, half, true, 0));
        }
        QCOMPARE(program.shell.messages.size(), 4);
        QCOMPARE(program.shell.messages[0].text, QStringLiteral("导出图像数据完毕"));
    }

    // After each walk, what the windows, the status bar and the export dialog show at once, with nothing
    // waited for: each follows the picture document as it changes. A: 16 x 8 at 100 dpi; B: 24 x 24 at
    // 300 dpi; both black on the left two thirds.
    void everyWindowShowsTheDocumentAtOnce_data() {
        const QString a = QStringLiteral("a.jpg　16 × 8 像素　已完成："),
                      b = QStringLiteral("b.jpg　24 × 24 像素　已完成：");
        const QString grey = QStringLiteral("打开、转换成黑白图片"), none = QStringLiteral("尚未转换");
        const QString originalAndGrey = QStringLiteral("原始图片 原分辨率黑白图片");
        const QString onlyOriginal = QStringLiteral("原● 低○(disabled)");
        addRows<Walk>({
            {"a new picture brings its stated resolution to the open dialog",
             {{"open a", "grey", "dialog", "dxf", "open b", "grey"},
              originalAndGrey,
              b + grey + " |  | ",
              onlyOriginal,
              "300 图形 2.0 × 2.0 mm",
              "将写入 384 个点，1 个图形，文件约 0.0 MB",
              "导出图像数据"}},
            {"the half-resolution choice is offered once it is made",
             {{"open b", "grey", "dialog", "half"},
              "原始图片 原分辨率黑白图片 低分辨率黑白图片",
              b + grey + "、降低分辨率 |  | ",
              "原○ 低●",
              "300",
              "将写入 77 个点，文件约 0.0 MB",
              "导出图像数据"}},
            {"a finished run leaves no progress on the status bar",
             {{"open b", "grey", "half"},
              "原始图片 原分辨率黑白图片 低分辨率黑白图片",
              b + grey + "、降低分辨率 |  | "}},
            {"a run closed before its tick leaves no earlier run's progress",
             {{"open b", "grey", "close grey", "grey closed before its tick"},
              "原始图片 原分辨率黑白图片（未完成）",
              b + "打开 |  | "}},
            {"a new picture shows no earlier picture's export",
             {{"open a", "grey", "dialog", "export", "open b"},
              "原始图片",
              b + "打开 |  | ",
              onlyOriginal,
              "300",
              none,
              "导出图像数据---已经完成100%"}},
            {"a refused export drops the earlier success caption",
             {{"open a", "grey", "dialog", "export", "export at 0 dpi"},
              originalAndGrey,
              a + grey + " | 已写入 63 个点（0.0 MB）到 <folder>/out.txt | ",
              onlyOriginal,
              "0",
              "将写入 63 个点，文件约 0.0 MB",
              "导出图像数据"}},
            {"a run cancelled mid-way is no source, and its export is refused",
             {{"open b", "dialog", "grey cancelled at 50 %", "export"},
              "原始图片 原分辨率黑白图片（未完成）",
              b + "打开 |  | ",
              onlyOriginal,
              "300",
              none,
              "导出图像数据"}},
            {"a closed window takes its picture from the preview, not the stage",
             {{"open b", "grey", "dialog", "close grey"},
              "原始图片",
              b + grey + " |  | ",
              onlyOriginal,
              "300",
              none,
              "导出图像数据"}},
            {"an export from a closed half-resolution window makes that picture again",
             {{"open b", "half", "close half", "grey", "dialog", "export"},
              "原始图片 原分辨率黑白图片 低分辨率黑白图片",
              b + grey + "、降低分辨率 | 已写入 77 个点（0.0 MB）到 <folder>/out.txt | ",
              "原○ 低●",
              "300",
              "将写入 77 个点，文件约 0.0 MB",
              "导出图像数据---已经完成100%"}},
            {"reducing after a cancelled grey run makes the grey picture first",
             {{"open b", "grey cancelled at 50 %", "half"},
              "原始图片 原分辨率黑白图片 低分辨率黑白图片",
              b + grey + "、降低分辨率 |  | "}},
        });
    }
    void everyWindowShowsTheDocumentAtOnce() {
        QFETCH(Walk, row);
        WholeProgram program;
        writeHalfBlackPicture(program.path(QStringLiteral("a.jpg")), {16, 8}, 100);
        writeHalfBlackPicture(program.path(QStringLiteral("b.jpg")), {24, 24}, 300);
        for (const QString& step : row.steps) {
            takeStep(program, step);
        }
        ProgramWindows& forms = program.forms;
        QStringList windows;
        for (const Form* window :
             {static_cast<Form*>(forms.loadedForm1()), static_cast<Form*>(forms.loadedForm2()),
              static_cast<Form*>(forms.loadedForm3())}) {
            if (window) {
                windows << window->Caption();
            }
        }
        QCOMPARE(windows.join(u' '), row.windows);
        const MainStatusBar& status = *program.main.status();
        QCOMPARE(QStringList({status.pictureText(), status.exportText(), status.currentMessage()})
                     .join(QStringLiteral(" | "))
                     .replace(QDir::toNativeSeparators(program.folder.path()), QStringLiteral("<folder>")),
                 row.status);
        const Form6* dialog = forms.loadedForm6();
        QCOMPARE(dialog ? sourceChoices(*dialog) : QString(), row.sources);
        const QString drawing = dialog ? dialog->DrawingSize->text() : QString();
        QCOMPARE(dialog ? dialog->Resolution->text() + (drawing.isEmpty() ? QString() : u' ' + drawing)
                        : QString(),
                 row.resolution);
        QCOMPARE(dialog ? dialog->PointCount->text() : QString(), row.count);
        QCOMPARE(dialog ? dialog->Caption() : QString(), row.caption);
    }

    // A window the user closed comes back only with a new picture of its own, as it was closed; a window
    // that appears while the export dialog is open appears behind it; none leaves the main window's area.
    void windowsComeBackAsTheyWereLeftAndNeverOverTheExportDialog_data() {
        addRows<WindowWalk>({
            {"closing 原始图片 leaves no window active", {{"open b", "close original"}, ""}},
            {"closing 原始图片, then exporting, reopens nothing",
             {{"open b", "grey", "close original", "dialog", "export"},
              "原分辨率黑白图片:max 导出图像数据---已经完成100%*"}},
            {"a new picture after a conversion restores 原始图片",
             {{"open a", "grey", "open b"}, "原始图片:max*"}},
            {"the export dialog over a picture named at start",
             {{"open b", "grey", "dialog"}, "原始图片:min 原分辨率黑白图片:max 导出图像数据*"}},
            {"a conversion while the export dialog is open appears behind it",
             {{"open b", "dialog", "grey"}, "原始图片:min 原分辨率黑白图片:max 导出图像数据*"}},
            {"a closed 原始图片 comes back with the next picture as it was closed",
             {{"open b", "restore original", "close original", "grey", "open a"}, "原始图片*"}},
            {"a closed grey window comes back with its next conversion as it was closed",
             {{"open b", "grey", "restore grey", "close grey by its box", "grey"},
              "原始图片:min 原分辨率黑白图片*"}},
        });
    }
    void windowsComeBackAsTheyWereLeftAndNeverOverTheExportDialog() {
        QFETCH(WindowWalk, row);
        WholeProgram program;
        writeHalfBlackPicture(program.path(QStringLiteral("a.jpg")), {16, 8}, 100);
        writeHalfBlackPicture(program.path(QStringLiteral("b.jpg")), {24, 24}, 300);
        QVERIFY(QTest::qWaitForWindowExposed(&program.main));
        for (const QString& step : row.steps) {
            takeStep(program, step);
        }
        QCOMPARE(subWindows(program.main), row.windows);
        const QMdiSubWindow* active = program.main.mdiArea()->activeSubWindow();
        QVERIFY(!active || active->isVisible());
        if (!active) {
            QCOMPARE(program.main.status()->zoomText(), QString()); // no hidden window's zoom
        }
        if (Form1* original = program.forms.loadedForm1(); original && !original->isClosed()) {
            QCOMPARE(original->Picture2->surface().image(), Module2::document().picture());
        }
        QCOMPARE(program.shell.messages.size(), row.steps.contains(QStringLiteral("export")) ? 1 : 0);
    }

    // Esc closes the export dialog alone; its 取消 ends the program.
    void escClosesTheExportDialogAndCancelEndsTheProgram_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Esc") << true;
        QTest::newRow("取消") << false;
    }
    void escClosesTheExportDialogAndCancelEndsTheProgram() {
        QFETCH(bool, escape);
        WholeProgram program;
        program.convert(variedImage(3, 3), false);
        program.main.xSave_Click();
        Form6& dialog = program.forms.form6();
        if (escape) {
            QTest::keyClick(dialog.Text1, Qt::Key_Escape);
        } else {
            dialog.Command2->click();
        }
        QCOMPARE(program.forms.loadedForm6() == nullptr, escape);
        QCOMPARE(program.shell.endCount, escape ? 0 : 1);
    }

    // An existing file is replaced only after 是, unless it is the very file the last export wrote.
    void theExportDialogAsksBeforeReplacingAFile_data() {
        QTest::addColumn<bool>("existing");
        QTest::addColumn<bool>("writtenBefore");
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("是 replaces it") << true << false << QList<bool>{true} << true;
        QTest::newRow("否 leaves it and the dialog") << true << false << QList<bool>{false} << false;
        QTest::newRow("the last export's own file: no question") << false << true << QList<bool>{} << true;
        QTest::newRow("a new file: no question") << false << false << QList<bool>{} << true;
    }
    void theExportDialogAsksBeforeReplacingAFile() {
        QFETCH(bool, existing);
        QFETCH(bool, writtenBefore);
        QFETCH(QList<bool>, answers);
        QFETCH(bool, replaced);
        WholeProgram program;
        ReplaceQuestion::forgetWritten();
        program.convert(variedImage(3, 3), false);
        program.main.xSave_Click();
        Form6& dialog = program.forms.form6();
        const QString file = program.path(QStringLiteral("out.txt"));
        dialog.Text2->setText(file);
        if (writtenBefore) {
            dialog.Command1->click();
            writeFile(file + QStringLiteral(".other"), "other"); // another file, another inode
        }
        if (existing) {
            writeFile(file, "the user's own file");
        }
        const QString caption = dialog.Caption();
        const qsizetype messages = program.shell.messages.size();
        program.shell.yesNoAnswers = answers;
        dialog.Command1->click();
        QCOMPARE(program.shell.questions,
                 answers.isEmpty() ? QStringList() : QStringList{"文件已存在，是否替换？"});
        QCOMPARE(contents(file) == "the user's own file", !replaced);
        QCOMPARE(program.shell.messages.size(), messages + (replaced ? 1 : 0));
        if (!replaced) {
            QVERIFY(program.forms.loadedForm6() == &dialog);
            QCOMPARE(dialog.Caption(), caption);
            QCOMPARE(dialog.Text2->text(), file);
        }
    }

    // Every menu item, in the menu bar and in each picture window's context menu, reads Chinese: the only
    // Latin letters are the key names after the tab.
    void everyMenuItemIsChinese() {
        WholeProgram program;
        program.convert(variedImage(3, 3), true);
        QList<QAction*> items = program.main.menuBar()->actions();
        for (QWidget* window : std::initializer_list<QWidget*>{&program.forms.form1(), &program.forms.form2(),
                                                               &program.forms.form3()}) {
            QCOMPARE(window->contextMenuPolicy(), Qt::ActionsContextMenu);
            items += window->actions();
        }
        QCOMPARE(items.size(), 4 + 3 * 4);
        static const QRegularExpression latin(QStringLiteral("[A-Za-z]"));
        for (const QAction* item : items) {
            QVERIFY2(!item->text().section(u'\t', 0, 0).contains(latin), qPrintable(item->text()));
        }
    }

    void statusShowsTheActiveWindowsZoomAndTheLastExport() {
        WholeProgram program;
        MDIForm1& main = program.main;
        program.open(variedImage(3000, 2000));
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
        Module2::document().exportWritten(12345, file);
        QCOMPARE(main.status()->exportText(), QStringLiteral("已写入 12345 个点（1.5 MB）到 %1").arg(file));
        QCOMPARE(main.status()->currentMessage(), QString()); // the export's progress ended with it
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
