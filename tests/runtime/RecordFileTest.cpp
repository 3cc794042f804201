#include "runtime/RecordFile.h"
#include "runtime/RuntimeError.h"

#include <QtTest>

namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A complete record file holding one header record.
void writeHeaderOnly(const QString& path) {
    RecordFile file(path, 24);
    const qint32 header[3] = {1, 1, 0};
    file.Put(header, sizeof header);
    file.Close();
}

} // namespace

class RecordFileTest : public QObject {
    Q_OBJECT
private slots:
    void recordsAreFixedLengthWithZeroFiller() {
        QTemporaryDir dir;
        const QString path = dir.filePath("out.txt");
        RecordFile file(path, 24);
        const qint32 header[3] = {3, 3, 0};
        file.Put(header, sizeof header);
        const qint32 point[3] = {1, 1, 40};
        file.Put(point, sizeof point);
        file.Close();
        QByteArray expected(48, '\0');
        expected[0] = 3;
        expected[4] = 3;
        expected[24] = 1;
        expected[28] = 1;
        expected[32] = 40;
        QCOMPARE(contents(path), expected);
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

    void aLongerOldFileKeepsNoStaleBytes() {
        QTemporaryDir dir;
        const QString path = dir.filePath("out.txt");
        writeFile(path, QByteArray(1000, 'x'));
        writeHeaderOnly(path);
        QCOMPARE(contents(path).size(), 24);
    }

    void anUnclosedFileLeavesTheOldFileAndNoTemporaryFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath("out.txt");
        writeFile(path, "old");
        {
            RecordFile file(path, 24);
            const qint32 header[3] = {1, 1, 0};
            file.Put(header, sizeof header);
        }
        QCOMPARE(contents(path), QByteArray("old"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.txt"});
    }

    void abandoningEveryOpenFileTouchesNoDestination() {
        QTemporaryDir dir;
        const QString path = dir.filePath("out.txt");
        writeFile(path, "old");
        RecordFile file(path, 24);
        const qint32 header[3] = {1, 1, 0};
        file.Put(header, sizeof header);
        RecordFile::abandonAllOpen();
        QCOMPARE(contents(path), QByteArray("old"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.txt"});
    }

    void aFolderWithSpacesAndChineseCharactersIsWrittenLikeAnyOther() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("导出 数据")));
        const QString path = dir.filePath(QStringLiteral("导出 数据/未命名 1.txt"));
        writeHeaderOnly(path);
        QCOMPARE(contents(path).size(), 24);
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
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 kind == "readonly" ? QStringList{"out.txt"} : QStringList());
        if (kind == "readonly folder") {
            QCOMPARE(QDir(dir.filePath("locked")).entryList(QDir::Files | QDir::Hidden), QStringList());
            QFile::setPermissions(dir.filePath("locked"),
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        }
    }
};

QTEST_APPLESS_MAIN(RecordFileTest)
#include "RecordFileTest.moc"
