#include "PlatformDrives.h"

#include "RuntimeError.h"

#include <QFileInfo>

namespace {

RuntimeError folderError(int number, const QString& folder, const QString& reason) {
    return {number, QStringLiteral("Cannot open the folder \"%1\": %2").arg(folder, reason)};
}

} // namespace

QString PlatformDrives::folderText(const QString& path) {
    QString clean = QDir::cleanPath(QDir(QDir::fromNativeSeparators(path)).absolutePath());
    if (clean.endsWith(QLatin1Char(':'))) {
        clean += QLatin1Char('/'); // "c:" alone is that drive's root here
    }
    return QDir::toNativeSeparators(clean);
}

void PlatformDrives::requireReadableFolder(const QString& folder) {
    const QFileInfo info(folder);
    if (!info.exists()) {
        throw folderError(ErrorNumber::PathNotFound, folder, QStringLiteral("it does not exist"));
    }
    if (!info.isDir()) {
        throw folderError(ErrorNumber::PathNotFound, folder, QStringLiteral("it is not a folder"));
    }
    if (!info.isReadable()) {
        throw folderError(ErrorNumber::PathFileAccessError, folder, QStringLiteral("access is denied"));
    }
}
