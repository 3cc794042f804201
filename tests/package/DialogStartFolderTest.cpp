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
        const QString bin = QStringLiteral("prefix/bin");
        const QString samples = QStringLiteral("prefix/share/quillet/samples");
        QTest::newRow("build tree") << QStringList{QStringLiteral("prefix/bin/sample-landscape.jpg")}
                                    << QStringList{bin} << QString() << bin;
        QTest::newRow("installed") << QStringList{} << QStringList{bin, samples} << QString() << samples;
        QTest::newRow("samples beside the program win")
            << QStringList{QStringLiteral("prefix/bin/sample-ramp-circle.png")} << QStringList{bin, samples}
            << QString() << bin;
        QTest::newRow("no samples anywhere") << QStringList{} << QStringList{bin} << QString() << QString();
        QTest::newRow("share without samples")
            << QStringList{} << QStringList{bin, QStringLiteral("prefix/share/quillet")} << QString()
            << QString();
        QTest::newRow("samples is a file")
            << QStringList{QStringLiteral("prefix/share/quillet/samples")}
            << QStringList{bin, QStringLiteral("prefix/share/quillet")} << QString() << QString();
        QTest::newRow("remembered") << QStringList{} << QStringList{bin, samples, QStringLiteral("pictures")}
                                    << QStringLiteral("pictures") << QStringLiteral("pictures");
        QTest::newRow("remembered folder vanished")
            << QStringList{} << QStringList{bin, samples} << QStringLiteral("pictures") << samples;
        QTest::newRow("remembered a file")
            << QStringList{QStringLiteral("prefix/bin/sample-a.png")} << QStringList{bin}
            << QStringLiteral("prefix/bin/sample-a.png") << bin;
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
