#include "ExporterProcess.h"

#include <QProcess>
#include <QProcessEnvironment>

ExporterRun runExporter(const QStringList& arguments, const std::function<void()>& inChild) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(QString::fromLatin1(display));
    }
    process.setProcessEnvironment(environment);
    if (inChild) {
        process.setChildProcessModifier(inChild);
    }
    process.start(QStringLiteral(QUILLET_EXPORT_PROGRAM), arguments);
    if (!process.waitForFinished(120'000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        return {-1, process.readAllStandardOutput(), "did not finish: " + process.errorString().toUtf8()};
    }
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}
