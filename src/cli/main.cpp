// quillet-export: the road from a picture to its point-data file on the command line, without a
// display.

#include "CommandLine.h"
#include "ExportRoad.h"
#include "Interruption.h"
#include "QuietStandardError.h"
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

namespace {

// Qt's own notices (a decoder's warning about a harmless oddity of a file) would break the promise of
// a silent standard error after a good run; failures are reported by the program itself.
void ignoreMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

// Returns 0, or the errno of the write that failed (a full disk behind standard output).
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

// The one message of a run ended by a signal: the file was not written, and any temporary file an
// ending could not remove is named.
[[noreturn]] void endInterrupted(const Interruption::Raised& raised, const ExportSettings& settings) {
    QString text =
        QStringLiteral("stopped by signal %1 (%2); \"%3\" was not written")
            .arg(raised.signal)
            .arg(QString::fromLocal8Bit(strsignal(raised.signal)), pathForMessages(settings.pointFile));
    const QString leftover = StagedOutput::takeLeftover();
    if (!leftover.isEmpty()) {
        text += QStringLiteral("; ") + leftover;
    }
    printError(text);
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
    Interruption::watch();
    try {
        const ExportOutcome outcome = ExportRoad(QuietStandardError::isTerminal()).run(settings);
        const bool toStandardOutput = settings.writesToStandardOutput();
        const int error = printLine(toStandardOutput ? stderr : stdout,
                                    doneLine(outcome, formatEntry(settings.outputFormat()).drawing,
                                             toStandardOutput ? QStringLiteral("standard output")
                                                              : pathForMessages(settings.pointFile)));
        if (error != 0 && !toStandardOutput) {
            printError(QStringLiteral("Cannot write to standard output: %1").arg(qt_error_string(error)));
            return 1;
        }
        return 0;
    } catch (const RuntimeError& error) {
        // A failure that a signal caused (a wait it ended, a write past the file-size limit) is that
        // signal's.
        if (Interruption::arrived() != 0) {
            endInterrupted({Interruption::arrived()}, settings);
        }
        printError(error.text());
    } catch (const Interruption::Raised& raised) {
        endInterrupted(raised, settings);
    } catch (const std::bad_alloc&) {
        printError(QStringLiteral("Cannot export the picture \"%1\": not enough memory")
                       .arg(pathForMessages(settings.picture)));
    } catch (const std::exception& error) {
        printError(QStringLiteral("Cannot export the picture \"%1\": %2")
                       .arg(pathForMessages(settings.picture), QString::fromLocal8Bit(error.what())));
    }
    return 1;
}
