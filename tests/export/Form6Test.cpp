#include "export/Form6.h"
#include "app/Forms.h"
#include "app/Module2.h"
#include "runtime/DirListBox.h"
#include "runtime/PictureBox.h"
#include "runtime/ScrollBar.h"
#include "view/Form1.h"
#include "view/Form2.h"
#include "view/Form3.h"

#include "RecordingShell.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

const QString Done = QStringLiteral("导出图像数据完毕");

QImage greyImage(int width, int height, int (*grey)(int, int)) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, qRgb(grey(x, y), grey(x, y), grey(x, y)));
        }
    }
    return image;
}

// The worked example's picture: (1,1) = 40, (2,1) = 121, (1,2) = 130, (2,2) = 200.
int workedGrey(int x, int y) {
    const int levels[3][3] = {{0, 0, 0}, {0, 40, 130}, {0, 121, 200}};
    return levels[x][y];
}

// Its black-data file at threshold 122.
QByteArray workedBlackFile() {
    const QByteArray filler(12, '\0');
    return QByteArray::fromHex("03000000 03000000 00000000") + filler +
           QByteArray::fromHex("01000000 01000000 28000000") + filler +
           QByteArray::fromHex("02000000 01000000 79000000") + filler;
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The program with its windows, a recording shell and a program folder of its own.
struct Session {
    Session() {
        shell.appPath = folder.path();
        forms.form1().Picture2->surface().assign(greyImage(3, 3, workedGrey));
        forms.form2().Picture2->surface().assign(greyImage(3, 3, workedGrey));
    }
    Form6& dialog() { return forms.form6(); }
    QString path(const QString& name) const { return folder.filePath(name); }
    QStringList filesInFolder() const { return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden); }
    QStringList messageTexts() const {
        QStringList texts;
        for (const auto& message : shell.messages) {
            texts << message.text;
        }
        return texts;
    }

    QTemporaryDir folder;
    RecordingShell shell;
    Forms forms{shell};
};

// A file-size limit for this process, as a full disk would impose; writes past it fail.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved_);
        const rlimit limit{bytes, saved_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

private:
    rlimit saved_{};
};

} // namespace

class Form6Test : public QObject {
    Q_OBJECT
private slots:
    void init() { Module2::reset(); }

    void creationChoosesTheSourceAndSetsTheThreshold_data() {
        QTest::addColumn<bool>("halfResolutionDone");
        QTest::newRow("no half-resolution picture") << false;
        QTest::newRow("half-resolution picture") << true;
    }
    void creationChoosesTheSourceAndSetsTheThreshold() {
        QFETCH(bool, halfResolutionDone);
        Module2::StageDone[2] = toBoolean(halfResolutionDone);
        Session session;
        Form6& dialog = session.dialog();
        QCOMPARE(dialog.Caption(), QStringLiteral("导出图像数据"));
        QCOMPARE(dialog.size(), QSize(587, 372));
        QCOMPARE(dialog.Option2->isEnabled(), halfResolutionDone);
        QCOMPARE(dialog.Option2->isChecked(), halfResolutionDone);
        QCOMPARE(dialog.Option1->isChecked(), !halfResolutionDone);
        QVERIFY(dialog.Option1->isEnabled());
        QVERIFY(dialog.Option3->isChecked());
        QCOMPARE(dialog.HScroll1->Value(), std::int16_t(122));
        QCOMPARE(dialog.Frame1->title(), QStringLiteral("指定图像的黑白分界线--RGB(122,122,122)"));
        const QString composed = session.folder.path() + QDir::separator() + QStringLiteral("未命名.txt");
        QCOMPARE(dialog.Text2->text(), composed);
        QCOMPARE(Module2::CurrentPath, composed);
        const QImage& ramp = dialog.Picture1->surface().image();
        QVERIFY(qGray(ramp.pixel(1, 20)) <= 2);
        QVERIFY(qGray(ramp.pixel(ramp.width() - 2, 20)) >= 253);

        dialog.HScroll1->setValue(0);
        QCOMPARE(dialog.Frame1->title(), QStringLiteral("指定图像的黑白分界线--RGB(0,0,0)"));
    }

    void reopeningAfterClosingStartsFromTheDesignSettings() {
        Module2::StageDone[2] = BooleanFalse;
        Session session;
        session.dialog().Unload();
        QTest::qWait(0);
        Form6& reopened = session.dialog();
        QVERIFY(reopened.Option2->isEnabled());
        QCOMPARE(reopened.HScroll1->Value(), std::int16_t(0));
        QCOMPARE(reopened.Frame1->title(), QStringLiteral("指定图像的黑白分界线"));
    }

    void aRootFolderGetsASecondSeparator() {
        Session session;
        Form6& dialog = session.dialog();
        QTreeWidgetItem* const root = dialog.Dir1->topLevelItem(0);
        emit dialog.Dir1->itemActivated(root, 0);
        const QString rootPath = QDir::toNativeSeparators(QDir::rootPath());
        QCOMPARE(dialog.Dir1->Path(), rootPath);
        QCOMPARE(dialog.Text2->text(), rootPath + QDir::separator() + QStringLiteral("未命名.txt"));
    }

    void editingTheFileNameRecomposesThePathOverTypedText() {
        Session session;
        Form6& dialog = session.dialog();
        dialog.Text2->setText(QStringLiteral("typed by hand"));
        dialog.Text1->setText(QStringLiteral("点.txt"));
        QCOMPARE(dialog.Text2->text(), session.path(QStringLiteral("点.txt")));
        QCOMPARE(Module2::CurrentPath, dialog.Text2->text());
    }

    void okExportsToThePathTypedIntoText2() {
        Session session;
        Form6& dialog = session.dialog();
        QVERIFY(QDir(session.folder.path()).mkdir("typed"));
        const QString typed = session.path("typed/points.dat");
        dialog.Text2->setText(typed);
        dialog.Command1->click();
        QCOMPARE(contents(typed), workedBlackFile());
        QCOMPARE(Module2::CurrentPath, typed);
        QCOMPARE(session.messageTexts(), QStringList{Done});
        QCOMPARE(session.shell.messages.first().title, QStringLiteral("Quillet"));
        QCOMPARE(dialog.Caption(), QStringLiteral("导出图像数据---已经完成100%"));
        QCOMPARE(session.forms.loadedForm6(), &dialog);
    }

    void theHalfResolutionSourceKeepsTheOriginalSizeInTheHeader() {
        Module2::StageDone[2] = BooleanTrue;
        Session session;
        session.forms.form1().Picture2->surface().assign(greyImage(5, 5, [](int, int) { return 0; }));
        PictureSurface& half = session.forms.form3().Picture2->surface();
        half.assign(greyImage(5, 5, [](int x, int y) { return 10 * x + y; }));
        half.setScaleWidth(2.5f);
        half.setScaleHeight(2.5f);
        session.dialog().HScroll1->setValue(255);
        session.dialog().Command1->click();
        const QByteArray filler(12, '\0');
        const QByteArray expected = QByteArray::fromHex("05000000 05000000 00000000") + filler +
                                    QByteArray::fromHex("01000000 01000000 16000000") + filler +
                                    QByteArray::fromHex("01000000 02000000 18000000") + filler +
                                    QByteArray::fromHex("02000000 01000000 2a000000") + filler +
                                    QByteArray::fromHex("02000000 02000000 2c000000") + filler;
        QCOMPARE(contents(session.path("未命名.txt")).toHex(' '), expected.toHex(' '));
    }

    void aLongerOldFileIsReplacedExactly() {
        Session session;
        writeFile(session.path("未命名.txt"), QByteArray(1000, 'x'));
        session.dialog().Command1->click();
        QCOMPARE(contents(session.path("未命名.txt")), workedBlackFile());
        QCOMPARE(session.filesInFolder(), QStringList{"未命名.txt"});
    }

    void anUnwritableDestinationIsReportedAndChangesNothing_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing folder") << "missing"
                                        << "the folder does not exist";
        QTest::newRow("folder as the file") << "folder"
                                            << "it is a folder";
        QTest::newRow("read-only file") << "readonly"
                                        << "the file is read-only";
        QTest::newRow("disk full part-way") << "full"
                                            << "File too large";
    }
    void anUnwritableDestinationIsReportedAndChangesNothing() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        Session session;
        Form6& dialog = session.dialog();
        const QString old = session.path("未命名.txt");
        writeFile(old, "old");
        QString path = old;
        std::optional<FileSizeLimit> limit;
        if (kind == "missing") {
            dialog.Text2->setText(path = session.path("no such folder/out.txt"));
        } else if (kind == "folder") {
            dialog.Text1->clear();
            path = dialog.Text2->text();
        } else if (kind == "readonly") {
            QFile::setPermissions(old, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
        } else {
            session.forms.form2().Picture2->surface().assign(greyImage(100, 100, [](int, int) { return 0; }));
            limit.emplace(64 * 1024);
        }
        dialog.Command1->click();
        limit.reset();
        QCOMPARE(session.shell.messages.size(), 1);
        const QString message = session.shell.messages.first().text;
        QVERIFY2(message.contains(path) && message.contains(reason), qPrintable(message));
        QCOMPARE(contents(old), QByteArray("old"));
        QCOMPARE(session.filesInFolder(), QStringList{"未命名.txt"});
        QCOMPARE(session.forms.loadedForm6(), &dialog);
    }

    void okDuringAnExportStartsNoSecondExport() {
        Session session;
        Form6& dialog = session.dialog();
        QTimer::singleShot(0, dialog.Command1, &QPushButton::click);
        dialog.Command1->click();
        QCOMPARE(session.messageTexts(), QStringList{Done});
        QCOMPARE(contents(session.path("未命名.txt")), workedBlackFile());
    }

    void closingWindowsDuringAnExportLeavesItsPictureAndResult_data() {
        QTest::addColumn<bool>("closeDialog");
        QTest::newRow("source window closed") << false;
        QTest::newRow("export dialog closed") << true;
    }
    void closingWindowsDuringAnExportLeavesItsPictureAndResult() {
        QFETCH(bool, closeDialog);
        Session session;
        Form6& dialog = session.dialog();
        Form2* const source = session.forms.loadedForm2();
        QTimer::singleShot(0, [&] { closeDialog ? dialog.Unload() : source->Unload(); });
        dialog.Command1->click();
        QCOMPARE(contents(session.path("未命名.txt")), workedBlackFile());
        QCOMPARE(session.messageTexts(), QStringList{Done});
        QCOMPARE(session.forms.loadedForm2() == nullptr, !closeDialog);
    }

    void cancelEndsTheProgramAndNewFolderDoesNothing() {
        Session session;
        Form6& dialog = session.dialog();
        const QString path = dialog.Text2->text();
        dialog.Command3->click();
        QCOMPARE(dialog.Text2->text(), path);
        QCOMPARE(session.filesInFolder(), QStringList{});
        QCOMPARE(session.shell.endCount, 0);
        dialog.Command2->click();
        QCOMPARE(session.shell.endCount, 1);
        QVERIFY(session.shell.messages.isEmpty());
    }
};

QTEST_MAIN(Form6Test)
#include "Form6Test.moc"
