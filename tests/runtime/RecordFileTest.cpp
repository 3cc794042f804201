#include "runtime/RecordFile.h"
#include "runtime/RuntimeError.h"

#include "TestFiles.h"

#include <QtTest>

#include <optional>

namespace {

const qint32 Header[3] = {3, 3, 0};

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden);
}

} // namespace

class RecordFileTest : public QObject {
    Q_OBJECT
private slots:
    void aClosedFileHoldsExactlyItsRecordsWithZeroFiller_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("old");
        QTest::newRow("new file") << "out.txt" << QByteArray();
        QTest::newRow("a longer old file keeps no stale bytes") << "out.txt" << QByteArray(1000, 'x');
        QTest::newRow("a folder with spaces and Chinese characters")
            << QStringLiteral("导出 数据/未命名 1.txt") << QByteArray();
    }
    void aClosedFileHoldsExactlyItsRecordsWithZeroFiller() {
        QFETCH(QString, name);
        QFETCH(QByteArray, old);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        QVERIFY(QDir(dir.path()).mkpath(QFileInfo(path).path()));
        if (!old.isEmpty()) {
            writeFile(path, old);
        }
        RecordFile file(path, 24);
        file.Put(Header, sizeof Header);
        const qint32 point[3] = {1, 1, 40};
        file.Put(point, sizeof point);
        file.Close();
        QByteArray expected(48, '\0');
        expected[0] = expected[4] = 3;
        expected[24] = expected[28] = 1;
        expected[32] = 40;
        QCOMPARE(contents(path), expected);
        QCOMPARE(filesIn(QFileInfo(path).path()), QStringList{QFileInfo(path).fileName()});
    }

    // Megabytes of records, reserved one at a time and in runs larger than any buffer, arrive
    // complete and in order, whatever way the buffers are handed to the system.
    void manyBuffersOfRecordsArriveInOrder() {
        QTemporaryDir dir;
        const QString path = dir.filePath("out.txt");
        QByteArray expected;
        RecordFile file(path, 24);
        qint32 next = 0;
        const auto fill = [&](std::size_t reserved, std::size_t kept) {
            char* const records = file.reserve(reserved);
            for (std::size_t i = 0; i < reserved; ++i) {
                const qint32 fields[6] = {next + qint32(i), -1, 7, 0, 0, 0};
                std::memcpy(records + 24 * i, fields, 24);
                if (i < kept) {
                    expected.append(reinterpret_cast<const char*>(fields), 24);
                }
            }
            file.advance(kept);
            next += qint32(reserved);
        };
        for (int round = 0; round < 3; ++round) {
            for (std::size_t run = 1; run < 2000; run += 7) {
                fill(run, run / 2);
            }
            fill(100000, 99999);
        }
        file.Close();
        QCOMPARE(contents(path).size(), expected.size());
        QVERIFY(contents(path) == expected);
    }

    void aFileNeverClosedLeavesTheOldFileAndNoTemporaryFile_data() {
        QTest::addColumn<bool>("abandoned");
        QTest::newRow("destroyed unclosed") << false;
        QTest::newRow("abandoned with every open file, still alive") << true;
    }
    void aFileNeverClosedLeavesTheOldFileAndNoTemporaryFile() {
        QFETCH(bool, abandoned);
        QTemporaryDir dir;
        const QString path = dir.filePath("out.txt");
        writeFile(path, "old");
        std::optional<RecordFile> file(std::in_place, path, 24);
        file->Put(Header, sizeof Header);
        abandoned ? RecordFile::abandonAllOpen() : file.reset();
        QCOMPARE(contents(path), QByteArray("old"));
        QCOMPARE(filesIn(dir.path()), QStringList{"out.txt"});
    }

    void unwritableDestinationsAreRefusedWithTheirPath_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing folder") << "missing";
        QTest::newRow("a folder as the file") << "folder";
        QTest::newRow("read-only file") << "readonly";
        QTest::newRow("read-only folder") << "readonly folder";
        QTest::newRow("empty path") << "empty";
        QTest::newRow("a name too long for the file system") << "long";
    }
    void unwritableDestinationsAreRefusedWithTheirPath() {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QString path = dir.filePath("out.txt");
        if (kind == "missing") {
            path = dir.filePath("no such folder/out.txt");
        } else if (kind == "folder") {
            path = dir.path();
        } else if (kind == "readonly") {
            writeFile(path, "old");
            QFile::setPermissions(path, QFileDevice::ReadOwner);
        } else if (kind == "readonly folder") {
            QVERIFY(QDir(dir.path()).mkdir("locked"));
            path = dir.filePath("locked/out.txt");
            QFile::setPermissions(dir.filePath("locked"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        } else if (kind == "long") {
            path = dir.filePath(QString(300, QLatin1Char('n')) + ".txt");
        } else {
            path.clear();
        }
        try {
            RecordFile file(path, 24);
            file.Close();
            QFAIL("the destination was accepted");
        } catch (const RuntimeError& error) {
            QVERIFY2(error.text().contains(path), qPrintable(error.text()));
        }
        if (kind == "readonly") {
            QCOMPARE(contents(path), QByteArray("old"));
        }
        // no temporary file left behind
        QCOMPARE(filesIn(dir.path()), kind == "readonly" ? QStringList{"out.txt"} : QStringList());
        if (kind == "readonly folder") {
            QCOMPARE(filesIn(dir.filePath("locked")), QStringList());
            QFile::setPermissions(dir.filePath("locked"),
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        }
    }
};

QTEST_APPLESS_MAIN(RecordFileTest)
#include "RecordFileTest.moc"
