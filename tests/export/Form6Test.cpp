// The export dialog on its own, over pictures a fake source holds. What a file holds is the export job's
// and the formats' to prove, what a failed write leaves the output file's: the dialog's rows test what it
// adds, its choices, captions, messages and preview.

#include "export/Form6.h"
#include "export/SelectionMarks.h"
#include "export/ThresholdHistogram.h"
#include "runtime/DirListBox.h"
#include "runtime/PictureBox.h"
#include "runtime/ScrollBar.h"
#include "state/Module2.h"

#include "DataRows.h"
#include "FormatExport.h"
#include "PointFiles.h"
#include "TestProgram.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyleOptionFrame>
#include <QtTest>

#include <optional>

namespace {

const QString Done = QStringLiteral("导出图像数据完毕");
const QString DefaultName = QStringLiteral("未命名.txt");
const QString Succeeded = QStringLiteral("导出图像数据---已经完成100%");
const QString ResolutionRange = QStringLiteral("分辨率必须是 0.0000254 到 25400000 之间的数（每英寸的点数）");

// The worked example's black data at 122.
const QByteArray workedBlackFile = pointRecords({{3, 3, 0}, {1, 1, 40}, {2, 1, 121}});

// The windows around the dialog: the chosen picture as the document holds it, the marks the dialog asks
// the chosen source window to show, and the opened picture's size.
struct FakeWindows : ExportSources {
    QSizeF opened;
    std::optional<std::pair<ConversionResult, SumHighlight>> marked;
    PictureSurface loadForExport(ConversionResult source) override {
        const PictureSurface* picture = Module2::document().result(source);
        return picture ? *picture : PictureSurface();
    }
    QSizeF openedPictureSize() override { return opened; }
    void showSelection(ConversionResult source, const SumHighlight& marks) override {
        marked.emplace(source, marks);
    }
    void clearSelection() override { marked.reset(); }
};

// A picture opened and converted to grey (and to half resolution when given); the dialog, created on first
// use, starts in the program's folder (the test's own).
struct Session : TestProgram {
    explicit Session(const PictureSurface& grey = greyPicture(workedLevels()),
                     const std::optional<PictureSurface>& half = std::nullopt,
                     std::optional<DotsPerInch> stated = std::nullopt) {
        document.open(path("picture.png"),
                      QImage(grey.pixelWidth(), grey.pixelHeight(), QImage::Format_RGB32), stated);
        document.endRun(ConversionResult::Grey, grey, true);
        if (half) {
            document.endRun(ConversionResult::Half, *half, true);
        }
        windows.opened = QSizeF(grey.pixelWidth(), grey.pixelHeight());
    }
    ~Session() { delete form.data(); }
    Form6& dialog() {
        if (!form) {
            form = new Form6(shell, windows, document, nullptr);
            form->Form_Load();
            form->Form_Initialize();
        }
        return *form;
    }
    const PictureSurface& grey() const { return *document.result(ConversionResult::Grey); }
    std::int64_t written() const { return document.lastExport() ? document.lastExport()->points : -1; }
    QString onlyMessage() const {
        return shell.messages.size() == 1 ? shell.messages[0].text
                                          : QString("%1 messages").arg(shell.messages.size());
    }
    PictureDocument& document = Module2::document();
    FakeWindows windows;
    QPointer<Form6> form;
};

struct Choice {
    int type;
    bool white, half;
    int threshold;
    QString typedDpi, size;
    int shapes, minimumArea;
};
struct Offered {
    int type;
    bool shapes, minimumArea;
};
struct AroundOk {
    QString kind, reason; // no reason: the export succeeds
};
struct NewFolder {
    QString existing;
    QStringList answers;
    QString offered, reason;
};

} // namespace

Q_DECLARE_METATYPE(Choice)
Q_DECLARE_METATYPE(Offered)
Q_DECLARE_METATYPE(AroundOk)
Q_DECLARE_METATYPE(NewFolder)

class Form6Test : public QObject {
    Q_OBJECT
private slots:
    // Per format, polarity, source and shapes, with a minimum area of a few pixels: the type gives the name
    // its ending and the drawing its size at the stated or typed resolution; the count line states the
    // points and shapes OK then writes, and OK writes what the export job writes for the same settings
    // (the point-data file keeps every shape). The point-data file numbers units from one, the others pixels
    // from zero: at half resolution the two differ by the reads outside the picture.
    void theChoicesSetTheNameTheCountAndTheFileWritten_data() {
        addRows<Choice>(
            {{"point data, white, half", {0, true, true, 0, "", "", 0, 3}},
             {"DXF outlines, white, half, stated dpi", {1, true, true, 100, "", "图形 0.8 × 0.7 mm", 0, 2}},
             {"DXF squares, black", {1, false, false, 122, "", "图形 0.8 × 0.6 mm", 1, 3}},
             {"SVG outlines, black, 25.4 dpi", {2, false, false, 200, "25.4", "图形 9.0 × 7.0 mm", 0, 3}},
             {"SVG squares, white, 25.4 dpi", {2, true, false, 60, "25.4", "图形 9.0 × 7.0 mm", 1, 2}},
             {"CSV, white", {3, true, false, 90, "", "", 0, 3}}});
    }
    void theChoicesSetTheNameTheCountAndTheFileWritten() {
        QFETCH(Choice, row);
        const auto [type, white, half, threshold, typedDpi, size, shapes, minimumArea] = row;
        // Unit (u, v) of the half-resolution picture is pixel (2u, 2v), as the reduction makes it.
        Session session(surfaceOf(9, 7), halfOf(surfaceOf(9, 7)), DotsPerInch{300, 300});
        Form6& dialog = session.dialog();
        QCOMPARE(dialog.Resolution->text(), QStringLiteral("300"));
        dialog.FileType->setCurrentIndex(3);
        dialog.FileType->setCurrentIndex(type);
        (white ? dialog.Option4 : dialog.Option3)->setChecked(true);
        (half ? dialog.Option2 : dialog.Option1)->setChecked(true);
        dialog.HScroll1->setBarValue(threshold);
        dialog.Shapes->setCurrentIndex(shapes);
        dialog.MinimumArea->setValue(minimumArea);
        if (!typedDpi.isEmpty()) {
            dialog.Resolution->setText(typedDpi);
        }
        const QString name = "未命名" + QString(std::array{".txt", ".dxf", ".svg", ".csv"}[type]);
        QVERIFY2(dialog.Text1->text() == name && dialog.DrawingSize->text() == size,
                 qPrintable(dialog.DrawingSize->text()));
        const QString line = dialog.PointCount->text();
        dialog.Command1->click();
        QCOMPARE(session.onlyMessage(), Done);
        const QString expected = session.path("expected");
        FixedExportControls controls(white ? ExportPolarity::White : ExportPolarity::Black, threshold);
        const ExportOutcome outcome =
            ExportJob(expected, static_cast<OutputFormat>(type),
                      {static_cast<ShapeKind>(dialog.Shapes->currentData().toInt()), minimumArea})
                .run(session.windows.loadForExport(half ? ConversionResult::Half : ConversionResult::Grey),
                     session.windows.opened, controls, 25.4 / dialog.Resolution->text().toDouble());
        QCOMPARE(contents(session.path(name)), contents(expected));
        const QString shapesStated = type == 1 || type == 2 ? QString("%1 个图形，").arg(outcome.shapes) : "";
        QVERIFY2(
            outcome.points > 0 && session.written() == outcome.points &&
                line.startsWith(QString("将写入 %1 个点，%2文件约 ").arg(outcome.points).arg(shapesStated)),
            qPrintable(line));
    }

    // The shapes apply to the drawings, the minimum area to the formats that leave shapes out; the dialog
    // opens with outlines and every shape kept.
    void theShapesAndTheMinimumAreaAreOfferedPerFileType_data() {
        addRows<Offered>({{"point data", {0, false, false}},
                          {"DXF", {1, true, true}},
                          {"SVG", {2, true, true}},
                          {"CSV", {3, false, true}}});
    }
    void theShapesAndTheMinimumAreaAreOfferedPerFileType() {
        QFETCH(Offered, row);
        Session session;
        Form6& dialog = session.dialog();
        QVERIFY(dialog.Shapes->currentText() == "轮廓" && dialog.Shapes->itemText(1) == "方块" &&
                dialog.Shapes->itemText(2) == "平滑轮廓" && dialog.Shapes->count() == 3);
        QVERIFY(dialog.MinimumArea->value() == 0 && dialog.MinimumArea->maximum() == 1'000'000);
        dialog.FileType->setCurrentIndex(3 - row.type);
        dialog.FileType->setCurrentIndex(row.type);
        QCOMPARE(dialog.Shapes->isEnabled(), row.shapes);
        QCOMPARE(dialog.MinimumArea->isEnabled(), row.minimumArea);
    }

    // A file of two resolutions: the field shows the one across and has room for "1200.5", the line beside
    // it names both, and the drawing and OK's file take both.
    void aFileOfTwoResolutionsIsShownAndDrawnWithBoth() {
        Session session(surfaceOf(9, 7), std::nullopt, DotsPerInch{300, 150});
        Form6& dialog = session.dialog();
        dialog.FileType->setCurrentIndex(1);
        QCOMPARE(dialog.Resolution->text(), QStringLiteral("300"));
        QCOMPARE(dialog.ResolutionNote->text(), QStringLiteral("文件: 300 × 150 dpi"));
        QCOMPARE(dialog.DrawingSize->text(), QStringLiteral("图形 0.8 × 1.2 mm"));
        dialog.Command1->click();
        QCOMPARE(session.onlyMessage(), Done);
        QVERIFY(
            contents(session.path("未命名.dxf")).contains("$EXTMAX\n 10\n0.762\n 20\n1.1853333333333333\n"));
        // As the line edit lays out its text: inside its frame, less a margin of 2 at either side.
        QStyleOptionFrame frame;
        frame.initFrom(dialog.Resolution);
        frame.lineWidth =
            dialog.Resolution->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, dialog.Resolution);
        const QRect inside = dialog.Resolution->style()->subElementRect(QStyle::SE_LineEditContents, &frame,
                                                                        dialog.Resolution);
        QVERIFY2(dialog.Resolution->fontMetrics().horizontalAdvance("1200.5") <= inside.width() - 4,
                 qPrintable(QString::number(inside.width())));
    }

    void thePathIsComposedUntilTypedOverAndEnterExportsToIt() {
        Session session;
        Form6& dialog = session.dialog();
        emit dialog.Dir1->itemActivated(dialog.Dir1->topLevelItem(0), 0);
        const QString root = QDir::toNativeSeparators(QDir::rootPath());
        QCOMPARE(dialog.Text2->text(), root + QDir::separator() + DefaultName);
        dialog.Dir1->setPath(session.folder.path());
        dialog.Text2->setText(QStringLiteral("typed by hand"));
        dialog.Text1->setText(QStringLiteral("点.txt"));
        QCOMPARE(dialog.Text2->text(), session.path(QStringLiteral("点.txt")));
        QCOMPARE(Module2::CurrentPath(), dialog.Text2->text());
        const QString typed = session.path("typed.dat");
        dialog.Text2->setText(typed);
        QStringList captions;
        connect(&dialog, &QWidget::windowTitleChanged, this,
                [&captions](const QString& caption) { captions << caption; });
        QTest::keyClick(dialog.Text2, Qt::Key_Return);
        QCOMPARE(contents(typed), workedBlackFile);
        QCOMPARE(Module2::CurrentPath(), typed);
        QCOMPARE(session.onlyMessage(), Done);
        QCOMPARE(session.shell.messages.first().title, QStringLiteral("Quillet"));
        QCOMPARE(captions,
                 QStringList({"导出图像数据---已经完成33%", "导出图像数据---已经完成66%", Succeeded}));
    }

    // OK writes the whole file whatever happens around the export; a failed write (with the error's number)
    // and the dialog's own refusals before any file is opened leave the old file and the dialog, whose
    // caption no longer shows the earlier export's success.
    void okWritesTheWholeFileOrChangesNothing_data() {
        addRows<AroundOk>(
            {{"OK again during the export starts no second export", {"again", ""}},
             {"the source changed during the export: the picture as it was", {"changed", ""}},
             {"the dialog closed during the export", {"closed", ""}},
             {"missing folder", {"missing", "'76'：\n\n无法写入文件“"}},
             {"read-only file", {"readonly", "'70'：\n\n无法写入文件“"}},
             {"a cancelled conversion's picture", {"unfinished", "图片尚未转换完成，不能导出。"}},
             {"a negative resolution", {"dpi -3", ResolutionRange}},
             {"a resolution of 0", {"dpi 0", ResolutionRange}},
             {"a resolution below the range", {"dpi 0.0000253", ResolutionRange}},
             {"a resolution above the range", {"dpi 25400001", ResolutionRange}},
             {"a CSV's minimum area above 1000000",
              {"area 1000001", "去除小斑点必须是 0 到 1000000 之间的整数（像素）"}},
             {"a CSV's minimum area left empty",
              {"area ", "去除小斑点必须是 0 到 1000000 之间的整数（像素）"}}});
    }
    void okWritesTheWholeFileOrChangesNothing() {
        QFETCH(AroundOk, row);
        const auto& [kind, reason] = row;
        Session session;
        Form6& dialog = session.dialog();
        const QString old = session.path(DefaultName);
        writeFile(old, "old");
        QString path = old;
        if (kind == "again") {
            QTimer::singleShot(0, dialog.Command1, &QPushButton::click);
        } else if (kind == "changed") {
            QTimer::singleShot(0, [&session] {
                session.document.endRun(ConversionResult::Grey,
                                        greyPicture(GreyLevels(3, QVector<int>(3, 0))), true);
            });
        } else if (kind == "closed") {
            QTimer::singleShot(0, &dialog, &Form::Unload);
        } else if (kind == "missing") {
            dialog.Text2->setText(path = session.path("no such folder/out.txt"));
        } else if (kind == "readonly") {
            QFile::setPermissions(old, QFileDevice::ReadOwner); // refused even though tests run as root
        } else if (kind.startsWith("area ")) {
            dialog.FileType->setCurrentIndex(3);
            dialog.MinimumArea->findChild<QLineEdit*>()->setText(
                kind.mid(5)); // as typed, past the spin box's checks
            path.clear();
        } else {
            session.document.endRun(ConversionResult::Grey, session.grey(), kind != "unfinished");
            dialog.Resolution->setText(kind.startsWith("dpi ") ? kind.mid(4) : "96");
            path.clear();
        }
        dialog.setCaption(Succeeded); // an earlier export's
        dialog.Command1->click();
        const QString message = session.onlyMessage();
        if (reason.isEmpty()) {
            QCOMPARE(message, Done);
            QCOMPARE(contents(old), workedBlackFile);
            return;
        }
        QVERIFY2(message.contains(path) && message.contains(reason), qPrintable(message));
        QCOMPARE(dialog.Caption(), QStringLiteral("导出图像数据"));
        QCOMPARE(contents(old), QByteArray("old"));
        QVERIFY(!QFile::exists(session.path("未命名.csv")) && !dialog.isUnloaded());
    }

    void newFolderAsksForANameCreatesItAndMovesThere_data() {
        addRows<NewFolder>({{"the name offered", {"", {"新建文件夹"}, "新建文件夹", ""}},
                            {"offered with a number", {"新建文件夹", {"数据"}, "新建文件夹2", ""}},
                            {"cancelled", {"", {}, "新建文件夹", ""}},
                            {"not a name", {"", {"a/b"}, "新建文件夹", "“%1”：名称无效"}},
                            {"taken", {"数据", {"数据"}, "新建文件夹", "“%1”：已有同名的文件或文件夹"}}});
    }
    void newFolderAsksForANameCreatesItAndMovesThere() {
        QFETCH(NewFolder, row);
        const auto& [existing, answers, offered, reason] = row;
        Session session;
        const QDir folder(session.folder.path());
        QVERIFY(existing.isEmpty() || folder.mkdir(existing));
        session.shell.answers = answers;
        Form6& dialog = session.dialog();
        dialog.Command3->click();
        QCOMPARE(session.shell.prompts.size(), 1);
        QCOMPARE(session.shell.prompts[0].title, offered); // the default text
        const QString made = answers.isEmpty() || !reason.isEmpty() ? QString() : answers[0];
        QStringList entries{existing, made};
        entries.removeAll(QString());
        entries.sort();
        QCOMPARE(folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot), entries);
        const QString now = made.isEmpty() ? session.folder.path() : session.path(made);
        QVERIFY(dialog.Dir1->Path() == now && dialog.Text2->text() == now + "/" + DefaultName);
        QCOMPARE(session.onlyMessage(),
                 reason.isEmpty() ? "0 messages" : "无法新建文件夹" + reason.arg(session.path(answers[0])));
    }

    // The marks, the count and the spin box follow the thumb while it is dragged; the bar's value and the
    // caption change on release. Typing, the bar's arrows, the polarity and the source move the rest.
    void thePreviewFollowsEveryChoiceAndGoesWithTheDialog() {
        Session session(surfaceOf(9, 7), surfaceOf(9, 7));
        Form6& dialog = session.dialog();
        const auto marked = [&session](ConversionResult source, ExportPolarity polarity, int threshold) {
            return session.windows.marked == std::pair(source, *selectionMarks(polarity, threshold));
        };
        QVERIFY(marked(ConversionResult::Half, ExportPolarity::Black, 122));
        dialog.Option1->setChecked(true);
        dialog.Option4->setChecked(true);
        QVERIFY(marked(ConversionResult::Grey, ExportPolarity::White, 122));
        const QImage& ramp = dialog.Picture1->surface().image(); // the histogram's ramp, black to white
        QVERIFY(qGray(ramp.pixel(1, 20)) <= 2 && qGray(ramp.pixel(ramp.width() - 2, 20)) >= 253);
        const QString countAt122 = dialog.PointCount->text();
        dialog.HScroll1->setSliderDown(true);
        dialog.HScroll1->setSliderPosition(40);
        QVERIFY(marked(ConversionResult::Grey, ExportPolarity::White, 40) &&
                dialog.PointCount->text() != countAt122);
        QVERIFY(dialog.ThresholdBox->value() == 40 && dialog.HScroll1->Value() == 122);
        QCOMPARE(dialog.Frame1->title(), QStringLiteral("指定图像的黑白分界线--RGB(122,122,122)"));
        dialog.HScroll1->setSliderDown(false);
        QCOMPARE(dialog.HScroll1->Value(), 40);
        QCOMPARE(dialog.Frame1->title(), QStringLiteral("指定图像的黑白分界线--RGB(40,40,40)"));
        dialog.ThresholdBox->setValue(17);
        QCOMPARE(dialog.HScroll1->Value(), 17);
        dialog.HScroll1->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(dialog.ThresholdBox->value(), 33);
        QVERIFY(marked(ConversionResult::Grey, ExportPolarity::White, 33));
        dialog.Unload();
        QVERIFY(!session.windows.marked);
    }

    // The count and the marks leave out the shapes below the minimum area; while the thumb is dragged they
    // keep them and say that the removal waits for the release, also a release where the drag began.
    void theCountAndTheMarksLeaveOutTheSmallShapesOnceTheThumbIsReleased() {
        // A 2 x 2 black square and a dark pixel apart from it on white.
        Session session(greyPicture(greyLevels(6, 4, [](int x, int y) {
            return x < 2 && y < 2 ? 0 : x == 4 && y == 3 ? 110 : 255;
        })));
        Form6& dialog = session.dialog();
        dialog.FileType->setCurrentIndex(1);
        dialog.MinimumArea->setValue(2);
        const auto leftOut = [&session] {
            QList<QPoint> units;
            if (const auto& marks = session.windows.marked; marks && marks->second.leftOut) {
                marks->second.leftOut->forEachWithin(0, 0, 6, 4, [&](int x, int y) { units.append({x, y}); });
            }
            return units;
        };
        const QString exact = QStringLiteral("将写入 4 个点，1 个图形，文件约 0.0 MB");
        const QList<QPoint> thePixelApart{{4, 3}};
        QVERIFY(dialog.PointCount->text() == exact && leftOut() == thePixelApart);
        dialog.HScroll1->setSliderDown(true);
        dialog.HScroll1->setSliderPosition(121);
        QCOMPARE(dialog.PointCount->text(),
                 QStringLiteral("将写入 5 个点，文件约 0.0 MB（松开后去除小斑点）"));
        QVERIFY(session.windows.marked && leftOut().isEmpty());
        dialog.HScroll1->setSliderPosition(122);
        dialog.HScroll1->setSliderDown(false);
        QVERIFY(dialog.PointCount->text() == exact && leftOut() == thePixelApart);
        dialog.HScroll1->setBarValue(100); // the pixel apart no longer selected
        QVERIFY(dialog.PointCount->text() == exact && leftOut().isEmpty());
        dialog.HScroll1->setBarValue(122);
        dialog.Shapes->setCurrentIndex(1);
        dialog.MinimumArea->setValue(0);
        QVERIFY(dialog.PointCount->text() == QStringLiteral("将写入 5 个点，2 个图形，文件约 0.0 MB") &&
                leftOut().isEmpty());
    }

    // Without its source picture (none yet, or a cancelled run's) the dialog says so, marks nothing and
    // 自动 does nothing; the picture's arrival shows at once, and so do new pixels in it.
    void withoutTheSourcePictureTheDialogSaysNotConverted_data() {
        QTest::addColumn<bool>("present");
        QTest::newRow("no picture") << false;
        QTest::newRow("a cancelled conversion's picture") << true;
    }
    void withoutTheSourcePictureTheDialogSaysNotConverted() {
        QFETCH(bool, present);
        Session session;
        PictureSurface grey = session.grey();
        present ? session.document.endRun(ConversionResult::Grey, grey, false)
                : session.document.discard(ConversionResult::Grey);
        Form6& dialog = session.dialog();
        QVERIFY(!dialog.Option2->isEnabled() && dialog.Option1->isChecked() && dialog.Option3->isChecked());
        QCOMPARE(dialog.PointCount->text(), QStringLiteral("尚未转换"));
        QVERIFY(!session.windows.marked && !dialog.Histogram->hasCounts());
        dialog.AutoThreshold->click();
        QCOMPARE(dialog.HScroll1->Value(), 122);
        session.document.endRun(ConversionResult::Grey, grey, true);
        QCOMPARE(dialog.PointCount->text(), QStringLiteral("将写入 2 个点，文件约 0.0 MB"));
        QVERIFY(session.windows.marked && dialog.Histogram->hasCounts());
        grey.PSet(1, 2, RGB(0, 0, 0)); // 130 becomes black: counted afresh
        session.document.endRun(ConversionResult::Grey, grey, true);
        QCOMPARE(dialog.PointCount->text(), QStringLiteral("将写入 3 个点，文件约 0.0 MB"));
        dialog.Command2->click(); // Cancel ends the program
        QVERIFY(session.shell.endCount == 1 && session.shell.messages.isEmpty());
    }

    // 自动 takes Otsu's threshold of the source; a single grey leaves the threshold as it is. The bars are
    // red where the export writes.
    void automaticThresholdAndHistogram_data() {
        QTest::addColumn<int>("dark");
        QTest::addColumn<int>("light");
        QTest::addColumn<int>("threshold");
        QTest::newRow("two greys: the smallest threshold between them") << 30 << 200 << 31;
        QTest::newRow("a single grey") << 90 << 90 << 122;
    }
    void automaticThresholdAndHistogram() {
        QFETCH(int, dark);
        QFETCH(int, light);
        QFETCH(int, threshold);
        Session session(greyPicture(greyLevels(5, 3, [&](int x, int) { return x < 2 ? dark : light; })));
        Form6& dialog = session.dialog();
        const auto& pixels = dialog.Histogram->levels().pixels;
        QVERIFY(pixels[dark] == (dark == light ? 15 : 6) && pixels[light] == (dark == light ? 15 : 9));
        dialog.AutoThreshold->click();
        QVERIFY(dialog.HScroll1->Value() == threshold && dialog.ThresholdBox->value() == threshold);
        // White data at the light grey writes none of the picture: no bar is red; black data one level
        // above writes all of it (the threshold's mark hides the bars beside it).
        const auto redAtFoot = [&dialog] {
            const QImage bars = dialog.Histogram->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const auto* foot = reinterpret_cast<const QRgb*>(bars.constScanLine(bars.height() - 1));
            return std::count(foot, foot + bars.width(), SelectionColour);
        };
        dialog.Option4->setChecked(true);
        dialog.HScroll1->setBarValue(light);
        QCOMPARE(redAtFoot(), 0);
        dialog.Option3->setChecked(true);
        dialog.HScroll1->setBarValue(light + 1);
        QVERIFY(redAtFoot() > 0);
    }
};

QTEST_MAIN(Form6Test)
#include "Form6Test.moc"
