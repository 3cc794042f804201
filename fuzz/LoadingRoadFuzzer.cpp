// libFuzzer entry: every input travels the loading road.

#include "LoadingRoad.h"

#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

// The decoders warn about every broken input; millions of lines would bury the fuzzer's report.
void dropMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

// The files of every input go to one folder in memory where the system has such a folder.
QString folder() {
    static const QTemporaryDir files(QDir(QStringLiteral("/dev/shm")).exists()
                                         ? QStringLiteral("/dev/shm/quillet-fuzz-XXXXXX")
                                         : QDir::tempPath() + QStringLiteral("/quillet-fuzz-XXXXXX"));
    return files.path();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qInstallMessageHandler(dropMessage);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The decoders are Qt plug-ins, and painting transparent pictures on white wants the GUI side.
    static QGuiApplication application(*argc, *argv);
    folder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    travelLoadingRoad(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)),
                      folder());
    return 0;
}
