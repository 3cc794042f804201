#include "TestFiles.h"
#include "runtime/Shell.h"

#include <QtTest>

// The dialogs' start folder for the build tree's layout and the installed one.
class DialogStartFolderTest : public QObject {
    Q_OBJECT
private slots:
    void startsBesideSamples_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QString>("expected");
        const QString bin = QStringLiteral("prefix/bin");
        const QString samples = QStringLiteral("prefix/share/quillet/samples");
        QTest::newRow("build tree") << QStringList{QStringLiteral("prefix/bin/sample-landscape.jpg")}
                                    << QStringList{bin} << bin;
        QTest::newRow("installed") << QStringList{} << QStringList{bin, samples} << samples;
        QTest::newRow("samples beside the program win")
            << QStringList{QStringLiteral("prefix/bin/sample-ramp-circle.png")} << QStringList{bin, samples}
            << bin;
        QTest::newRow("no samples anywhere") << QStringList{} << QStringList{bin} << bin;
        QTest::newRow("share without samples")
            << QStringList{} << QStringList{bin, QStringLiteral("prefix/share/quillet")} << bin;
        QTest::newRow("samples is a file") << QStringList{QStringLiteral("prefix/share/quillet/samples")}
                                           << QStringList{bin, QStringLiteral("prefix/share/quillet")} << bin;
    }
    void startsBesideSamples() {
        QFETCH(QStringList, files);
        QFETCH(QStringList, folders);
        QFETCH(QString, expected);
        const QTemporaryDir root;
        QVERIFY(root.isValid());
        for (const QString& folder : folders) {
            QVERIFY(QDir(root.path()).mkpath(folder));
        }
        for (const QString& file : files) {
            writeFile(root.filePath(file), QByteArrayLiteral("picture"));
        }
        QCOMPARE(dialogStartFolder(root.filePath(QStringLiteral("prefix/bin"))), root.filePath(expected));
    }
};

QTEST_GUILESS_MAIN(DialogStartFolderTest)
#include "DialogStartFolderTest.moc"
