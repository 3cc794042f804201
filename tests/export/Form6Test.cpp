#include "export/Form6.h"
#include "app/Forms.h"
#include "app/MDIForm1.h"
#include "runtime/DirListBox.h"
#include "runtime/PictureBox.h"
#include "runtime/ScrollBar.h"
#include "view/Form1.h"
#include "view/Form2.h"
#include "view/Form3.h"

#include "PointFiles.h"
#include "ProgressTicks.h"
#include "TestFiles.h"
#include "TestProgram.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

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

// The program with a picture opened and turned grey through the real windows; the dialog starts
// in the program's folder, one of the test's own.
struct Session : TestProgram {
    explicit Session(const QImage& picture = greyImage(3, 3, workedGrey)) {
        forms.form1().Picture2->setPicture(picture);
        convert(1);
    }
    PictureWindowForm& convert(std::int16_t mode) {
        Module2::ConvertMode = mode;
        tickWhenProgressShows(forms);
        return mode == 1 ? static_cast<PictureWindowForm&>(forms.form2()) : forms.form3();
    }
    Form6& dialog() { return forms.form6(); }
    QStringList files() const { return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden); }
    QString onlyMessage() const {
        return shell.messages.size() == 1 ? shell.messages[0].text
                                          : QString("%1 messages").arg(shell.messages.size());
    }
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
        Module2::StageDone[2] = toBoolean(halfResolutionDone);
        Form6& dialog = session.dialog();
        QCOMPARE(dialog.size(), QSize(587, 372));
        QCOMPARE(dialog.Option2->isEnabled(), halfResolutionDone);
        QCOMPARE(dialog.Option2->isChecked(), halfResolutionDone);
        QCOMPARE(dialog.Option1->isChecked(), !halfResolutionDone);
        QVERIFY(dialog.Option1->isEnabled() && dialog.Option3->isChecked());
        QCOMPARE(dialog.Frame1->title(), QStringLiteral("指定图像的黑白分界线--RGB(122,122,122)"));
        QCOMPARE(Module2::CurrentPath, session.path(DefaultName));
        const QImage& ramp = dialog.Picture1->surface().image();
        QVERIFY(qGray(ramp.pixel(1, 20)) <= 2 && qGray(ramp.pixel(ramp.width() - 2, 20)) >= 253);
        dialog.HScroll1->setValue(0);
        QCOMPARE(dialog.Frame1->title(), QStringLiteral("指定图像的黑白分界线--RGB(0,0,0)"));
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
        dialog.Command1->click();
        QCOMPARE(contents(typed), workedBlackFile);
        QCOMPARE(Module2::CurrentPath, typed);
        QCOMPARE(session.onlyMessage(), Done);
        QCOMPARE(session.shell.messages.first().title, QStringLiteral("Quillet"));
        QCOMPARE(dialog.Caption(), QStringLiteral("导出图像数据---已经完成100%"));
        QCOMPARE(session.files(), QStringList{"typed.dat"});
    }

    void theHalfResolutionRoadKeepsTheOriginalSizeInTheHeader() {
        const QImage picture = greyImage(5, 5, [](int x, int y) { return 10 * x + y; });
        Session session(picture);
        session.convert(2);
        Form6& dialog = session.dialog();
        QVERIFY(dialog.Option2->isChecked());
        dialog.HScroll1->setValue(255);
        dialog.Command1->click();
        QCOMPARE(contents(session.path(DefaultName)), expectedPointFile(picture, true, false, 255));
    }

    void anUnwritableDestinationIsReportedAndChangesNothing_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing folder") << QString("missing") << "the folder does not exist";
        QTest::newRow("folder as the file") << QString("folder") << "it is a folder";
        QTest::newRow("read-only file") << QString("readonly") << "the file is read-only";
        QTest::newRow("disk full part-way") << QString("full") << "File too large";
    }
    void anUnwritableDestinationIsReportedAndChangesNothing() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        Session session;
        const QString old = session.path(DefaultName);
        writeFile(old, "old");
        QString path = old;
        rlimit fileSizeLimit{};
        getrlimit(RLIMIT_FSIZE, &fileSizeLimit);
        const auto restore = qScopeGuard([fileSizeLimit] { setrlimit(RLIMIT_FSIZE, &fileSizeLimit); });
        if (kind == "missing") {
            session.dialog().Text2->setText(path = session.path("no such folder/out.txt"));
        } else if (kind == "folder") {
            session.dialog().Text1->clear();
            path = session.dialog().Text2->text();
        } else if (kind == "readonly") {
            QFile::setPermissions(old, QFileDevice::ReadOwner); // refused even though tests run as root
        } else {
            session.forms.form2().Picture2->surface().assign(greyImage(100, 100, [](int, int) { return 0; }));
            std::signal(SIGXFSZ, SIG_IGN); // writes past a file-size limit fail, as on a full disk
            const rlimit small{64 * 1024, fileSizeLimit.rlim_max};
            setrlimit(RLIMIT_FSIZE, &small);
        }
        session.dialog().Command1->click();
        setrlimit(RLIMIT_FSIZE, &fileSizeLimit);
        const QString message = session.onlyMessage();
        QVERIFY2(message.contains(path) && message.contains(reason), qPrintable(message));
        QCOMPARE(contents(old), QByteArray("old"));
        QCOMPARE(session.files(), QStringList{DefaultName});
        QCOMPARE(session.forms.loadedForm6(), &session.dialog());
    }

    void okExportsTheWholeFileWhateverHappensAroundIt_data() {
        QTest::addColumn<bool>("greyWindowAfter");
        QTest::addColumn<Setup>("setup");
        const auto row = [](const char* tag, bool greyWindowAfter, Setup setup) {
            QTest::newRow(tag) << greyWindowAfter << setup;
        };
        row("OK again during the export starts no second export", true,
            [](Session& session) { QTimer::singleShot(0, session.dialog().Command1, &QPushButton::click); });
        row("the grey window closed during the export is neither disturbed nor reopened", false,
            [](Session& session) { QTimer::singleShot(0, session.forms.loadedForm2(), &Form::Unload); });
        row("the grey window closed before: the grey picture is made again", true, [](Session& session) {
            session.convert(2);
            session.forms.loadedForm2()->Unload();
            session.dialog().Option1->setChecked(true);
            tickWhenProgressShows(session.forms);
        });
    }
    void okExportsTheWholeFileWhateverHappensAroundIt() {
        QFETCH(bool, greyWindowAfter);
        QFETCH(Setup, setup);
        Session session;
        setup(session);
        session.dialog().Command1->click();
        QCOMPARE(contents(session.path(DefaultName)), workedBlackFile);
        QCOMPARE(session.onlyMessage(), Done);
        QCOMPARE(session.forms.loadedForm2() != nullptr, greyWindowAfter);
    }

    void cancelEndsTheProgramAndNewFolderDoesNothing() {
        Session session;
        const QString path = session.dialog().Text2->text();
        session.dialog().Command3->click();
        QCOMPARE(session.dialog().Text2->text(), path);
        QCOMPARE(session.files(), QStringList{});
        QCOMPARE(session.shell.endCount, 0);
        session.dialog().Command2->click();
        QCOMPARE(session.shell.endCount, 1);
        QVERIFY(session.shell.messages.isEmpty());
    }
};

QTEST_MAIN(Form6Test)
#include "Form6Test.moc"
