// The open-picture dialog on its own, driven as a user drives it, with a recording shell and a sink
// that keeps the pictures it is handed; the placement of its preview, the drive, folder and file lists
// it is built from (the export dialog's drive and folder lists too) and where the dialogs start.

#include "open/Form4.h"
#include "open/PreviewPlacement.h"
#include "runtime/DirListBox.h"
#include "runtime/DriveListBox.h"
#include "runtime/FileListBox.h"
#include "runtime/PictureBox.h"
#include "runtime/PlatformDrives.h"
#include "runtime/Shell.h"

#include "DataRows.h"
#include "PixelCompare.h"
#include "TestFiles.h"
#include "TestProgram.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include <memory>
#include <optional>

namespace {

void writePicture(const QString& path, QSize size, QColor colour, int dotsPerMetre = 3780) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    picture.setDotsPerMeterX(dotsPerMetre);
    QVERIFY(picture.save(path));
}

void select(Form4& form, const QString& name) {
    const QList<QListWidgetItem*> found = form.File1->findItems(name, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    form.File1->setCurrentItem(found.first());
}

struct Keys {
    bool click;
    int key, opens;
};

struct OpenedPictures : OpenedPictureSink {
    void pictureOpened() override {
        pictures << Module2::document().picture();
        statedDotsPerInch << Module2::document().statedDotsPerInch();
    }
    QList<QImage> pictures;
    QList<std::optional<DotsPerInch>> statedDotsPerInch;
};

} // namespace

Q_DECLARE_METATYPE(Keys)

class OpenDialogTest : public QObject {
    Q_OBJECT
    std::optional<TestProgram> program;
    OpenedPictures opened;
    QPointer<Form4> dialog;

    QString file(const QString& name) const { return program->path(name); }
    Form4& loadedDialog() {
        dialog = new Form4(program->shell, opened, nullptr);
        dialog->Form_Load();
        return *dialog;
    }
    Form4& openDialog() {
        loadedDialog().Show();
        return *dialog;
    }

private slots:
    void init() {
        program.emplace();
        opened.pictures.clear();
        opened.statedDotsPerInch.clear();
    }
    void cleanup() {
        delete dialog.data();
        program.reset();
    }

    // Clicked after a good one, a file that cannot be decoded shows no picture but the reason, in the
    // preview's place and without a message box; a good one after it shows again.
    void aFileThatCannotBeDecodedClearsThePreviewAndSaysWhy_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("reason");
        QTest::newRow("not a picture") << QByteArray("not a picture") << "：不是已知格式的图片（";
        QTest::newRow("cut short") << QByteArray() << "：图片数据提前结束（文件不完整）";
    }
    void aFileThatCannotBeDecodedClearsThePreviewAndSaysWhy() {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        writePicture(file("small.png"), {200, 100}, Qt::red);
        writePicture(file("broken.png"), {30, 20}, Qt::blue);
        if (content.isEmpty()) {
            QVERIFY(QFile::resize(file("broken.png"), 60));
        } else {
            writeFile(file("broken.png"), content);
        }
        Form4& form = openDialog();
        const auto preview = [&] {
            return QRectF(form.Picture2->Left(), form.Picture2->Top(), form.Picture2->Width(),
                          form.Picture2->Height());
        };
        const auto redPicture = [](int x, int y) { return x < 200 && y < 100 ? RGB(255, 0, 0) : 0; };
        for (const char* name : {"small.png", "broken.png", "small.png"}) {
            select(form, name);
            const bool broken = QString(name) == "broken.png";
            QVERIFY(Module2::CurrentPath() == file(name) && form.Label1->text() == file(name));
            QCOMPARE(form.Picture2->isVisibleTo(&form), !broken);
            QCOMPARE(form.PreviewFailure->isVisibleTo(&form), broken);
            if (broken) {
                QVERIFY2(form.PreviewFailure->text().contains(file(name)) &&
                             form.PreviewFailure->text().contains(reason),
                         qPrintable(form.PreviewFailure->text()));
            } else {
                // The loader box's border lies in the source rectangle; nothing is painted there.
                QCOMPARE(preview(), QRectF(135.5, 125.5, 202, 102));
                QCOMPARE(firstPixelDifference(form.Picture2->surface(), redPicture), QString());
            }
        }
        QVERIFY(program->shell.messages.isEmpty());
    }

    void aFileInTheRootFolderFollowsADoubledSeparator() {
        Form4& form = openDialog();
        form.File1->setPath(QDir::rootPath());
        form.File1->addItem(
            "quillet-absent.png"); // listed as if it were there: nothing written into the root
        select(form, "quillet-absent.png");
        QVERIFY(Module2::CurrentPath() == "//quillet-absent.png" &&
                form.Label1->text() == Module2::CurrentPath());
    }

    void cancelAfterAClickInTheCentredDialogKeepsWindowsAndFlagsButRecordsThePath() {
        writePicture(file("good.png"), {8, 8}, Qt::red);
        reachStages(true, false);
        Form4& form = loadedDialog();
        bool modal = false;
        QPoint place;
        QTimer::singleShot(0, [&] {
            modal = form.isModal();
            place = form.pos();
            select(form, "good.png");
            form.Command2->click();
        });
        form.ShowModal(); // returns when the dialog is gone
        QVERIFY(modal);
        QCOMPARE(place, QPoint(143, 189)); // (15360 - 11055) / 2 = 2152.5 twips, to the even 2152
        QVERIFY(form.isUnloaded() && opened.pictures.isEmpty());
        QCOMPARE(Module2::CurrentPath(), file("good.png"));
        QCOMPARE(stageFlags(), (StageFlags{-1, -1, 0, 0, 0, 0, 0}));
    }

    void okWaitsForAClickAndEnterAndEscPressTheButtons_data() {
        addRows<Keys>({{"Enter without a click: OK disabled, nothing opens", {false, Qt::Key_Return, 0}},
                       {"Enter after a click opens it", {true, Qt::Key_Return, 1}},
                       {"keypad Enter after a click", {true, Qt::Key_Enter, 1}},
                       {"Esc after a click cancels", {true, Qt::Key_Escape, 0}}});
    }
    void okWaitsForAClickAndEnterAndEscPressTheButtons() {
        QFETCH(Keys, row);
        const auto [click, key, opens] = row;
        writePicture(file("good.png"), {8, 8}, Qt::red);
        reachStages(true, true);
        Module2::setCurrentPath(file("exported.txt")); // an export's path, not a picture
        Form4& form = openDialog();
        QVERIFY(!form.Command1->isEnabled());
        if (click) {
            select(form, "good.png");
        }
        QCOMPARE(form.Command1->isEnabled(), click);
        QTest::keyClick(form.File1, Qt::Key(key));
        QCOMPARE(opened.pictures.size(), opens);
        QCOMPARE(form.isUnloaded(), click);
        QCOMPARE(Module2::StageDone(2), opens ? BooleanFalse : BooleanTrue);
        QVERIFY(program->shell.messages.isEmpty());
    }

    void okDecodesAgainOnlyWhenTheFileChangedSinceTheClick_data() {
        QTest::addColumn<bool>("changed");
        QTest::newRow("unchanged: the loader's picture") << false;
        QTest::newRow("rewritten since the click") << true;
    }
    void okDecodesAgainOnlyWhenTheFileChangedSinceTheClick() {
        QFETCH(bool, changed);
        const QString path = file("photo.bmp");
        writePicture(path, {4, 3}, Qt::red, 3937);
        QDir(program->folder.path()).mkdir("elsewhere");
        Form4& form = openDialog();
        select(form, "photo.bmp");
        form.Dir1->setPath(file("elsewhere")); // OK still opens the file clicked
        const QDateTime stamp = QFileInfo(path).lastModified();
        writePicture(path, {4, 3}, Qt::blue, 11811); // as many bytes as before
        QFile rewritten(path);
        QVERIFY(rewritten.open(QIODevice::ReadWrite));
        QVERIFY(rewritten.setFileTime(changed ? stamp.addSecs(2) : stamp, QFileDevice::FileModificationTime));
        rewritten.close();
        form.Command1->click();
        QCOMPARE(opened.pictures.size(), 1);
        QCOMPARE(opened.pictures[0].pixelColor(3, 2), changed ? QColor(Qt::blue) : QColor(Qt::red));
        QCOMPARE(opened.statedDotsPerInch[0]->x, changed ? 300.0 : 100.0); // read with its pixels
    }

    // The loader owns the reasons; the dialog reports one, for a file it cannot decode or one gone since the
    // click, and stays.
    void okOnAFileThatCannotBeOpenedChangesNothingAndKeepsTheDialog_data() {
        QTest::addColumn<bool>("removed");
        QTest::addColumn<QString>("reason");
        QTest::newRow("truncated") << false << "：图片数据提前结束（文件不完整）";
        QTest::newRow("vanished after the click") << true << "：文件不存在（";
    }
    void okOnAFileThatCannotBeOpenedChangesNothingAndKeepsTheDialog() {
        QFETCH(bool, removed);
        QFETCH(QString, reason);
        const QString path = file("chosen.png");
        writePicture(path, {30, 20}, Qt::blue);
        writePicture(file("good.png"), {8, 8}, Qt::red);
        QVERIFY(removed || QFile::resize(path, 60));
        reachStages(true, true);
        Form4& form = openDialog();
        select(form, "chosen.png");
        QVERIFY(!removed || QFile::remove(path));
        form.Command1->click();
        const QString message = program->shell.messages.value(0).text;
        QVERIFY2(program->shell.messages.size() == 1 && message.contains(path) && message.contains(reason),
                 qPrintable(message));
        QVERIFY(!form.isUnloaded() && opened.pictures.isEmpty());
        QCOMPARE(stageFlags(), (StageFlags{-1, -1, -1, 0, 0, 0, 0}));
        select(form, "good.png"); // another choice still opens
        form.Command1->click();
        QVERIFY(form.isUnloaded() && opened.pictures.size() == 1 && opened.pictures[0].size() == QSize(8, 8));
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
        const QString gone = QStringLiteral("无法打开文件夹“%1”：它不存在").arg(file("gone"));
        QCOMPARE(program->shell.messages[0].text, gone);
        QCOMPARE(program->shell.messages[1].text, gone);
        QCOMPARE(form.Drive1->Drive(), drive);
        QCOMPARE(form.Dir1->Path(), program->folder.path());
    }

    // Outer sizes of the loader box in the 473 x 353 frame; the dialog's own test shows a small one.
    void previewIsPlacedInTheFrame_data() {
        QTest::addColumn<QSizeF>("loader");
        QTest::addColumn<QRectF>("preview"); // left, top, width, height
        QTest::newRow("the frame's own size fits") << QSizeF(473, 353) << QRectF(0, 0, 473, 353);
        QTest::newRow("the loader's design size") << QSizeF(81, 33) << QRectF(196, 160, 81, 33);
        QTest::newRow("full width, lower height fits") << QSizeF(473, 300) << QRectF(0, 26.5, 473, 300);
        QTest::newRow("narrower but taller") << QSizeF(300, 400) << QRectF(104.125, 0, 264.75, 353);
        QTest::newRow("relatively wider") << QSizeF(1002, 502) << QRectF(0, 58.01397, 473, 236.97206);
        QTest::newRow("one pixel too wide") << QSizeF(474, 353) << QRectF(0, 0.3723602, 473, 352.25528);
        QTest::newRow("equal proportions") << QSizeF(946, 706) << QRectF(0, 0, 473, 353);
    }
    void previewIsPlacedInTheFrame() {
        QFETCH(QSizeF, loader);
        QFETCH(QRectF, preview);
        const PreviewPlacement placement(float(loader.width()), float(loader.height()), 473.0f, 353.0f);
        QCOMPARE(placement.Left(), float(preview.left()));
        QCOMPARE(placement.Top(), float(preview.top()));
        QCOMPARE(placement.Width(), float(preview.width()));
        QCOMPARE(placement.Height(), float(preview.height()));
    }

    // Pictures of every case, sorted without regard to case; no folders, hidden files or other kinds. One
    // click per selection, by keyboard or mouse; none for the focus alone or for listing anew.
    void fileListShowsThePicturesAndClicksOncePerSelection() {
        for (const char* name :
             {"PHOTO.JPG", "a.gif", "b.Bmp", "c.png", "d.ico", "e.txt", "f.jpeg", ".g.png"}) {
            writeFile(file(name), {});
        }
        QDir(program->folder.path()).mkdir("h.jpg");
        Form4& form = openDialog();
        FileListBox& list = *form.File1;
        QStringList names, clicks;
        for (int row = 0; row < list.count(); ++row) {
            names << list.item(row)->text();
        }
        QCOMPARE(names, (QStringList{"a.gif", "b.Bmp", "c.png", "d.ico", "PHOTO.JPG"}));
        list.onClick([&] { clicks << list.FileName(); });
        list.setFocus();
        QVERIFY(QTest::qWaitForWindowExposed(&form)); // the focus alone selects nothing
        QTest::keyClick(&list, Qt::Key_Down);
        QTest::keyClick(&list, Qt::Key_Down);
        const QPoint first = list.visualItemRect(list.item(0)).center();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, first);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, first); // the selected one again
        list.setPath(program->folder.path()); // listing anew clears the selection, without a click
        QCOMPARE(clicks, (QStringList{"a.gif", "b.Bmp", "a.gif", "a.gif"}));
        QCOMPARE(list.FileName(), QString());
    }

    void folderListShowsAncestorsAndSubfoldersAndReturnsToADrivesFolder() {
        for (const char* path : {"a/b/c", "a/b/D", "a/b/.hidden"}) {
            QDir(program->folder.path()).mkpath(path);
        }
        DirListBox dir(nullptr);
        QStringList changes;
        dir.onChange([&] { changes << dir.Path(); });
        dir.setPath(file("a/b"));
        dir.setPath(file("a/b/"));
        const QTreeWidgetItem* const b = dir.currentItem();
        QCOMPARE(b->text(0) + b->parent()->text(0), QString("ba"));
        QCOMPARE(b->childCount(), 2);
        emit dir.itemActivated(b->child(1), 0);
        emit dir.itemActivated(dir.topLevelItem(0), 0); // the root entry opens the root itself
        QCOMPARE(changes, (QStringList{file("a/b"), file("a/b/D"), QDir::rootPath()}));
        dir.setPath(program->folder.path());
        dir.setPath(PlatformDrives::driveHolding(program->folder.path(), PlatformDrives::drives()));
        QCOMPARE(dir.Path(), program->folder.path()); // a drive's text leads to the folder last shown on it
    }

    void driveListSelectsTheDriveWithTheLongestRootHoldingAPath_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("drive");
        QTest::newRow("root") << "/"
                              << "/";
        QTest::newRow("inside a mount") << "/media/usb/photos"
                                        << "/media/usb";
        QTest::newRow("the mount itself") << "/media/usb/"
                                          << "/media/usb";
        QTest::newRow("a name that only starts like a mount") << "/media/usbstick"
                                                              << "/";
    }
    void driveListSelectsTheDriveWithTheLongestRootHoldingAPath() {
        QFETCH(QString, path);
        QFETCH(QString, drive);
        DriveListBox drives(nullptr);
        drives.setDrives({"/", "/media/usb"});
        drives.setDrive(path);
        QCOMPARE(drives.Drive(), drive);
    }

    // The remembered folder while it exists, the build tree's layout, the installed one, and the user's
    // pictures folder (else home) when neither holds samples; the program is in prefix/bin.
    void dialogsStartBesideSamples_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QString>("remembered");
        QTest::addColumn<QString>("expected"); // "" for the user's pictures folder, else home
        const auto row = [](const char* tag, const QStringList& files, const QStringList& folders,
                            const char* remembered, const char* expected) {
            QTest::newRow(tag) << files << folders << QString(remembered) << QString(expected);
        };
        const QString samples = QStringLiteral("prefix/share/quillet/samples");
        const QString share = QStringLiteral("prefix/share/quillet");
        row("build tree", {"prefix/bin/sample-landscape.jpg"}, {}, "", "prefix/bin");
        row("installed", {}, {samples}, "", "prefix/share/quillet/samples");
        row("samples beside the program win", {"prefix/bin/sample-ramp-circle.png"}, {samples}, "",
            "prefix/bin");
        row("no samples anywhere", {}, {}, "", "");
        row("share without samples", {}, {share}, "", "");
        row("samples is a file", {"prefix/share/quillet/samples"}, {share}, "", "");
        row("remembered", {}, {samples, "pictures"}, "pictures", "pictures");
        row("remembered folder vanished", {}, {samples}, "pictures", "prefix/share/quillet/samples");
        row("remembered a file", {"prefix/bin/sample-a.png"}, {}, "prefix/bin/sample-a.png", "prefix/bin");
    }
    void dialogsStartBesideSamples() {
        QFETCH(QStringList, files);
        QFETCH(QStringList, folders);
        QFETCH(QString, remembered);
        QFETCH(QString, expected);
        const QDir root(program->folder.path());
        for (const QString& folder : folders + QStringList{"prefix/bin"}) {
            QVERIFY(root.mkpath(folder));
        }
        for (const QString& file : files) {
            writeFile(root.filePath(file), QByteArrayLiteral("picture"));
        }
        const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
        const QString fallback = QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
        QCOMPARE(dialogStartFolder(root.filePath(QStringLiteral("prefix/bin")),
                                   remembered.isEmpty() ? QString() : root.filePath(remembered)),
                 expected.isEmpty() ? fallback : root.filePath(expected));
    }

    void desktopRemembersTheLastFolderWhileItExists() {
        QStandardPaths::setTestModeEnabled(true); // settings in a test folder, not the user's
        auto used = std::make_unique<QTemporaryDir>();
        DesktopShell shell;
        shell.folderUsed(used->path());
        QCOMPARE(shell.dialogFolder(), used->path());
        used.reset();
        QCOMPARE(shell.dialogFolder(), dialogStartFolder(QCoreApplication::applicationDirPath()));
    }
};

QTEST_MAIN(OpenDialogTest)
#include "OpenDialogTest.moc"
