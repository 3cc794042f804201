// quillet-export: the road from a picture to its point-data file on the command line, without a
// display.

#include "CommandLine.h"
#include "ExportRoad.h"
#include "Interruption.h"
#include "QuietStandardError.h"
#include "runtime/MemoryReuse.h"
#include "runtime/RuntimeError.h"

#include <QCoreApplication>

#include <cstdio>
#include <exception>
#include <new>

namespace {

// Qt's own notices (a decoder's warning about a harmless oddity of a file) would break the promise of
// a silent standard error after a good run; failures are reported by the program itself.
void ignoreMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

void printLine(std::FILE* stream, const QString& text) {
    QString line = text;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    std::fputs(line.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

} // namespace

int main(int argc, char* argv[]) {
    keepFreedMemoryForReuse();
    const QCoreApplication application(argc, argv);
    qInstallMessageHandler(ignoreMessage);

    const CommandLine line = CommandLine::parse(QCoreApplication::arguments());
    switch (line.request()) {
    case CommandLine::Request::Help:
    case CommandLine::Request::Version:
        std::fputs(line.text().toLocal8Bit().constData(), stdout);
        std::fputc('\n', stdout);
        return 0;
    case CommandLine::Request::UsageError:
        printLine(stderr, line.text());
        return 2;
    case CommandLine::Request::Export:
        break;
    }

    const ExportSettings& settings = line.settings();
    Interruption::watch();
    try {
        const qint64 points = ExportRoad(QuietStandardError::isTerminal()).run(settings);
        printLine(stdout, QStringLiteral("%1 points written to %2").arg(points).arg(settings.pointFile));
        return 0;
    } catch (const RuntimeError& error) {
        printLine(stderr, QStringLiteral("quillet-export: ") + error.text());
    } catch (const Interruption::Raised& raised) {
        printLine(
            stderr,
            QStringLiteral("quillet-export: interrupted; \"%1\" was not written").arg(settings.pointFile));
        Interruption::endAs(raised);
    } catch (const std::bad_alloc&) {
        printLine(stderr,
                  QStringLiteral("quillet-export: Cannot export the picture \"%1\": not enough memory")
                      .arg(settings.picture));
    } catch (const std::exception& error) {
        printLine(stderr, QStringLiteral("quillet-export: Cannot export the picture \"%1\": %2")
                              .arg(settings.picture, QString::fromLocal8Bit(error.what())));
    }
    return 1;
}
