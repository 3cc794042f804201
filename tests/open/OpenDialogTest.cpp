// The open-picture dialog driven as a user drives it, with a recording shell.

#include "app/Forms.h"
#include "app/MDIForm1.h"
#include "open/Form4.h"
#include "runtime/DirListBox.h"
#include "runtime/DriveListBox.h"
#include "runtime/FileListBox.h"
#include "runtime/PictureBox.h"
#include "view/Form1.h"

#include "PixelCompare.h"
#include "TestFiles.h"
#include "TestProgram.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <optional>

namespace {

using Flags = std::array<Boolean, 7>;

void writePicture(const QString& path, QSize size, QColor colour) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    QVERIFY(picture.save(path));
}

void select(Form4& form, const QString& name) {
    const QList<QListWidgetItem*> found = form.File1->findItems(name, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    form.File1->setCurrentItem(found.first());
}

} // namespace

class OpenDialogTest : public QObject {
    Q_OBJECT
    std::optional<TestProgram> program;

    QString file(const QString& name) const { return program->path(name); }
    Form4& openDialog() {
        Form4& form = program->forms.form4();
        form.Show();
        return form;
    }
    // The picture window, its box taking the size of the picture it is given.
    Form1& pictureWindowHolding(const QImage& picture) {
        Form1& form1 = program->forms.form1();
        form1.Picture2->setAutoSize(true);
        form1.Picture2->setPicture(picture);
        return form1;
    }

private slots:
    void init() { program.emplace(); }
    void cleanup() { program.reset(); }

    void aNonPictureAfterAGoodOneShowsThePreviousPictureAgain() {
        writePicture(file("small.png"), {200, 100}, Qt::red);
        writeFile(file("broken.png"), "not a picture");
        Form4& form = openDialog();
        select(form, "small.png");
        const auto preview = [&] {
            return QRectF(form.Picture2->Left(), form.Picture2->Top(), form.Picture2->Width(),
                          form.Picture2->Height());
        };
        QCOMPARE(preview(), QRectF(135.5, 125.5, 202, 102));
        // The loader box's border lies in the source rectangle; nothing is painted there.
        const auto redPicture = [](int x, int y) { return x < 200 && y < 100 ? RGB(255, 0, 0) : 0; };
        QCOMPARE(firstPixelDifference(form.Picture2->surface(), redPicture), QString());
        select(form, "broken.png");
        QCOMPARE(Module2::CurrentPath, file("broken.png"));
        QCOMPARE(form.Label1->text(), file("broken.png"));
        QCOMPARE(preview(), QRectF(135.5, 125.5, 202, 102));
        QCOMPARE(firstPixelDifference(form.Picture2->surface(), redPicture), QString());
        QVERIFY(program->shell.messages.isEmpty());
    }

    void aFileInTheRootFolderFollowsADoubledSeparator() {
        if (!QFileInfo(QDir::rootPath()).isWritable()) {
            QSKIP("the root folder cannot be written here");
        }
        QTemporaryFile picture(QDir::rootPath() + "quillet-XXXXXX.png");
        QVERIFY(picture.open() && QImage(5, 3, QImage::Format_RGB32).save(&picture, "png"));
        picture.close();
        const QString name = QFileInfo(picture.fileName()).fileName();
        Form4& form = openDialog();
        form.File1->setPath(QDir::rootPath());
        select(form, name);
        QCOMPARE(Module2::CurrentPath, "//" + name);
        QCOMPARE(form.Label1->text(), "//" + name);
        QCOMPARE(form.Picture3->Width(), 7.0f); // decoded through that path
    }

    void cancelAfterAClickInTheCentredDialogKeepsWindowsAndFlagsButRecordsThePath() {
        writePicture(file("good.png"), {8, 8}, Qt::red);
        Module2::StageDone[1] = BooleanTrue;
        MDIForm1& main = program->forms.mdiForm1();
        bool modal = false;
        QPoint place;
        QTimer::singleShot(0, [&] {
            Form4& form = program->forms.form4();
            modal = form.isModal();
            place = form.pos();
            select(form, "good.png");
            form.Command2->click();
        });
        main.xOpen()->trigger(); // returns when the dialog is gone
        QVERIFY(modal);
        QCOMPARE(place, QPoint(143, 189)); // (15360 - 11055) / 2 = 2152.5 twips, to the even 2152
        QVERIFY(!program->forms.loadedForm4() && !program->forms.loadedForm1());
        QCOMPARE(Module2::CurrentPath, file("good.png"));
        QCOMPARE(Module2::StageDone, (Flags{0, -1, 0, 0, 0, 0, 0}));
        QVERIFY(!main.xConvert_to_Black()->isEnabled() && !main.xSave()->isEnabled() &&
                !main.xScale()->isEnabled());
    }

    void okWithoutAClickShowsAnEmptyPictureWindowAndEnablesTheMenuInOrder() {
        Module2::StageDone[2] = BooleanTrue;
        const MDIForm1& main = program->forms.mdiForm1();
        QStringList enabled;
        for (QAction* action : {main.xConvert_to_Black(), main.xSave(), main.xScale()}) {
            connect(action, &QAction::changed, this, [&enabled, action] { enabled << action->text(); });
        }
        openDialog().Command1->click();
        QVERIFY(!program->forms.loadedForm4());
        QVERIFY(program->forms.loadedForm1() && program->forms.loadedForm1()->Picture2->Picture().isNull());
        QCOMPARE(Module2::StageDone, (Flags{-1, 0, 0, 0, 0, 0, 0}));
        QCOMPARE(enabled, (QStringList{"转换成黑白图片", "保存图像数据", "降低分辨率"}));
    }

    void okDecodesAgainOnlyWhenTheFileChangedSinceTheClick_data() {
        QTest::addColumn<bool>("changed");
        QTest::newRow("unchanged: the loader's picture") << false;
        QTest::newRow("rewritten since the click") << true;
    }
    void okDecodesAgainOnlyWhenTheFileChangedSinceTheClick() {
        QFETCH(bool, changed);
        const QString path = file("photo.bmp");
        writePicture(path, {4, 3}, Qt::red);
        QDir(program->folder.path()).mkdir("elsewhere");
        Form1& form1 = pictureWindowHolding(QImage());
        Form4& form = openDialog();
        select(form, "photo.bmp");
        form.Dir1->setPath(file("elsewhere")); // OK still opens the file clicked
        const QDateTime stamp = QFileInfo(path).lastModified();
        writePicture(path, {4, 3}, Qt::blue); // as many bytes as before
        QFile rewritten(path);
        QVERIFY(rewritten.open(QIODevice::ReadWrite));
        QVERIFY(rewritten.setFileTime(changed ? stamp.addSecs(2) : stamp, QFileDevice::FileModificationTime));
        rewritten.close();
        form.Command1->click();
        QCOMPARE(form1.Picture2->Point(3, 2), changed ? RGB(0, 0, 255) : RGB(255, 0, 0));
    }

    void okOnAFileThatCannotBeOpenedChangesNothingAndKeepsTheDialog_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("reason");
        QTest::newRow("not a picture") << QString("text") << "not a picture in a known format";
        QTest::newRow("truncated") << QString("truncate") << "the file is cut short";
        QTest::newRow("vanished after the click") << QString("remove") << "does not exist";
    }
    void okOnAFileThatCannotBeOpenedChangesNothingAndKeepsTheDialog() {
        QFETCH(QString, damage);
        QFETCH(QString, reason);
        const QString path = file("chosen.png");
        writePicture(path, {30, 20}, Qt::blue);
        writePicture(file("good.png"), {8, 8}, Qt::red);
        if (damage == "text") {
            writeFile(path, "plain text");
        }
        QVERIFY(damage != "truncate" || QFile::resize(path, 60));
        QImage before(2, 2, QImage::Format_RGB32);
        before.fill(Qt::green);
        Form1& form1 = pictureWindowHolding(before);
        Module2::StageDone = Flags{-1, -1, -1, 0, 0, 0, 0};
        Form4& form = openDialog();
        select(form, "chosen.png");
        QVERIFY(damage != "remove" || QFile::remove(path));
        form.Command1->click();
        QCOMPARE(program->shell.messages.size(), 1);
        const QString message = program->shell.messages[0].text;
        QVERIFY2(message.contains(path) && message.contains(reason), qPrintable(message));
        QCOMPARE(program->forms.loadedForm4(), &form);
        QCOMPARE(form1.Picture2->Picture(), before);
        QCOMPARE(Module2::StageDone, (Flags{-1, -1, -1, 0, 0, 0, 0}));
        QVERIFY(!program->forms.mdiForm1().xConvert_to_Black()->isEnabled());
        select(form, "good.png"); // another choice still opens
        form.Command1->click();
        QVERIFY(!program->forms.loadedForm4());
        QCOMPARE(form1.Picture2->Width(), 8.0f);
    }

    void aFolderOrDriveThatCannotBeReadIsReportedAndTheDialogStaysUsable() {
        QDir(program->folder.path()).mkdir("gone");
        Form4& form = openDialog();
        const QString drive = form.Drive1->Drive();
        form.Drive1->setDrives({drive, file("gone")});
        QDir(program->folder.path()).rmdir("gone");
        emit form.Dir1->itemActivated(form.Dir1->currentItem()->child(0), 0); // a folder removed since shown
        form.Drive1->setCurrentIndex(1); // the user picks a drive that cannot be read
        QCOMPARE(program->shell.messages.size(), 2);
        QVERIFY(program->shell.messages[0].text.contains(file("gone")) &&
                program->shell.messages[1].text.contains(file("gone")));
        QCOMPARE(form.Drive1->Drive(), drive);
        QCOMPARE(form.Dir1->Path(), program->folder.path());
    }
};

QTEST_MAIN(OpenDialogTest)
#include "OpenDialogTest.moc"
