#include "TestFiles.h"
#include "runtime/Shell.h"

#include <QtTest>

#include <memory>

// The dialogs' start folder: the remembered one while it exists, the build tree's layout, the
// installed one, and the user's pictures folder (else home) when neither holds samples.
class DialogStartFolderTest : public QObject {
    Q_OBJECT
private slots:
    void startsBesideSamples_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QString>("remembered");
        QTest::addColumn<QString>("expected"); // "" for the user's pictures folder, else home
        const auto row = [](const char* tag, const QStringList& files, const QStringList& folders,
                            const char* remembered, const char* expected) {
            QTest::newRow(tag) << files << folders << QString(remembered) << QString(expected);
        };
        const QString bin = QStringLiteral("prefix/bin");
        const QString samples = QStringLiteral("prefix/share/quillet/samples");
        const QString share = QStringLiteral("prefix/share/quillet");
        row("build tree", {"prefix/bin/sample-landscape.jpg"}, {bin}, "", "prefix/bin");
        row("installed", {}, {bin, samples}, "", "prefix/share/quillet/samples");
        row("samples beside the program win", {"prefix/bin/sample-ramp-circle.png"}, {bin, samples}, "",
            "prefix/bin");
        row("no samples anywhere", {}, {bin}, "", "");
        row("share without samples", {}, {bin, share}, "", "");
        row("samples is a file", {"prefix/share/quillet/samples"}, {bin, share}, "", "");
        row("remembered", {}, {bin, samples, "pictures"}, "pictures", "pictures");
        row("remembered folder vanished", {}, {bin, samples}, "pictures", "prefix/share/quillet/samples");
        row("remembered a file", {"prefix/bin/sample-a.png"}, {bin}, "prefix/bin/sample-a.png", "prefix/bin");
    }
    void startsBesideSamples() {
        QFETCH(QStringList, files);
        QFETCH(QStringList, folders);
        QFETCH(QString, remembered);
        QFETCH(QString, expected);
        const QTemporaryDir root;
        QVERIFY(root.isValid());
        for (const QString& folder : folders) {
            QVERIFY(QDir(root.path()).mkpath(folder));
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
        QCOMPARE(shell.AppPath(), used->path());
        used.reset();
        QCOMPARE(shell.AppPath(), dialogStartFolder(QCoreApplication::applicationDirPath()));
    }
};

QTEST_GUILESS_MAIN(DialogStartFolderTest)
#include "DialogStartFolderTest.moc"
