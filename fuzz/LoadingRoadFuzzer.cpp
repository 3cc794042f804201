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

// The point data of every input goes to one file in memory where the system has such a folder.
QString recordsPath() {
    static const QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).exists()
                                          ? QStringLiteral("/dev/shm/quillet-fuzz-XXXXXX")
                                          : QDir::tempPath() + QStringLiteral("/quillet-fuzz-XXXXXX"));
    return folder.filePath(QStringLiteral("points.txt"));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qInstallMessageHandler(dropMessage);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The decoders are Qt plug-ins, and painting transparent pictures on white wants the GUI side.
    static QGuiApplication application(*argc, *argv);
    recordsPath();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    travelLoadingRoad(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)),
                      recordsPath());
    return 0;
}
