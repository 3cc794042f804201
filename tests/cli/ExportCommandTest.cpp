// quillet-export run as a process without a display: exact files for small pictures of every type
// (one with translucent pixels), the command line's answers and errors, and failures that leave an
// existing file alone.

#include "PointFiles.h"
#include "TestFiles.h"

#include <QtTest>

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run runExporter(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(display);
    }
    process.setProcessEnvironment(environment);
    process.start(QUILLET_EXPORT_PROGRAM, arguments);
    const bool finished = process.waitForFinished(120'000) && process.exitStatus() == QProcess::NormalExit;
    return {finished ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

QStringList options(bool half, bool white, int threshold) {
    QStringList arguments{half ? "--half" : "", white ? "--white" : "", "--threshold",
                          QString::number(threshold)};
    arguments.removeAll("");
    return arguments;
}

QImage colourPicture(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.setPixel(
                x, y,
                qRgb((40 * x + 13 * y) % 256, (120 + 9 * x + 230 * y) % 256, (200 + 219 * x + 29 * y) % 256));
        }
    }
    return picture;
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

class ExportCommandTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir folder;
    QString path(const QString& name) const { return folder.filePath(name); }

private slots:
    void initTestCase() {
        QVERIFY(colourPicture(7, 5).save(path("picture.png")));
        QVERIFY(colourPicture(6, 3).save(path("picture.bmp")));
        QVERIFY(colourPicture(5, 7).save(path("picture.ico")));
        QVERIFY(colourPicture(9, 6).save(path("picture.jpg")));
        QVERIFY(QFile::copy(QUILLET_CLI_TEST_DATA "/palette.gif", path("picture.gif"))); // 7 x 5, by PIL
        writeFile(path("notes.png"), "not a picture at all");
        QImage translucent = colourPicture(7, 5).convertToFormat(QImage::Format_ARGB32);
        for (int x = 0; x < 7; ++x) {
            translucent.setPixel(x, 2, qRgba(200, 30 * x, 90, 40 * x)); // flattened onto white when opened
        }
        QVERIFY(translucent.save(path("translucent.png")));
        for (const QString type : {"png", "bmp", "gif", "jpg"}) {
            const QByteArray whole = contents(path("picture." + type));
            writeFile(path("cut." + type), whole.left(whole.size() / 2));
        }
    }

    void writesExactlyTheRecordsOfTheDecodedPixels_data() {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<bool>("half");
        QTest::addColumn<bool>("white");
        QTest::addColumn<int>("threshold");
        for (const char* picture :
             {"picture.png", "picture.bmp", "picture.gif", "picture.ico", "picture.jpg", "translucent.png"}) {
            for (const int variant : {0, 1, 2, 3}) {
                for (const int threshold : {0, 122, 255}) {
                    QTest::addRow("%s %s %s %d", picture, variant & 1 ? "half" : "full",
                                  variant & 2 ? "white" : "black", threshold)
                        << picture << bool(variant & 1) << bool(variant & 2) << threshold;
                }
            }
        }
        QTest::newRow("png default options") << "picture.png" << false << false << -1;
    }
    void writesExactlyTheRecordsOfTheDecodedPixels() {
        QFETCH(QString, picture);
        QFETCH(bool, half);
        QFETCH(bool, white);
        QFETCH(int, threshold);
        picture = path(picture);
        const QString out = path("points.txt");
        writeFile(out, QByteArray(5000, 'x')); // a longer old file keeps no stale bytes
        const Run run = runExporter((threshold < 0 ? QStringList() : options(half, white, threshold)) +
                                    QStringList{picture, out});
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.exitCode, 0);
        const QByteArray expected =
            expectedPointFile(QImage(picture), half, white, threshold < 0 ? 122 : threshold);
        QCOMPARE(contents(out), expected);
        QCOMPARE(run.out,
                 QString("%1 points written to %2\n").arg(expected.size() / 24 - 1).arg(out).toUtf8());
    }

    void theCommandLineIsAnsweredOrRefused_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("shown"); // on standard output when 0, else in the one error line
        const QStringList files{"a.png", "b.txt"};
        QTest::newRow("help")
            << QStringList{"--help"} << 0
            << "Usage: quillet-export [--half] [--white] [--threshold N] PICTURE POINTFILE\n";
        QTest::newRow("version") << QStringList{"--version"} << 0 << "quillet-export " QUILLET_VERSION "\n";
        QTest::newRow("unknown option") << QStringList{"--fast"} + files << 2 << "'fast'";
        QTest::newRow("threshold above 255") << QStringList{"--threshold", "256"} + files << 2 << "'256'";
        QTest::newRow("negative threshold") << QStringList{"--threshold=-1"} + files << 2 << "'-1'";
        QTest::newRow("fractional threshold") << QStringList{"--threshold", "12.5"} + files << 2 << "'12.5'";
        QTest::newRow("threshold without value")
            << files + QStringList{"--threshold"} << 2 << "'--threshold'";
        QTest::newRow("no arguments") << QStringList{} << 2 << "missing PICTURE and POINTFILE";
        QTest::newRow("no point file") << QStringList{"a.png"} << 2 << "missing POINTFILE";
        QTest::newRow("extra argument") << files + QStringList{"c.txt"} << 2 << "'c.txt'";
    }
    void theCommandLineIsAnsweredOrRefused() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, shown);
        const Run run = runExporter(arguments);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2((exitCode == 0 ? run.out : run.err).contains(shown.toUtf8()),
                 (run.out + run.err).constData());
        QVERIFY(exitCode == 0 ? run.err.isEmpty() && run.out.count('\n') <= 8
                              : run.out.isEmpty() && run.err.count('\n') == 1 && run.err.endsWith('\n'));
    }

    void failuresExitWithOneAndLeaveTheOldFile_data() {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QString>("named");
        QTest::addColumn<QString>("reason");
        const auto row = [](const char* tag, const char* picture, const char* destination, const char* named,
                            const char* reason) {
            QTest::newRow(tag) << picture << destination << named << reason;
        };
        row("missing picture", "absent.png", "old.txt", "absent.png", "does not exist");
        row("not a picture", "notes.png", "old.txt", "notes.png", "not a picture");
        for (const char* cut : {"cut.png", "cut.jpg", "cut.gif"}) {
            row(cut, cut, "old.txt", cut, "cannot be decoded");
        }
        row("cut.bmp", "cut.bmp", "old.txt", "cut.bmp", "cut short");
        row("missing folder", "picture.png", "absent/old.txt", "absent/old.txt", "folder does not exist");
        row("folder as the file", "picture.png", "folder", "folder", "it is a folder");
        row("read-only file", "picture.png", "old.txt", "old.txt", "read-only");
        row("the picture itself", "picture.png", "picture.png", "picture.png", "picture being read");
    }
    void failuresExitWithOneAndLeaveTheOldFile() {
        QFETCH(QString, picture);
        QFETCH(QString, destination);
        QFETCH(QString, named);
        QFETCH(QString, reason);
        QTemporaryDir work;
        for (const QString& name : filesIn(folder.path())) {
            QFile::copy(path(name), work.filePath(name));
        }
        writeFile(work.filePath("old.txt"), "old");
        QVERIFY(QDir(work.path()).mkdir("folder"));
        if (reason == "read-only") {
            QFile::setPermissions(work.filePath("old.txt"), QFileDevice::ReadOwner); // refused even as root
        }
        const QStringList before = filesIn(work.path());
        const QByteArray pictureBefore = contents(work.filePath(picture));

        const Run run = runExporter({work.filePath(picture), work.filePath(destination)});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.out, QByteArray());
        QCOMPARE(run.err.count('\n'), 1);
        QVERIFY2(run.err.contains(work.filePath(named).toUtf8()) && run.err.contains(reason.toUtf8()),
                 run.err.constData());
        QCOMPARE(contents(work.filePath("old.txt")), QByteArray("old"));
        QCOMPARE(contents(work.filePath(picture)), pictureBefore);
        QCOMPARE(filesIn(work.path()), before);
    }
};

QTEST_MAIN(ExportCommandTest)
#include "ExportCommandTest.moc"
