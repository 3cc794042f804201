#include "PlatformDrives.h"

#include "RuntimeError.h"

#include <QFileInfo>

namespace {

RuntimeError folderError(Reason reason, const QString& folder) {
    return RuntimeError(Failure{.reason = reason, .name = folder});
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
        throw folderError(Reason::FolderMissing, folder);
    }
    if (!info.isDir()) {
        throw folderError(Reason::FolderIsNoFolder, folder);
    }
    if (!info.isReadable()) {
        throw folderError(Reason::FolderDenied, folder);
    }
}
