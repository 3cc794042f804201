// quillet-export run as a process without a display: what the command itself owns (its options, answers,
// exit statuses, messages, names, signals, refusing to write over the picture) and, once each, the rules
// of the layers below it (decoding, the staged file, a hard-linked file on a full disk), which their own
// tests prove in full.

#include "PointFiles.h"
#include "TestFiles.h"
#include "TestPictures.h"

#include <QtTest>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// The program's arguments: the system's bytes, which text cannot always spell.
using Arguments = QList<QByteArray>;

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Starts quillet-export through the shell with `prefix` in front of the program (a redirection, prlimit,
// unshare); the names go to it byte for byte (a trailing newline kept by the x). English reasons from the
// system.
void startExporter(QProcess& process, const QList<QByteArray>& arguments, const QByteArray& prefix = {}) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(display);
    }
    environment.insert("LC_ALL", "C.UTF-8");
    process.setProcessEnvironment(environment);
    QByteArray script;
    QByteArray call = "exec " + prefix + " '" QUILLET_EXPORT_PROGRAM "'";
    for (qsizetype index = 0; index < arguments.size(); ++index) {
        const QByteArray name = "a" + QByteArray::number(index);
        script += name + "=$(printf '";
        for (const char byte : arguments[index]) { // in octal: any byte, also one that is not text
            script += QByteArray::number(static_cast<uchar>(byte), 8).rightJustified(3, '0').prepend('\\');
        }
        script += "x'); " + name + "=${" + name + "%x}\n";
        call += " \"$" + name + "\"";
    }
    process.start("/bin/sh", {"-c", QString::fromUtf8(script + call)});
}

Run runExporter(const QList<QByteArray>& arguments, const QByteArray& prefix = {}) {
    QProcess process;
    startExporter(process, arguments, prefix);
    const bool finished = process.waitForFinished(120'000) && process.exitStatus() == QProcess::NormalExit;
    return {finished ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

// Another name for the picture's own file, for the command alone: its folder bound onto the destination's.
constexpr const char* BindMounted =
    "unshare -m sh -c 'mount --bind \"${1%/*}\" \"${2%/*}\" && shift 2 && exec \"$@\"' sh \"$a0\" \"$a1\"";
// fs.protected_symlinks on for the command alone: the file "on" (holding 1) bound over the setting.
constexpr const char* LinksProtected =
    "unshare -m sh -c 'mount --bind on /proc/sys/fs/protected_symlinks && exec \"$@\"' sh";

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
        QVERIFY(QDir::setCurrent(folder.path()));
        QVERIFY(variedImage(7, 5).save(path("picture.png")));
        QVERIFY(QFile::link("picture.png", path("link.png")) && QDir(folder.path()).mkdir("mnt"));
        // A png that says 12000 x 12000 (576 MB to decode) and holds almost nothing.
        writeFile(path("huge.png"), "\x89PNG\r\n\x1a\n" +
                                        pngChunk("IHDR", QByteArray::fromHex("00002ee000002ee008020000"
                                                                             "00")) +
                                        pngChunk("IDAT", QByteArray::fromHex("789c")) + pngChunk("IEND", {}));
        QImage large(5000, 5000, QImage::Format_RGB32); // 100 MB in memory, little on disk
        large.fill(qRgb(200, 90, 30));
        QVERIFY(large.save(path("large.png")));
        if (geteuid() == 0) { // another user's link in a sticky shared folder
            writeFile(path("on"), "1\n");
            QVERIFY(QDir(folder.path()).mkdir("sticky") && chmod("sticky", 01777) == 0);
            QVERIFY(symlink("../linked.txt", "sticky/out.txt") == 0 &&
                    lchown("sticky/out.txt", 65534, 65534) == 0);
        }
    }

    // Run in the folder of the picture (with a link to it and an empty folder "mnt" beside it). A failure
    // gives one line naming the path and the reason of the call that failed, and leaves every file as it
    // was; an accepted threshold goes on to the missing picture.
    void theCommandLineIsAnsweredOrRefused_data() {
        QTest::addColumn<Arguments>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("shown");     // on standard output when 0, else in the one error line
        QTest::addColumn<QByteArray>("prefix"); // in front of the program: a redirection, a limit, a mount
        const auto row = [](const char* tag, const Arguments& arguments, int exitCode, const QString& shown,
                            const char* prefix = "") {
            QTest::newRow(tag) << arguments << exitCode << shown << QByteArray(prefix);
        };
        const Arguments files{"a.png", "b.txt"};
        row("help", {"--help"}, 0,
            "Usage: quillet-export [--half] [--white] [--threshold N] [--format records|dxf|svg|csv]\n");
        row("version", {"--version"}, 0, "quillet-export " QUILLET_VERSION "\n");
        row("unknown option", Arguments{"--fast"} + files, 2, "'fast'");
        row("threshold above 255", Arguments{"--threshold", "256"} + files, 2, "'256'");
        row("negative threshold", Arguments{"--threshold=-1"} + files, 2, "'-1'");
        row("threshold without value", files + Arguments{"--threshold"}, 2, "'--threshold'");
        // Plain decimal digits, leading zeros allowed.
        for (const char* accepted : {"0", "000", "0005", "00255", "255"}) {
            QTest::addRow("threshold %s", accepted)
                << Arguments{"--threshold", accepted} + files << 1 << "a.png" << QByteArray();
        }
        for (const char* refused : {"12\n", " 5", "+5", "5 ", "", "1e2", "0x10", "\xd9\xa3"}) {
            QTest::addRow("threshold '%s'", refused)
                << Arguments{"--threshold", refused} + files << 2 << "the threshold must be a whole number"
                << QByteArray();
        }
        row("unknown format", Arguments{"--format", "pdf"} + files, 2,
            "the format must be records, dxf, svg or csv, not 'pdf'");
        const QByteArray huge = "1" + QByteArray(308, '0'), tiny = "0." + QByteArray(310, '0') + "1";
        for (const QByteArray& refused : {QByteArray("0"), QByteArray("-1"), QByteArray("abc"),
                                          QByteArray("1e2"), QByteArray("2,5"), QByteArray(), huge, tiny}) {
            QTest::addRow("pixel size '%.12s'", refused.constData())
                << Arguments{"--pixel-size", refused} + files << 2
                << "must be a decimal number from 0.000001 to 1000000, not" << QByteArray();
            QTest::addRow("dpi '%.12s'", refused.constData())
                << Arguments{"--dpi", refused} + files << 2
                << "must be a decimal number from 0.0000254 to 25400000, not" << QByteArray();
        }
        // A pixel's side from 1e-6 mm to 1e6 mm, at both ends, given as itself or as a resolution.
        for (const auto& [option, in, out] : {std::tuple{"--pixel-size", "0.000001", "0.00000099"},
                                              {"--pixel-size", "1000000", "1000000.01"},
                                              {"--dpi", "25400000", "25400001"},
                                              {"--dpi", "0.0000254", "0.0000253"}}) {
            QTest::addRow("%s %s", option, in)
                << Arguments{option, in, "--format", "DXF"} + files << 1 << "a.png" << QByteArray();
            QTest::addRow("%s %s", option, out) << Arguments{option, out, "--format", "svg"} + files << 2
                                                << QString("not '%1'").arg(out) << QByteArray();
        }
        // The shapes are the drawings' choice, the speck filter is not the point-data file's.
        row("shapes for csv", {"--shapes", "outlines", "a.png", "b.csv"}, 2,
            "--shapes is for the dxf and svg drawings, not for csv output");
        row("shapes for the point-data file", Arguments{"--shapes", "squares"} + files, 2, "not for records");
        row("shapes for csv by --format", {"--format", "csv", "--shapes=squares", "a.png", "b.svg"}, 2,
            "not for csv");
        row("unknown shapes", {"--shapes", "solid", "a.png", "b.dxf"}, 2,
            "the shapes must be outlines, squares or smooth, not 'solid'");
        row("minimum area for the point-data file", Arguments{"--min-area", "4"} + files, 2,
            "--min-area is for dxf, svg and csv output, not for records");
        for (const char* refused : {"", "-1", "+5", " 5", "5 ", "1e2", "0x10", "2.5"}) {
            QTest::addRow("minimum area '%s'", refused)
                << Arguments{"--min-area", refused, "a.png", "b.svg"} << 2
                << "the minimum area must be a whole number of pixels" << QByteArray();
        }
        row("accepted shapes go on to the picture",
            {"--shapes", "outlines", "--min-area", "0", "a.png", "b.svg"}, 1, "a.png");
        row("any count of digits goes on to the picture",
            {"--min-area=0099999999999999999999999", "--shapes", "squares", "a.png", "b.DXF"}, 1, "a.png");
        row("pixel size and dpi", Arguments{"--dpi", "300", "--pixel-size", "0.1"} + files, 2, "not both");
        row("accepted sizes go on to the picture", Arguments{"--dpi", "72.5", "--format", "svg"} + files, 1,
            "a.png");
        row("no arguments", {}, 2, "missing PICTURE and POINTFILE");
        row("no point file", {"a.png"}, 2, "missing POINTFILE");
        row("extra argument", files + Arguments{"c.txt"}, 2, "'c.txt'");
        // A final line that cannot be written (a full disk behind standard output) is a failure; with "-"
        // it goes to standard error, and then nothing at all can be shown.
        row("standard output on /dev/full", {"picture.png", "/dev/null"}, 1,
            "standard output: No space left on device", ">/dev/full");
        row("- with standard error on /dev/full", {"picture.png", "-"}, 1, "", ">/dev/null 2>/dev/full");
        row("missing folder", {"picture.png", "absent/old.txt"}, 1,
            "\"absent/old.txt\": the folder does not exist");
        row("control characters in a name", {"picture.png", "new\nline\x1b/old.txt"}, 1,
            "\"new\\x0Aline\\x1B/old.txt\": the folder does not exist");
        // The same file by any name is refused.
        row("the picture itself", {"picture.png", "picture.png"}, 1,
            "\"picture.png\": it is the picture being read");
        row("the picture by a link", {"picture.png", "link.png"}, 1,
            "\"link.png\": it is the picture being read");
#ifndef QUILLET_NO_ADDRESS_SPACE_LIMIT
        row("not enough memory", {"huge.png", "/dev/null"}, 1,
            QStringLiteral("not enough memory to decode a 12000 \u00D7 12000 picture"),
            "prlimit --as=409600000");
#endif
        if (geteuid() == 0 && QProcess::execute("unshare", {"-m", "true"}) == 0) {
            row("the picture by a bind mount", {"./picture.png", "mnt/picture.png"}, 1,
                "\"mnt/picture.png\": it is the picture being read", BindMounted);
            row("another user's link in a sticky shared folder, links protected",
                {"picture.png", "sticky/out.txt"}, 1, "\"sticky/out.txt\": ", LinksProtected);
        }
    }
    void theCommandLineIsAnsweredOrRefused() {
        QFETCH(Arguments, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, shown);
        QFETCH(QByteArray, prefix);
        const QStringList before = filesIn(folder.path());
        const QByteArray picture = contents(path("picture.png"));
        const Run run = runExporter(arguments, prefix);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2((exitCode == 0 ? run.out : run.err).contains(shown.toUtf8()),
                 (run.out + run.err).constData());
        if (shown.isEmpty()) { // both streams go where nothing is read back
            QVERIFY(run.out.isEmpty() && run.err.isEmpty());
        } else {
            QVERIFY(exitCode == 0 ? run.err.isEmpty() && run.out.count('\n') <= 16
                                  : run.out.isEmpty() && run.err.count('\n') == 1 && run.err.endsWith('\n'));
        }
        QCOMPARE(filesIn(folder.path()), before);
        QCOMPARE(contents(path("picture.png")), picture);
    }

    // The options reach the export: none, then each on its own (130: a level the pixels straddle). The names
    // are the system's bytes, passed on unchanged and shown with other bytes escaped. "-" and /dev/stdout
    // are standard output (a pipe, or a file the shell opened), and then the final line goes to standard
    // error.
    void writesExactlyTheRecordsToTheNamedFileOrStandardOutput_data() {
        QTest::addColumn<Arguments>("options");
        QTest::addColumn<QByteArray>("pointFile"); // empty: a file in the work folder
        QTest::addColumn<bool>("outputToAFile");   // the shell's > for standard output
        QTest::newRow("defaults") << Arguments{} << QByteArray() << false;
        QTest::newRow("half, threshold 130")
            << Arguments{"--half", "--threshold", "130"} << QByteArray() << false;
        QTest::newRow("white") << Arguments{"--white"} << QByteArray() << false;
        QTest::newRow("- as the point file") << Arguments{} << QByteArray("-") << false;
        QTest::newRow("/dev/stdout into a pipe") << Arguments{} << QByteArray("/dev/stdout") << false;
        QTest::newRow("/dev/stdout into a file") << Arguments{} << QByteArray("/dev/stdout") << true;
    }
    void writesExactlyTheRecordsToTheNamedFileOrStandardOutput() {
        QFETCH(Arguments, options);
        QFETCH(QByteArray, pointFile);
        QFETCH(bool, outputToAFile);
        QTemporaryDir work;
        const QByteArray at = QFile::encodeName(work.path()) + '/';
        QVERIFY(std::filesystem::copy_file(QFile::encodeName(path("picture.png")).toStdString(),
                                           (at + "pic\xff\xfe.png").toStdString()));
        const bool toStandardOutput = !pointFile.isEmpty();
        const Run run = runExporter(
            options + Arguments{at + "pic\xff\xfe.png", toStandardOutput ? pointFile : at + "out\xe9.pts"},
            outputToAFile ? ">'" + at + "output.pts'" : QByteArray());
        QCOMPARE(run.exitCode, 0);
        const qsizetype threshold = options.indexOf("--threshold");
        const QByteArray expected = expectedPointFile(QImage(path("picture.png")), options.contains("--half"),
                                                      options.contains("--white"),
                                                      threshold < 0 ? 122 : options[threshold + 1].toInt());
        const QByteArray line = QByteArray::number(expected.size() / 24 - 1) + " points written to " +
                                (!toStandardOutput  ? at + "out\\xE9.pts"
                                 : pointFile == "-" ? QByteArray("standard output")
                                                    : pointFile) +
                                "\n";
        std::ifstream written((at + (outputToAFile ? "output.pts" : "out\xe9.pts")).constData(),
                              std::ios::binary); // a name QFile cannot spell
        const QByteArray file = QByteArray::fromStdString({std::istreambuf_iterator<char>(written), {}});
        QCOMPARE(toStandardOutput && !outputToAFile ? run.out : file, expected);
        QCOMPARE(toStandardOutput ? run.err : run.out, line);
        QVERIFY(toStandardOutput || run.err.isEmpty());
        std::filesystem::remove_all(at.constData()); // names QTemporaryDir cannot spell
    }

    // The final line names a drawing's shapes: with outlines the 8-connected shapes and their outlines,
    // with squares the filled rectangles; points are those written, after the speck filter. The picture: a
    // ring of 8 pixels, two pixels meeting at a corner and a single one, 7 x 4 pixels of 1 mm, as given or
    // as its file states (1000 pixels per metre).
    // The picture states its resolution in pixels per metre, across and down, as its type can.
    void theFinalLineCountsWhatWasWritten_data() {
        QTest::addColumn<Arguments>("options");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("line"); // %1 the file
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<QPoint>("perMetre");
        QTest::addColumn<QByteArray>("holds"); // in the file written
        QTest::addColumn<QString>("note");     // on standard error, %1 the picture
        const auto row = [](const char* tag, const Arguments& options, const char* file, const char* line,
                            const char* type = "png", QPoint perMetre = {1000, 1000}, const char* holds = "",
                            const char* note = "") {
            QTest::newRow(tag) << options << file << line << QByteArray(type) << perMetre << QByteArray(holds)
                               << note;
        };
        row("outlines", {"--shapes", "outlines", "--min-area", "2", "--pixel-size", "1"}, "out.svg",
            "10 points in 2 shapes (3 outlines), a drawing of 7.00 x 4.00 mm, written to %1\n");
        row("outlines by default", {"--min-area", "2", "--pixel-size", "1"}, "out.dxf",
            "10 points in 2 shapes (3 outlines), a drawing of 7.00 x 4.00 mm, written to %1\n");
        row("smooth", {"--shapes", "smooth", "--min-area", "2", "--pixel-size", "1"}, "out.dxf",
            "10 points in 2 shapes (3 outlines), a drawing of 7.00 x 4.00 mm, written to %1\n");
        row("squares", {"--shapes", "squares", "--min-area", "2", "--pixel-size", "1"}, "out.dxf",
            "10 points in 6 filled shapes, a drawing of 7.00 x 4.00 mm, written to %1\n");
        row("squares at the stated resolution", {"--shapes", "squares", "--min-area", "2"}, "out.dxf",
            "10 points in 6 filled shapes, a drawing of 7.00 x 4.00 mm, written to %1\n");
        row("csv", {"--min-area", "2", "--pixel-size", "1"}, "out.csv", "10 points written to %1\n");
        // 11811 per metre is 300 dpi: a pixel of 25.4 / 300 mm exactly.
        row("300 dpi as a png states it", {"--shapes", "squares"}, "out.svg",
            "11 points in 7 filled shapes, a drawing of 0.59 x 0.34 mm, written to %1\n", "png",
            {11811, 11811},
            R"(width="0.5926666666666667mm" height="0.33866666666666667mm" viewBox="0 0 7 4">)");
        // 25.4 dpi across, 12.7 down: pixels of 1 x 2 mm.
        row("png across not down", {"--shapes", "squares"}, "out.svg",
            "11 points in 7 filled shapes, a drawing of 7.00 x 8.00 mm, written to %1\n", "png", {1000, 500},
            R"(width="7mm" height="8mm" viewBox="0 0 7 4" preserveAspectRatio="none">)");
        row("bmp across not down", {}, "out.dxf",
            "11 points in 3 shapes (4 outlines), a drawing of 7.00 x 8.00 mm, written to %1\n", "bmp",
            {1000, 500}, "$EXTMAX\n 10\n7\n 20\n8\n");
        // Qt's JFIF density is in dots per centimetre: 10 across, 5 down.
        row("jpg across not down", {}, "out.dxf",
            "11 points in 3 shapes (4 outlines), a drawing of 7.00 x 8.00 mm, written to %1\n", "jpg",
            {1000, 500}, "$EXTMAX\n 10\n7\n 20\n8\n");
        row("a stated resolution out of range", {}, "out.svg",
            "11 points in 3 shapes (4 outlines), a drawing of 1.85 x 1.06 mm, written to %1\n", "png",
            {INT_MAX, INT_MAX}, R"(width="1.8520833333333333mm" height="1.0583333333333333mm")",
            "quillet-export: note: \"%1\" states 54546084.63 dpi, outside 0.0000254 to 25400000; the drawing "
            "takes 96 dpi\n");
    }
    void theFinalLineCountsWhatWasWritten() {
        QFETCH(Arguments, options);
        QFETCH(QString, file);
        QFETCH(QString, line);
        QFETCH(QByteArray, type);
        QFETCH(QPoint, perMetre);
        QFETCH(QByteArray, holds);
        QFETCH(QString, note);
        const QStringList drawn{"###...#", "#.#.#..", "###..#.", "......."};
        QImage picture(7, 4, QImage::Format_RGB32);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 7; ++x) {
                picture.setPixel(x, y, drawn[y][x] == u'#' ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
            }
        }
        picture.setDotsPerMeterX(perMetre.x());
        picture.setDotsPerMeterY(perMetre.y());
        QTemporaryDir work;
        const QString shapes = work.filePath("shapes." + type);
        QVERIFY(picture.save(shapes, type.constData(), 100));
        const Run run = runExporter(
            options + Arguments{QFile::encodeName(shapes), QFile::encodeName(work.filePath(file))});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(QString::fromUtf8(run.out), line.arg(work.filePath(file)));
        QCOMPARE(QString::fromUtf8(run.err), note.isEmpty() ? note : note.arg(shapes));
        const QByteArray written = contents(work.filePath(file));
        QVERIFY2(!written.isEmpty() && written.contains(holds), written.left(400).constData());
    }

    // On a terminal each stage draws its bar again and again on one line, and leaves it full.
    void theProgressBarsEndFullOnATerminal() {
        const int terminal = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        QVERIFY(terminal >= 0 && grantpt(terminal) == 0 && unlockpt(terminal) == 0);
        QProcess process;
        startExporter(process, {"--half", "picture.png", "bars.txt"}, QByteArray("2>") + ptsname(terminal));
        QByteArray shown;
        const auto readTerminal = [&] { // while it runs: a full terminal would stop the command
            char bytes[4096];
            for (ssize_t got; (got = read(terminal, bytes, sizeof bytes)) > 0;) {
                shown.append(bytes, got);
            }
        };
        while (!process.waitForFinished(10)) {
            readTerminal();
        }
        readTerminal();
        close(terminal);
        QCOMPARE(process.exitCode(), 0);
        QStringList lastDrawn;
        for (const QByteArray& line : shown.split('\n')) {
            const QByteArray drawn = line.endsWith('\r') ? line.chopped(1) : line; // the terminal's \r\n
            if (!drawn.isEmpty()) {
                lastDrawn << QString::fromUtf8(drawn.mid(drawn.lastIndexOf('\r') + 1));
            }
        }
        const QString full = "[" + QString(40, u'#') + "] 100%";
        QCOMPARE(lastDrawn, (QStringList{"grey   " + full, "half   " + full, "export " + full}));
        QFile::remove(path("bars.txt"));
    }

    // An export ended by a signal leaves no file in the folder and the old file as it was; a caught
    // signal gives one line and status 128 + the signal, a file-size limit too. A FIFO as the point file
    // waits for its reader, as shell redirection does, until a signal ends the wait.
    void signalsLeaveNothingBehind_data() {
        QTest::addColumn<int>("signal");
        QTest::addColumn<QByteArray>("limit"); // in front of the program
        QTest::addColumn<QByteArray>("pointFile");
        for (const int signal : {SIGKILL, SIGHUP, SIGINT, SIGTERM, SIGQUIT, SIGPIPE, SIGUSR1}) {
            QTest::addRow("%s", sigabbrev_np(signal)) << signal << QByteArray() << QByteArray("old.pts");
        }
        QTest::newRow("XFSZ under a file-size limit")
            << int(SIGXFSZ) << QByteArray("prlimit --fsize=8192") << QByteArray("old.pts");
        QTest::newRow("TERM while waiting for a FIFO's reader")
            << int(SIGTERM) << QByteArray() << QByteArray("fifo.pts");
    }
    void signalsLeaveNothingBehind() {
        QFETCH(int, signal);
        QFETCH(QByteArray, limit);
        QFETCH(QByteArray, pointFile);
        QTemporaryDir work;
        writeFile(work.filePath("old.pts"), "old");
        QCOMPARE(mkfifo(QFile::encodeName(work.filePath("fifo.pts")).constData(), 0600), 0);
        const QStringList before = filesIn(work.path()); // the FIFO not among them: nothing may replace it
        QProcess process;
        // Every point of the large picture under the file-size limit: far past it.
        startExporter(process,
                      {"--half", "--threshold", limit.isEmpty() ? "0" : "255",
                       QFile::encodeName(path("large.png")), QFile::encodeName(work.filePath(pointFile))},
                      limit);
        QVERIFY(process.waitForStarted());
        const bool fifo = pointFile == "fifo.pts";
        if (limit.isEmpty()) {
            // Under way once the program holds a file in the point file's folder, or waits for the
            // FIFO's reader. Looked at often: the export goes on meanwhile.
            const QString proc = QStringLiteral("/proc/%1/").arg(process.processId());
            const auto underWay = [&] {
                if (fifo) {
                    QFile waitingIn(proc + "wchan");
                    return waitingIn.open(QIODevice::ReadOnly) && waitingIn.readAll() == "wait_for_partner";
                }
                const QFileInfoList opened = QDir(proc + "fd").entryInfoList(QDir::AllEntries | QDir::System);
                return std::any_of(opened.begin(), opened.end(), [&](const QFileInfo& fd) {
                    return fd.symLinkTarget().startsWith(work.path() + '/');
                });
            };
            const QDeadlineTimer deadline(60'000);
            while (!underWay() && !deadline.hasExpired() && process.state() == QProcess::Running) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            if (fifo && process.state() == QProcess::Running && !underWay()) { // QProcess ends it
                QSKIP("the system does not show where the program waits");
            }
            QVERIFY(underWay());
            kill(pid_t(process.processId()), signal);
        }
        QVERIFY(process.waitForFinished(120'000));
        QCOMPARE(filesIn(work.path()), before);
        QCOMPARE(contents(work.filePath("old.pts")), QByteArray("old"));
        if (signal != SIGKILL) {
            const QByteArray err = process.readAllStandardError();
            QCOMPARE(err.count('\n'), 1);
            QVERIFY2(err.contains(QByteArray("stopped by signal ") + QByteArray::number(signal)),
                     err.constData());
            QVERIFY(process.exitStatus() == QProcess::CrashExit || process.exitCode() == 128 + signal);
        }
    }

    // A signal after the last column, delivered by a preloaded hook at a chosen call: before the file is
    // put in place it keeps the old file, after (the rename, or the in-place copy of a hard-linked file) it
    // is told with the file written. Either way one line and status 128 + the signal, never 0.
    void aSignalAtTheCommitSaysWhetherTheFileWasWritten_data() {
        QTest::addColumn<QByteArray>("call");
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("hardLinked");
        QTest::addColumn<bool>("written");
        QTest::newRow("TERM during the sync before the rename")
            << QByteArray("fdatasync") << int(SIGTERM) << false << false;
        QTest::newRow("INT after the rename") << QByteArray("renameat") << int(SIGINT) << false << true;
        QTest::newRow("HUP during the sync before an in-place copy")
            << QByteArray("fdatasync") << int(SIGHUP) << true << false;
        QTest::newRow("USR1 during the in-place copy")
            << QByteArray("fallocate") << int(SIGUSR1) << true << true;
    }
    void aSignalAtTheCommitSaysWhetherTheFileWasWritten() {
        QFETCH(QByteArray, call);
        QFETCH(int, signal);
        QFETCH(bool, hardLinked);
        QFETCH(bool, written);
        QTemporaryDir work;
        writeFile(work.filePath("old.pts"), "old");
        if (hardLinked) {
            QCOMPARE(link(QFile::encodeName(work.filePath("old.pts")).constData(),
                          QFile::encodeName(work.filePath("other.pts")).constData()),
                     0);
        }
        const QStringList before = filesIn(work.path());
        QProcess process;
        startExporter(process,
                      {QFile::encodeName(path("picture.png")), QFile::encodeName(work.filePath("old.pts"))},
                      "env LD_PRELOAD='" QUILLET_SIGNAL_AT_CALL "' QUILLET_TEST_SIGNAL_AT=" + call +
                          " QUILLET_TEST_SIGNAL=" + QByteArray::number(signal));
        QVERIFY(process.waitForFinished(120'000));
        // Ended by the signal itself, or by 128 + the signal where that would dump a core.
        QCOMPARE(process.exitStatus() == QProcess::CrashExit ? 128 + process.exitCode() : process.exitCode(),
                 128 + signal);
        const QByteArray err = process.readAllStandardError();
        QVERIFY2(err.count('\n') == 1 && err.contains("stopped by signal " + QByteArray::number(signal)) &&
                     err.contains(written ? "\" was written" : "\" was not written"),
                 err.constData());
        QVERIFY(process.readAllStandardOutput().isEmpty());
        const QByteArray expected =
            written ? expectedPointFile(QImage(path("picture.png")), false, false, 122) : "old";
        QCOMPARE(contents(work.filePath("old.pts")), expected);
        if (hardLinked) {
            QCOMPARE(contents(work.filePath("other.pts")), expected);
        }
        QCOMPARE(filesIn(work.path()), before);
    }

    // On a disk with room for the old file and the new one but not for a second copy (a small tmpfs in a
    // mount namespace of the command's own), a hard-linked file is refused before its first byte changes:
    // every name keeps the old content.
    void aFullDiskLeavesAHardLinkedFileAsItWas() {
        QTemporaryDir work;
        const QString disk = work.filePath("disk");
        QVERIFY(QDir(work.path()).mkdir("disk"));
        if (QProcess::execute("unshare", {"-m", "mount", "-t", "tmpfs", "tmpfs", disk}) != 0) {
            if (qEnvironmentVariableIsSet("CI")) {
                QFAIL("a tmpfs cannot be mounted in a mount namespace here (unshare -m, as root)");
            }
            QSKIP("a tmpfs cannot be mounted in a mount namespace here (unshare -m, as root)");
        }
        QImage grey(250, 200, QImage::Format_RGB32);
        grey.fill(qRgb(100, 100, 100));
        QVERIFY(grey.save(work.filePath("grey.png")));
        const QByteArray written = expectedPointFile(grey, false, false, 255);
        const QByteArray old = QByteArray("old!").repeated(25000);
        writeFile(work.filePath("old.pts"), old);
        // The export's temporary fits beside the old file; growing the old file to the new size does not.
        const qsizetype room = old.size() + written.size() + 128 * 1024;
        QVERIFY(room < 2 * written.size());
        const QByteArray setUp =
            "unshare -m sh -c 'cd \"$0\" && mount -t tmpfs -o size=" + QByteArray::number(room) +
            " tmpfs disk && cp old.pts disk/a.pts && ln disk/a.pts disk/b.pts || exit 99; \"$@\"; "
            "status=$?; cp disk/a.pts a.pts && cp disk/b.pts b.pts; exit $status' '" +
            QFile::encodeName(work.path()) + "'";
        const Run run = runExporter(
            {"--threshold", "255", QFile::encodeName(work.filePath("grey.png")), "disk/a.pts"}, setUp);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("\"disk/a.pts\": No space left on device"), run.err.constData());
        QCOMPARE(contents(work.filePath("a.pts")), old);
        QCOMPARE(contents(work.filePath("b.pts")), old);
    }
};

QTEST_MAIN(ExportCommandTest)
#include "ExportCommandTest.moc"
