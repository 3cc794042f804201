// quillet-export run as a process: exact files for small pictures of every type, the usage errors,
// failures that leave an existing file alone, and the progress bars on a terminal.

#include "ExporterProcess.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <cmath>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

QByteArray record(int x, int y, int value) {
    QByteArray bytes(24, '\0');
    qToLittleEndian<qint32>(x, bytes.data());
    qToLittleEndian<qint32>(y, bytes.data() + 4);
    qToLittleEndian<qint32>(value, bytes.data() + 8);
    return bytes;
}

// The file the export must write, worked out from the decoded pixels alone: grey levels, the grid of
// units 1..W x 1..H (at half resolution unit (u, v) is grey pixel (2u, 2v) and W, H are half the
// size rounded ties-to-even), white outside the picture, strict comparison with the mean.
QByteArray expectedFile(const QImage& decoded, bool half, bool white, int threshold) {
    const QImage picture = decoded.convertToFormat(QImage::Format_RGB32);
    const int width = picture.width();
    const int height = picture.height();
    const int step = half ? 2 : 1;
    const int columns = half ? static_cast<int>(std::nearbyint(width / 2.0)) : width;
    const int rows = half ? static_cast<int>(std::nearbyint(height / 2.0)) : height;
    QByteArray file = record(width, height, 0);
    for (int x = 1; x <= columns; ++x) {
        for (int y = 1; y <= rows; ++y) {
            int level = 255;
            if (step * x < width && step * y < height) {
                const QRgb pixel = picture.pixel(step * x, step * y);
                level = (qRed(pixel) + qGreen(pixel) + qBlue(pixel) + 1) / 3;
            }
            const double mean = (level + level + level) / 3.0;
            if (white ? mean > threshold : mean < threshold) {
                file += record(x, y, level);
            }
        }
    }
    return file;
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

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
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
        QVERIFY(QFile::copy(QUILLET_CLI_TEST_DATA "/palette.gif", path("picture.gif")));
        writeFile(path("notes.png"), "not a picture at all");
        for (const QString type : {"png", "bmp", "gif", "jpg"}) {
            const QByteArray whole = contents(path("picture." + type));
            writeFile(path("cut." + type), whole.left(whole.size() / 2));
        }
    }

    void writesExactlyTheRecordsOfTheDecodedPixels_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<bool>("half");
        QTest::addColumn<bool>("white");
        QTest::addColumn<int>("threshold");
        for (const char* type : {"png", "bmp", "gif", "ico", "jpg"}) {
            for (const bool half : {false, true}) {
                for (const bool white : {false, true}) {
                    for (const int threshold : {0, 122, 255}) {
                        QTest::addRow("%s %s %s %d", type, half ? "half" : "full", white ? "white" : "black",
                                      threshold)
                            << type << half << white << threshold;
                    }
                }
            }
        }
    }
    void writesExactlyTheRecordsOfTheDecodedPixels() {
        QFETCH(QString, type);
        QFETCH(bool, half);
        QFETCH(bool, white);
        QFETCH(int, threshold);
        const QString picture = path("picture." + type);
        const QString out = path("points.txt");
        writeFile(out, QByteArray(5000, 'x')); // a longer old file keeps no stale bytes
        QStringList arguments{"--threshold", QString::number(threshold), picture, out};
        if (half) {
            arguments.prepend("--half");
        }
        if (white) {
            arguments.prepend("--white");
        }
        const ExporterRun run = runExporter(arguments);
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.exitCode, 0);
        const QByteArray expected = expectedFile(QImage(picture), half, white, threshold);
        QCOMPARE(contents(out), expected);
        QCOMPARE(run.out,
                 QString("%1 points written to %2\n").arg(expected.size() / 24 - 1).arg(out).toUtf8());
    }

    void blackDataAtThresholdOneHundredTwentyTwoIsTheDefault() {
        const QString out = path("default.txt");
        QCOMPARE(runExporter({path("picture.png"), out}).exitCode, 0);
        QCOMPARE(contents(out), expectedFile(QImage(path("picture.png")), false, false, 122));
    }

    void helpAndVersionPrintAndSucceed() {
        const ExporterRun help = runExporter({"--help"});
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.startsWith(
            "Usage: quillet-export [--half] [--white] [--threshold N] PICTURE POINTFILE\n"));
        QVERIFY(help.out.count('\n') <= 8);
        const ExporterRun version = runExporter({"--version"});
        QCOMPARE(version.exitCode, 0);
        QCOMPARE(version.out, QByteArray("quillet-export " QUILLET_VERSION "\n"));
        QCOMPARE(help.err + version.err, QByteArray());
    }

    void usageErrorsExitWithTwoAndOneLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("named");
        QTest::newRow("unknown option") << QStringList{"--fast", "a.png", "b.txt"} << "fast";
        QTest::newRow("threshold above 255") << QStringList{"--threshold", "256", "a.png", "b.txt"} << "256";
        QTest::newRow("negative threshold") << QStringList{"--threshold=-1", "a.png", "b.txt"} << "-1";
        QTest::newRow("fractional threshold")
            << QStringList{"--threshold", "12.5", "a.png", "b.txt"} << "12.5";
        QTest::newRow("threshold in words") << QStringList{"--threshold", "grey", "a.png", "b.txt"} << "grey";
        QTest::newRow("threshold without value")
            << QStringList{"a.png", "b.txt", "--threshold"} << "threshold";
        QTest::newRow("no arguments") << QStringList{} << "PICTURE";
        QTest::newRow("no point file") << QStringList{"a.png"} << "POINTFILE";
        QTest::newRow("extra argument") << QStringList{"a.png", "b.txt", "c.txt"} << "c.txt";
    }
    void usageErrorsExitWithTwoAndOneLine() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, named);
        const ExporterRun run = runExporter(arguments);
        QCOMPARE(run.exitCode, 2);
        QCOMPARE(run.out, QByteArray());
        QCOMPARE(run.err.count('\n'), 1);
        QVERIFY2(run.err.endsWith('\n') && run.err.contains(named.toUtf8()), run.err.constData());
    }

    void failuresExitWithOneAndLeaveTheOldFile_data() {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QString>("named");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing picture") << "absent.png"
                                         << "old.txt"
                                         << "absent.png"
                                         << "does not exist";
        QTest::newRow("not a picture") << "notes.png"
                                       << "old.txt"
                                       << "notes.png"
                                       << "not a picture";
        QTest::newRow("cut png") << "cut.png"
                                 << "old.txt"
                                 << "cut.png"
                                 << "cannot be decoded";
        QTest::newRow("cut jpg") << "cut.jpg"
                                 << "old.txt"
                                 << "cut.jpg"
                                 << "cut short";
        QTest::newRow("cut bmp") << "cut.bmp"
                                 << "old.txt"
                                 << "cut.bmp"
                                 << "cut short";
        QTest::newRow("cut gif") << "cut.gif"
                                 << "old.txt"
                                 << "cut.gif"
                                 << "cut short";
        QTest::newRow("missing folder") << "picture.png"
                                        << "absent/old.txt"
                                        << "absent/old.txt"
                                        << "folder does not exist";
        QTest::newRow("folder as the file") << "picture.png"
                                            << "folder"
                                            << "folder"
                                            << "it is a folder";
        QTest::newRow("read-only file") << "picture.png"
                                        << "old.txt"
                                        << "old.txt"
                                        << "read-only";
        QTest::newRow("the picture itself") << "picture.png"
                                            << "picture.png"
                                            << "picture.png"
                                            << "picture being read";
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
        if (QByteArray(QTest::currentDataTag()) == "read-only file") {
            QFile::setPermissions(work.filePath("old.txt"), QFileDevice::ReadOwner); // refused even as root
        }
        const QStringList before = filesIn(work.path());
        const QString picturePath = work.filePath(picture);
        const QByteArray pictureBefore = contents(picturePath);

        const ExporterRun run = runExporter({work.filePath(picture), work.filePath(destination)});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.out, QByteArray());
        QCOMPARE(run.err.count('\n'), 1);
        QVERIFY2(run.err.contains(work.filePath(named).toUtf8()) && run.err.contains(reason.toUtf8()),
                 run.err.constData());
        QCOMPARE(contents(work.filePath("old.txt")), QByteArray("old"));
        QCOMPARE(contents(picturePath), pictureBefore);
        QCOMPARE(filesIn(work.path()), before);
    }

    void aTerminalShowsABarForEachStage() {
        int terminal = -1;
        int child = -1;
        QCOMPARE(openpty(&terminal, &child, nullptr, nullptr, nullptr), 0);
        termios settings{};
        tcgetattr(child, &settings);
        settings.c_oflag &= ~OPOST; // line ends as written
        tcsetattr(child, TCSANOW, &settings);
        const ExporterRun run = runExporter({"--half", path("picture.bmp"), path("bars.txt")},
                                            [child] { dup2(child, STDERR_FILENO); });
        ::close(child);
        QByteArray shown;
        char chunk[4096];
        for (ssize_t length; (length = ::read(terminal, chunk, sizeof chunk)) > 0;) {
            shown.append(chunk, length); // ends when the program's end has closed the terminal
        }
        ::close(terminal);
        QCOMPARE(run.exitCode, 0);

        // Picture 6 pixels wide: grey columns 0..6, half columns 0, 2, 4, export columns 1..3 of 3.
        const auto bar = [](const char* stage, int percent) {
            const int filled = percent * 40 / 100;
            return "\r" + QByteArray(stage).leftJustified(7, ' ') + "[" + QByteArray(filled, '#') +
                   QByteArray(40 - filled, '.') + "] " + QByteArray::number(percent).rightJustified(3, ' ') +
                   "%";
        };
        QByteArray expected;
        for (const int percent : {0, 16, 33, 50, 66, 83, 100}) {
            expected += bar("grey", percent);
        }
        expected += "\n" + bar("half", 0) + bar("half", 33) + bar("half", 66) + bar("half", 100) + "\n";
        expected += bar("export", 0) + bar("export", 33) + bar("export", 66) + bar("export", 100) + "\n";
        QCOMPARE(shown, expected);
        QCOMPARE(run.out, QString("%1 points written to %2\n")
                              .arg(contents(path("bars.txt")).size() / 24 - 1)
                              .arg(path("bars.txt"))
                              .toUtf8());
    }
};

QTEST_GUILESS_MAIN(ExportCommandTest)
#include "ExportCommandTest.moc"
