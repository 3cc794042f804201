// The drive, folder and file lists the open and export dialogs are built from.

#include "runtime/DirListBox.h"
#include "runtime/DriveListBox.h"
#include "runtime/FileListBox.h"
#include "runtime/PlatformDrives.h"
#include "runtime/RuntimeError.h"

#include <QtTest>

class ListControlsTest : public QObject {
    Q_OBJECT
private slots:
    void fileListMatchesEveryPatternIgnoringCase() {
        QTemporaryDir folder;
        for (const char* name :
             {"PHOTO.JPG", "a.gif", "b.Bmp", "c.png", "d.ico", "e.txt", "f.jpeg", ".g.png"}) {
            QFile(folder.filePath(name)).open(QIODevice::WriteOnly);
        }
        QDir(folder.path()).mkdir("h.jpg");
        FileListBox list(nullptr);
        list.setPattern("*.jpg;*.gif;*.bmp;*.png;*.ico");
        list.setPath(folder.path());
        QStringList names;
        for (int row = 0; row < list.count(); ++row) {
            names << list.item(row)->text();
        }
        QCOMPARE(names, (QStringList{"a.gif", "b.Bmp", "c.png", "d.ico", "PHOTO.JPG"}));
    }

    void fileListClicksOncePerSelectionByKeyboardOrMouse() {
        QTemporaryDir folder;
        for (const char* name : {"a.png", "b.png"}) {
            QFile(folder.filePath(name)).open(QIODevice::WriteOnly);
        }
        FileListBox list(nullptr);
        list.setPath(folder.path());
        QStringList clicks;
        list.onClick([&] { clicks << list.FileName(); });
        list.show();
        list.setFocus();
        QVERIFY(QTest::qWaitForWindowExposed(&list)); // the focus alone selects nothing
        QTest::keyClick(&list, Qt::Key_Down);
        QTest::keyClick(&list, Qt::Key_Down);
        const QPoint first = list.visualItemRect(list.item(0)).center();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, first);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, first); // the selected one again
        list.setPath(folder.path()); // listing anew clears the selection, without a click
        QCOMPARE(clicks, (QStringList{"a.png", "b.png", "a.png", "a.png"}));
        QCOMPARE(list.FileName(), QString());
    }

    void folderListShowsAncestorsAndSubfoldersAndReturnsToADrivesFolder() {
        QTemporaryDir root;
        for (const char* path : {"a/b/c", "a/b/D", "a/b/.hidden"}) {
            QDir(root.path()).mkpath(path);
        }
        DirListBox dir(nullptr);
        QStringList changes;
        dir.onChange([&] { changes << dir.Path(); });
        dir.setPath(root.filePath("a/b"));
        dir.setPath(root.filePath("a/b/"));
        const QTreeWidgetItem* const b = dir.currentItem();
        QCOMPARE(b->text(0) + b->parent()->text(0), QString("ba"));
        QCOMPARE(b->childCount(), 2);
        emit dir.itemActivated(b->child(1), 0);
        emit dir.itemActivated(dir.topLevelItem(0), 0); // the root entry opens the root itself
        QCOMPARE(changes, (QStringList{root.filePath("a/b"), root.filePath("a/b/D"), QDir::rootPath()}));
        dir.setPath(root.path());
        dir.setPath(PlatformDrives::driveHolding(root.path(), PlatformDrives::drives()));
        QCOMPARE(dir.Path(), root.path()); // a drive's text leads to the folder last shown on it
    }

    void driveListSelectsTheDriveWithTheLongestRootHoldingAPath_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("drive");
        QTest::addColumn<int>("changes");
        const auto row = [](const char* tag, const char* path, const char* drive, int changes) {
            QTest::newRow(tag) << QString(path) << QString(drive) << changes;
        };
        row("root", "/", "/", 0);
        row("inside a mount", "/media/usb/photos", "/media/usb", 1);
        row("the mount itself", "/media/usb/", "/media/usb", 1);
        row("a name that only starts like a mount", "/media/usbstick", "/", 0);
    }
    void driveListSelectsTheDriveWithTheLongestRootHoldingAPath() {
        QFETCH(QString, path);
        QFETCH(QString, drive);
        QFETCH(int, changes);
        DriveListBox drives(nullptr);
        drives.setDrives({"/", "/media/usb"});
        drives.setDrive("/");
        int raised = 0;
        drives.onChange([&] { ++raised; });
        drives.setDrive(path);
        drives.setDrive(path);
        QCOMPARE(drives.Drive(), drive);
        QCOMPARE(raised, changes);
    }
};

QTEST_MAIN(ListControlsTest)
#include "ListControlsTest.moc"
