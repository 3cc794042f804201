// The export dialog on its own, over pictures a fake source holds.

#include "export/Form6.h"
#include "export/ExportJob.h"
#include "export/FixedExportControls.h"
#include "export/SelectionMarks.h"
#include "export/ThresholdHistogram.h"
#include "runtime/DirListBox.h"
#include "runtime/PictureBox.h"
#include "runtime/ScrollBar.h"

#include "PointFiles.h"
#include "TestFiles.h"
#include "TestPictures.h"
#include "TestProgram.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>

#include <csignal>
#include <optional>
#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace {

const QString Done = QStringLiteral("导出图像数据完毕");
const QString DefaultName = QStringLiteral("未命名.txt");

template <typename Grey> QImage greyImage(int width, int height, Grey grey) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, qRgb(grey(x, y), grey(x, y), grey(x, y)));
        }
    }
    return image;
}

// The worked example, (1,1) = 40, (2,1) = 121, (1,2) = 130, (2,2) = 200, and its black data at 122.
const auto workedGrey = [](int x, int y) { return std::array{0, 0, 0, 0, 40, 130, 0, 121, 200}[3 * x + y]; };
const QByteArray workedBlackFile = pointRecords({{3, 3, 0}, {1, 1, 40}, {2, 1, 121}});

// The grey picture (and the half-resolution one once made) as the program would hand them to the dialog,
// the marks the dialog asks the chosen source window to show and the count of the last export.
struct FakeSources : ExportSources {
    PictureSurface grey;
    std::optional<PictureSurface> half;
    QSizeF opened;
    bool present = true;
    std::optional<std::pair<bool, SumHighlight>> marked;
    std::int64_t written = -1;
    const PictureSurface* existingSource(bool original) const override {
        return !present ? nullptr : original ? &grey : &*half;
    }
    void showSelection(bool original, const SumHighlight& marks) override { marked.emplace(original, marks); }
    void clearSelection() override { marked.reset(); }
    void exportWritten(std::int64_t points, const QString&) override { written = points; }
    bool halfPictureExists() const override { return half.has_value(); }
    PictureSurface loadForExport(bool original) override { return original ? grey : *half; }
    bool sourceFinished(bool) const override { return finished; }
    bool finished = true;
    QSizeF openedPictureSize() override { return opened; }
    std::optional<double> statedDotsPerInch() const override { return stated; }
    std::optional<double> stated;
};

// A grey picture opened; the dialog, created on first use, starts in the program's folder, one of the test's
// own.
struct Session : TestProgram {
    explicit Session(const QImage& picture = greyImage(3, 3, workedGrey)) {
        sources.grey.assign(picture);
        sources.opened = picture.size();
    }
    ~Session() { delete form.data(); }
    Form6& dialog() {
        if (!form) {
            form = new Form6(shell, sources, nullptr);
            form->Form_Load();
            form->Form_Initialize();
        }
        return *form;
    }
    QStringList files() const { return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden); }
    QString onlyMessage() const {
        return shell.messages.size() == 1 ? shell.messages[0].text
                                          : QString("%1 messages").arg(shell.messages.size());
    }
    FakeSources sources;
    QPointer<Form6> form;
};

using Setup = std::function<void(Session&)>;

} // namespace

Q_DECLARE_METATYPE(Setup)

class Form6Test : public QObject {
    Q_OBJECT
private slots:
    void creationChoosesTheSourceAndSetsTheThreshold_data() {
        QTest::addColumn<bool>("halfResolutionDone");
        QTest::newRow("no half-resolution picture") << false;
        QTest::newRow("half-resolution picture") << true;
    }
    void creationChoosesTheSourceAndSetsTheThreshold() {
        QFETCH(bool, halfResolutionDone);
        Session session;
        if (halfResolutionDone) {
            session.sources.half.emplace();
        }
        Form6& dialog = session.dialog();
        QCOMPARE(dialog.size(), QSize(587, 432));
        QCOMPARE(dialog.FileType->currentText(), QStringLiteral("点数据文件 (*.txt)"));
        QCOMPARE(dialog.Resolution->text(), QStringLiteral("96"));
        QCOMPARE(dialog.Option2->isEnabled(), halfResolutionDone);
        QCOMPARE(dialog.Option2->isChecked(), halfResolutionDone);
        QCOMPARE(dialog.Option1->isChecked(), !halfResolutionDone);
        QVERIFY(dialog.Option1->isEnabled() && dialog.Option3->isChecked());
        QCOMPARE(dialog.Frame1->title(), QStringLiteral("指定图像的黑白分界线--RGB(122,122,122)"));
        QCOMPARE(Module2::CurrentPath, session.path(DefaultName));
        const QImage& ramp = dialog.Picture1->surface().image();
        QVERIFY(qGray(ramp.pixel(1, 20)) <= 2 && qGray(ramp.pixel(ramp.width() - 2, 20)) >= 253);
        dialog.HScroll1->setBarValue(0);
        QCOMPARE(dialog.Frame1->title(), QStringLiteral("指定图像的黑白分界线--RGB(0,0,0)"));
    }

    // Choosing a type gives the file name that type's ending; OK writes what the export job writes for the
    // same settings, at the picture's stated resolution or one typed in.
    void theFileTypeSetsTheEndingAndTheFormatWritten_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typedDpi");
        QTest::addColumn<QString>("size");
        QTest::newRow("DXF at the stated 300 dpi") << 1 << "未命名.dxf" << QString() << "图形 0.3 × 0.3 mm";
        QTest::newRow("SVG at 25.4 dpi") << 2 << "未命名.svg"
                                         << "25.4"
                                         << "图形 3.0 × 3.0 mm";
        QTest::newRow("CSV") << 3 << "未命名.csv" << QString() << QString();
        QTest::newRow("back to point data") << 0 << "未命名.txt" << QString() << QString();
    }
    void theFileTypeSetsTheEndingAndTheFormatWritten() {
        QFETCH(int, type);
        QFETCH(QString, name);
        QFETCH(QString, typedDpi);
        QFETCH(QString, size);
        Session session;
        session.sources.stated = 300;
        Form6& dialog = session.dialog();
        QCOMPARE(dialog.Resolution->text(), QStringLiteral("300"));
        dialog.FileType->setCurrentIndex(3);
        dialog.FileType->setCurrentIndex(type);
        if (!typedDpi.isEmpty()) {
            dialog.Resolution->setText(typedDpi);
        }
        QCOMPARE(dialog.Text1->text(), name);
        QCOMPARE(dialog.DrawingSize->text(), size);
        dialog.Command1->click();
        const QString expected = session.path("expected");
        FixedExportControls controls(ExportPolarity::Black, 122);
        ExportJob(expected, static_cast<OutputFormat>(type))
            .run(session.sources.grey, session.sources.opened, controls,
                 25.4 / dialog.Resolution->text().toDouble());
        QCOMPARE(contents(session.path(name)), contents(expected));
        QCOMPARE(session.onlyMessage(), Done);
    }

    void thePathIsComposedUntilTypedOverAndOkExportsToIt() {
        Session session;
        Form6& dialog = session.dialog();
        emit dialog.Dir1->itemActivated(dialog.Dir1->topLevelItem(0), 0);
        const QString root = QDir::toNativeSeparators(QDir::rootPath());
        QCOMPARE(dialog.Text2->text(), root + QDir::separator() + DefaultName);
        dialog.Dir1->setPath(session.folder.path());
        dialog.Text2->setText(QStringLiteral("typed by hand"));
        dialog.Text1->setText(QStringLiteral("点.txt"));
        QCOMPARE(dialog.Text2->text(), session.path(QStringLiteral("点.txt")));
        QCOMPARE(Module2::CurrentPath, dialog.Text2->text());

        const QString typed = session.path("typed.dat");
        writeFile(typed, QByteArray(1000, 'x')); // a longer old file keeps no stale bytes
        dialog.Text2->setText(typed);
        QTest::keyClick(dialog.Text2, Qt::Key_Return); // Enter presses OK
        QCOMPARE(contents(typed), workedBlackFile);
        QCOMPARE(Module2::CurrentPath, typed);
        QCOMPARE(session.onlyMessage(), Done);
        QCOMPARE(session.shell.messages.first().title, QStringLiteral("Quillet"));
        QCOMPARE(dialog.Caption(), QStringLiteral("导出图像数据---已经完成100%"));
        QCOMPARE(session.files(), QStringList{"typed.dat"});
    }

    void anUnwritableDestinationIsReportedAndChangesNothing_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing folder") << QString("missing") << "'76'：\n\n无法写入文件“";
        QTest::newRow("folder as the file") << QString("folder") << "”：它是一个文件夹";
        QTest::newRow("read-only file") << QString("readonly") << "'70'：\n\n无法写入文件“";
        QTest::newRow("disk full part-way") << QString("full") << "：File too large";
        QTest::newRow("a cancelled conversion's picture")
            << QString("unfinished") << "图片尚未转换完成，不能导出。";
        QTest::newRow("a resolution that is no positive number")
            << QString("dpi") << "分辨率必须是大于零的数（每英寸的点数）";
    }
    void anUnwritableDestinationIsReportedAndChangesNothing() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        Session session;
        const QString old = session.path(DefaultName);
        writeFile(old, "old");
        QString path = old;
#ifdef Q_OS_UNIX
        rlimit fileSizeLimit{};
        getrlimit(RLIMIT_FSIZE, &fileSizeLimit);
        const auto restore = qScopeGuard([fileSizeLimit] { setrlimit(RLIMIT_FSIZE, &fileSizeLimit); });
#endif
        if (kind == "missing") {
            session.dialog().Text2->setText(path = session.path("no such folder/out.txt"));
        } else if (kind == "folder") {
            session.dialog().Text1->clear();
            path = session.dialog().Text2->text();
        } else if (kind == "unfinished" || kind == "dpi") {
            session.sources.finished = kind != "unfinished";
            session.dialog().Resolution->setText(kind == "dpi" ? "-3" : "96");
            path.clear();
        } else if (kind == "readonly") {
            QFile::setPermissions(old, QFileDevice::ReadOwner); // refused even though tests run as root
        } else {
#ifdef Q_OS_UNIX
            session.sources.grey.assign(greyImage(100, 100, [](int, int) { return 0; }));
            std::signal(SIGXFSZ, SIG_IGN); // writes past a file-size limit fail, as on a full disk
            const rlimit small{64 * 1024, fileSizeLimit.rlim_max};
            setrlimit(RLIMIT_FSIZE, &small);
#else
            QSKIP("a full disk is made with a file-size limit, which this system lacks");
#endif
        }
        session.dialog().setCaption(QStringLiteral("导出图像数据---已经完成100%")); // an earlier success
        session.dialog().Command1->click();
#ifdef Q_OS_UNIX
        setrlimit(RLIMIT_FSIZE, &fileSizeLimit);
#endif
        const QString message = session.onlyMessage();
        QVERIFY2(message.contains(path) && message.contains(reason), qPrintable(message));
        QCOMPARE(session.dialog().Caption(), path.isEmpty() ? "导出图像数据---已经完成100%" : "导出图像数据");
        QCOMPARE(contents(old), QByteArray("old"));
        QCOMPARE(session.files(), QStringList{DefaultName});
        QVERIFY(!session.dialog().isUnloaded());
    }

    void okExportsTheWholeFileWhateverHappensAroundIt_data() {
        QTest::addColumn<Setup>("setup");
        QTest::newRow("OK again during the export starts no second export") << Setup(
            [](Session& session) { QTimer::singleShot(0, session.dialog().Command1, &QPushButton::click); });
        QTest::newRow("the source changed during the export: the picture as it was")
            << Setup([](Session& session) {
                   QTimer::singleShot(0, [&session] {
                       session.sources.grey.assign(greyImage(3, 3, [](int, int) { return 0; }));
                   });
               });
        QTest::newRow("the dialog closed during the export")
            << Setup([](Session& session) { QTimer::singleShot(0, &session.dialog(), &Form::Unload); });
    }
    void okExportsTheWholeFileWhateverHappensAroundIt() {
        QFETCH(Setup, setup);
        Session session;
        setup(session);
        session.dialog().Command1->click();
        QCOMPARE(contents(session.path(DefaultName)), workedBlackFile);
        QCOMPARE(session.onlyMessage(), Done);
    }

    void newFolderAsksForANameCreatesItAndMovesThere_data() {
        QTest::addColumn<QString>("existing");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("offered");
        QTest::addColumn<QString>("reason");
        QTest::newRow("the name offered") << "" << QStringList{"新建文件夹"} << "新建文件夹"
                                          << "";
        QTest::newRow("offered with a number") << "新建文件夹" << QStringList{"数据"} << "新建文件夹2"
                                               << "";
        QTest::newRow("cancelled") << "" << QStringList{} << "新建文件夹"
                                   << "";
        QTest::newRow("not a name") << "" << QStringList{"a/b"} << "新建文件夹"
                                    << "“%1”：名称无效";
        QTest::newRow("taken") << "数据" << QStringList{"数据"} << "新建文件夹"
                               << "“%1”：已有同名的文件或文件夹";
    }
    void newFolderAsksForANameCreatesItAndMovesThere() {
        QFETCH(QString, existing);
        QFETCH(QStringList, answers);
        QFETCH(QString, offered);
        QFETCH(QString, reason);
        Session session;
        QVERIFY(existing.isEmpty() || QDir(session.folder.path()).mkdir(existing));
        const QStringList before =
            QDir(session.folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        session.shell.answers = answers;
        Form6& dialog = session.dialog();
        dialog.Command3->click();
        QCOMPARE(session.shell.prompts.size(), 1);
        QCOMPARE(session.shell.prompts[0].title, offered); // the default text
        const QString made = answers.isEmpty() || !reason.isEmpty() ? QString() : answers[0];
        QCOMPARE(QDir(session.folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(),
                 before.size() + (made.isEmpty() ? 0 : 1));
        const QString folder = made.isEmpty() ? session.folder.path() : session.path(made);
        QCOMPARE(dialog.Dir1->Path(), folder);
        QCOMPARE(dialog.Text2->text(), folder + "/" + DefaultName);
        QCOMPARE(session.onlyMessage(),
                 reason.isEmpty() ? "0 messages" : "无法新建文件夹" + reason.arg(session.path(answers[0])));
    }

    // The count line before OK against the points OK then writes, for each format, both polarities and
    // sources.
    void theCountLineStatesWhatOkWrites_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("white");
        QTest::addColumn<bool>("half");
        QTest::addColumn<int>("threshold");
        QTest::newRow("point data, black") << 0 << false << false << 122;
        QTest::newRow("point data, white, half: outside reads counted") << 0 << true << true << 0;
        QTest::newRow("DXF, white, half") << 1 << true << true << 150;
        QTest::newRow("SVG, black") << 2 << false << false << 255;
        QTest::newRow("CSV, white") << 3 << true << false << 90;
    }
    void theCountLineStatesWhatOkWrites() {
        QFETCH(int, type);
        QFETCH(bool, white);
        QFETCH(bool, half);
        QFETCH(int, threshold);
        const QImage picture = variedImage(9, 7);
        Session session(picture);
        session.sources.half =
            session.sources.grey; // unit (u, v) is pixel (2u, 2v), as the reduction makes it
        session.sources.half->setScaleWidth(4.5f);
        session.sources.half->setScaleHeight(3.5f);
        Form6& dialog = session.dialog();
        dialog.FileType->setCurrentIndex(type);
        (white ? dialog.Option4 : dialog.Option3)->setChecked(true);
        (half ? dialog.Option2 : dialog.Option1)->setChecked(true);
        dialog.HScroll1->setBarValue(threshold);
        const QString line = dialog.PointCount->text();
        dialog.Command1->click();
        QVERIFY(session.sources.written > 0);
        QVERIFY2(line.startsWith(QString("将写入 %1 个点，文件约 ").arg(session.sources.written)),
                 qPrintable(line));
        if (type == 0) { // the half-resolution road keeps the original size in the header
            QCOMPARE(contents(dialog.Text2->text()), expectedPointFile(picture, half, white, threshold));
        }
    }

    // The marks, the count and the spin box follow the thumb while it is dragged; the bar's value and the
    // caption change on release. Typing, the bar's arrows, the polarity and the source move the rest.
    void thePreviewFollowsEveryChoiceAndGoesWithTheDialog() {
        Session session(variedImage(9, 7));
        session.sources.half = session.sources.grey;
        Form6& dialog = session.dialog();
        const auto marked = [&session](bool original, ExportPolarity polarity, int threshold) {
            return session.sources.marked == std::pair(original, *selectionMarks(polarity, threshold));
        };
        QVERIFY(marked(false, ExportPolarity::Black, 122));
        dialog.Option1->setChecked(true);
        dialog.Option4->setChecked(true);
        QVERIFY(marked(true, ExportPolarity::White, 122));
        const QString caption = dialog.Frame1->title(), countAt122 = dialog.PointCount->text();
        dialog.HScroll1->setSliderDown(true);
        dialog.HScroll1->setSliderPosition(40);
        QVERIFY(marked(true, ExportPolarity::White, 40) && dialog.PointCount->text() != countAt122);
        QVERIFY(dialog.ThresholdBox->value() == 40 && dialog.HScroll1->Value() == 122);
        QCOMPARE(dialog.Frame1->title(), caption);
        dialog.HScroll1->setSliderDown(false);
        QCOMPARE(dialog.HScroll1->Value(), 40);
        QCOMPARE(dialog.Frame1->title(), QStringLiteral("指定图像的黑白分界线--RGB(40,40,40)"));
        dialog.ThresholdBox->setValue(17);
        QCOMPARE(dialog.HScroll1->Value(), 17);
        dialog.HScroll1->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(dialog.ThresholdBox->value(), 33);
        QVERIFY(marked(true, ExportPolarity::White, 33));
        dialog.Unload();
        QVERIFY(!session.sources.marked);
    }

    // Without its source picture (none yet, or a cancelled run's) the dialog says so and marks nothing;
    // the picture's arrival is noticed.
    void withoutTheSourcePictureTheDialogSaysNotConverted_data() {
        QTest::addColumn<bool>("present");
        QTest::newRow("no picture") << false;
        QTest::newRow("a cancelled conversion's picture") << true;
    }
    void withoutTheSourcePictureTheDialogSaysNotConverted() {
        QFETCH(bool, present);
        Session session;
        session.sources.present = present;
        session.sources.finished = false;
        Form6& dialog = session.dialog();
        QCOMPARE(dialog.PointCount->text(), QStringLiteral("尚未转换"));
        QVERIFY(!session.sources.marked && !dialog.Histogram->hasCounts());
        dialog.AutoThreshold->click();
        QCOMPARE(dialog.HScroll1->Value(), 122);
        session.sources.present = session.sources.finished = true;
        QTRY_COMPARE(dialog.PointCount->text(), QStringLiteral("将写入 2 个点，文件约 0.0 MB"));
        QVERIFY(session.sources.marked && dialog.Histogram->hasCounts());
    }

    // 自动 takes Otsu's threshold of the source; a single grey leaves the threshold as it is.
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
        Session session(greyImage(5, 3, [&](int x, int) { return x < 2 ? dark : light; }));
        Form6& dialog = session.dialog();
        QVERIFY(dialog.Histogram->levels()[dark] == (dark == light ? 15 : 6) &&
                dialog.Histogram->levels()[light] == (dark == light ? 15 : 9));
        dialog.AutoThreshold->click();
        QVERIFY(dialog.HScroll1->Value() == threshold && dialog.ThresholdBox->value() == threshold);
    }

    void cancelEndsTheProgram() {
        Session session;
        session.dialog().Command2->click();
        QCOMPARE(session.shell.endCount, 1);
        QVERIFY(session.shell.messages.isEmpty());
    }
};

QTEST_MAIN(Form6Test)
#include "Form6Test.moc"
