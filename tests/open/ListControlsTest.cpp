// The drive, folder and file lists the open and export dialogs are built from.

#include "runtime/DirListBox.h"
#include "runtime/DriveListBox.h"
#include "runtime/FileListBox.h"
#include "runtime/PlatformDrives.h"
#include "runtime/RuntimeError.h"

#include <QtTest>

namespace {

void touch(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

QStringList entries(const QListWidget& list) {
    QStringList names;
    for (int row = 0; row < list.count(); ++row) {
        names << list.item(row)->text();
    }
    return names;
}

QStringList childNames(const QTreeWidgetItem* item) {
    QStringList names;
    for (int index = 0; index < item->childCount(); ++index) {
        names << item->child(index)->text(0);
    }
    return names;
}

} // namespace

class ListControlsTest : public QObject {
    Q_OBJECT
private slots:
    void fileListMatchesEveryPatternIgnoringCase() {
        QTemporaryDir folder;
        for (const char* name :
             {"PHOTO.JPG", "a.gif", "b.Bmp", "c.png", "d.ico", "notes.txt", "e.jpeg", ".f.png"}) {
            touch(folder.filePath(name));
        }
        QDir(folder.path()).mkdir("g.jpg");
        FileListBox list(nullptr);
        list.setPattern("*.jpg;*.gif;*.bmp;*.png;*.ico");
        list.setPath(folder.path());
        QCOMPARE(entries(list), (QStringList{"a.gif", "b.Bmp", "c.png", "d.ico", "PHOTO.JPG"}));
    }

    void fileListClicksOncePerSelectionByKeyboardOrMouse() {
        QTemporaryDir folder;
        touch(folder.filePath("a.png"));
        touch(folder.filePath("b.png"));
        FileListBox list(nullptr);
        list.setPath(folder.path());
        QStringList clicks;
        list.onClick([&] { clicks << list.FileName(); });
        list.show();
        list.setFocus();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QCOMPARE(clicks, QStringList()); // focus alone selects nothing
        QTest::keyClick(&list, Qt::Key_Down);
        QTest::keyClick(&list, Qt::Key_Down);
        const QPoint first = list.visualItemRect(list.item(0)).center();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, first);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, first);
        QCOMPARE(clicks, (QStringList{"a.png", "b.png", "a.png", "a.png"}));
        list.setPath(folder.path()); // listing anew clears the selection, without a click
        QCOMPARE(list.FileName(), QString());
        QCOMPARE(clicks.size(), 4);
    }

    void folderPathsEndInASeparatorOnlyAtTheRoot() {
        QTemporaryDir folder;
        FileListBox list(nullptr);
        list.setPath(folder.path() + "/");
        QCOMPARE(list.Path(), folder.path());
        list.setPath(QDir::rootPath());
        QCOMPARE(list.Path(), QDir::toNativeSeparators(QDir::rootPath()));
        QVERIFY(list.Path().endsWith(PathSeparator));
    }

    void folderListShowsAncestorsAndSubfoldersAndOpensOnActivation() {
        QTemporaryDir root;
        QDir(root.path()).mkpath("a/b/c");
        QDir(root.path()).mkpath("a/b/D");
        QDir(root.path()).mkpath("a/b/.hidden");
        DirListBox dir(nullptr);
        int changes = 0;
        dir.onChange([&] { ++changes; });
        dir.setPath(root.filePath("a/b"));
        dir.setPath(root.filePath("a/b/"));
        QCOMPARE(changes, 1);
        QCOMPARE(dir.topLevelItem(0)->text(0), QDir::toNativeSeparators(QDir::rootPath()));
        QTreeWidgetItem* const b = dir.currentItem();
        QCOMPARE(b->text(0), QString("b"));
        QCOMPARE(b->parent()->text(0), QString("a"));
        QCOMPARE(childNames(b), (QStringList{"c", "D"}));
        emit dir.itemActivated(b->child(1), 0);
        QCOMPARE(dir.Path(), root.filePath("a/b/D"));
        QCOMPARE(changes, 2);
    }

    void openingAVanishedFolderIsReportedAndThePathStays() {
        QTemporaryDir root;
        QDir(root.path()).mkpath("gone");
        DirListBox dir(nullptr);
        dir.setPath(root.path());
        QString failure;
        dir.onOpenFailed([&](const RuntimeError& error) { failure = error.text(); });
        QDir(root.path()).rmdir("gone");
        emit dir.itemActivated(dir.currentItem()->child(0), 0);
        QCOMPARE(failure,
                 QString("Cannot open the folder \"%1\": it does not exist").arg(root.filePath("gone")));
        QCOMPARE(dir.Path(), root.path());
    }

    void aDrivesTextLeadsBackToTheFolderLastShownOnIt() {
        QTemporaryDir folder;
        DirListBox dir(nullptr);
        dir.setPath(folder.path());
        const QString drive = PlatformDrives::driveHolding(folder.path(), PlatformDrives::drives());
        emit dir.itemActivated(dir.topLevelItem(0), 0); // the root entry opens the root itself
        QCOMPARE(dir.Path(), QDir::toNativeSeparators(QDir::rootPath()));
        dir.setPath(folder.path());
        dir.setPath(drive);
        QCOMPARE(dir.Path(), folder.path());
    }

    void pathBelongsToTheDriveWithTheLongestRootHoldingIt_data() {
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
    void pathBelongsToTheDriveWithTheLongestRootHoldingIt() {
        QFETCH(QString, path);
        QFETCH(QString, drive);
        QCOMPARE(PlatformDrives::driveHolding(path, {"/", "/media/usb"}), drive);
    }

    void driveListRaisesChangeOnlyWhenTheSelectionChanges() {
        DriveListBox drives(nullptr);
        drives.setDrives({"/", "/media/usb"});
        drives.setDrive("/");
        int changes = 0;
        drives.onChange([&] { ++changes; });
        drives.setDrive("/");
        drives.setDrive("/media/usb/photos");
        drives.setDrive("/media/usb");
        QCOMPARE(drives.Drive(), QString("/media/usb"));
        QCOMPARE(changes, 1);
        try {
            drives.setDrive("");
            QFAIL("an empty drive was accepted");
        } catch (const RuntimeError& error) {
            QCOMPARE(error.number(), 68);
        }
    }
};

QTEST_MAIN(ListControlsTest)
#include "ListControlsTest.moc"
