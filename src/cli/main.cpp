// quillet-export: the road from a picture to its point-data file or drawing (DXF, SVG, CSV) on the
// command line, without a display.

#include "CommandLine.h"
#include "ExportRoad.h"
#include "Interruption.h"
#include "QuietStandardError.h"
#include "runtime/FailureTexts.h"
#include "runtime/MemoryReuse.h"
#include "runtime/PathText.h"
#include "runtime/RuntimeError.h"
#include "runtime/StagedOutput.h"

#include <QCoreApplication>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Qt's own notices (a decoder's warning about a harmless oddity of a file) would break the promise of
// a silent standard error after a good run; failures are reported by the program itself.
void ignoreMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

// "N points written to FILE"; a drawing also names its shapes (and outlines) and its size.
QString doneLine(const ExportOutcome& outcome, bool drawing, const QString& file) {
    if (!drawing) {
        return QStringLiteral("%1 points written to %2").arg(outcome.points).arg(file);
    }
    const QString shapes =
        outcome.outlines
            ? QStringLiteral("%1 shapes (%2 outlines)").arg(outcome.shapes).arg(*outcome.outlines)
            : QStringLiteral("%1 filled shapes").arg(outcome.shapes);
    return QStringLiteral("%1 points in %2, a drawing of %3 x %4 mm, written to %5")
        .arg(outcome.points)
        .arg(shapes)
        .arg(outcome.drawingMillimetres.width(), 0, 'f', 2)
        .arg(outcome.drawingMillimetres.height(), 0, 'f', 2)
        .arg(file);
}

// Returns 0, or the errno of the write that failed (a full disk behind standard output).
int printLine(std::FILE* stream, const QString& text) {
    QString line = text;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    errno = 0;
    std::fputs(line.toUtf8().constData(), stream);
    std::fputc('\n', stream);
    const bool failed = std::fflush(stream) != 0 || std::ferror(stream) != 0;
    return failed ? (errno != 0 ? errno : EIO) : 0;
}

void printError(const QString& text) {
    printLine(stderr, QStringLiteral("quillet-export: ") + text);
}

// Whether the point file is this program's standard output by another name (/dev/stdout,
// /proc/self/fd/1): the final line then goes to standard error, as for "-", and not into the data. A
// device (a terminal, /dev/null) keeps no data to spoil.
bool namesStandardOutput(const QByteArray& pointFile) {
    struct stat named {};
    struct stat output {};
    return stat(pointFile.constData(), &named) == 0 && !S_ISCHR(named.st_mode) &&
           fstat(STDOUT_FILENO, &output) == 0 && named.st_dev == output.st_dev &&
           named.st_ino == output.st_ino;
}

void printError(const Failure& failure) {
    printError(englishText(failure));
}

enum class Written { No, Yes };

Reason stopReason(const ExportSettings& settings, Written written) {
    if (settings.writesToStandardOutput()) {
        return written == Written::Yes ? Reason::StoppedAfterWritingStandardOutput
                                       : Reason::StoppedBeforeWritingStandardOutput;
    }
    return written == Written::Yes ? Reason::StoppedAfterWriting : Reason::StoppedBeforeWriting;
}

// The one message of a run ended by a signal: whether the file was written (a signal after the file was
// put in place), and any temporary file an ending could not remove.
[[noreturn]] void endInterrupted(const Interruption::Raised& raised, const ExportSettings& settings,
                                 Written written) {
    Failure failure{.reason = stopReason(settings, written),
                    .name = pathForMessages(settings.pointFile),
                    .sizes = {raised.signal},
                    .detail = QString::fromLocal8Bit(strsignal(raised.signal))};
    if (std::optional<Failure> leftover = StagedOutput::takeLeftover()) {
        failure.notes.push_back(std::move(*leftover));
    }
    printError(failure);
    Interruption::endAs(raised);
}

} // namespace

int main(int argc, char* argv[]) {
    keepFreedMemoryForReuse();
    // The names as the system gave them: Qt's own list of arguments is decoded text, which loses bytes.
    QList<QByteArray> arguments;
    for (int index = 0; index < argc; ++index) {
        arguments.append(QByteArray(argv[index]));
    }
    const QCoreApplication application(argc, argv);
    qInstallMessageHandler(ignoreMessage);

    const CommandLine line = CommandLine::parse(arguments);
    switch (line.request()) {
    case CommandLine::Request::Help:
    case CommandLine::Request::Version:
        std::fputs(line.text().toUtf8().constData(), stdout);
        std::fputc('\n', stdout);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    case CommandLine::Request::UsageError:
        printLine(stderr, line.text());
        return 2;
    case CommandLine::Request::Export:
        break;
    }

    const ExportSettings& settings = line.settings();
    const bool lineToStandardError =
        settings.writesToStandardOutput() || namesStandardOutput(settings.pointFile);
    Interruption::watch();
    try {
        const ExportRoad road(QuietStandardError::isTerminal(),
                              [](const Failure& note) { printError(note); });
        const ExportOutcome outcome = road.run(settings);
        // The file is in place (or its in-place copy complete): a signal noted meanwhile is told so.
        if (const int signal = Interruption::arrived()) {
            endInterrupted({signal}, settings, Written::Yes);
        }
        std::FILE* const lineStream = lineToStandardError ? stderr : stdout;
        const int error = printLine(
            lineStream, doneLine(outcome, formatEntry(settings.outputFormat()).drawing,
                                 settings.writesToStandardOutput() ? QStringLiteral("standard output")
                                                                   : pathForMessages(settings.pointFile)));
        if (error != 0) {
            if (const int signal = Interruption::arrived()) { // a reader gone
                endInterrupted({signal}, settings, Written::Yes);
            }
            printError(Failure{.reason = lineStream == stdout ? Reason::StandardOutputUnwritable
                                                              : Reason::StandardErrorUnwritable,
                               .systemError = error});
            return 1;
        }
        return 0;
    } catch (const RuntimeError& error) {
        // A failure that a signal caused (a wait it ended, a write past the file-size limit, the file
        // kept from its place) is that signal's.
        if (Interruption::arrived() != 0) {
            endInterrupted({Interruption::arrived()}, settings, Written::No);
        }
        printError(error.text());
    } catch (const Interruption::Raised& raised) {
        endInterrupted(raised, settings, Written::No);
    } catch (const std::bad_alloc&) {
        printError(Failure{.reason = Reason::ExportNeedsMemory, .name = pathForMessages(settings.picture)});
    } catch (const std::exception& error) {
        printError(Failure{.reason = Reason::ExportFailed,
                           .name = pathForMessages(settings.picture),
                           .detail = QString::fromLocal8Bit(error.what())});
    }
    return 1;
}
