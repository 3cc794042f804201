// Systems without drive letters: every mounted file system is a drive, named by its root path;
// "/" comes first. A path belongs to the drive with the longest root that holds it.

#include "PlatformDrives.h"

#include <QFileInfo>
#include <QStorageInfo>

namespace {

bool holds(const QString& root, const QString& folder) {
    if (folder == root) {
        return true;
    }
    const QString prefix = root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
    return folder.startsWith(prefix);
}

} // namespace

QStringList PlatformDrives::drives() {
    QStringList texts{QStringLiteral("/")};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (volume.isValid() && QFileInfo(root).isDir() && !texts.contains(root)) {
            texts.append(root);
        }
    }
    texts.sort();
    return texts;
}

QString PlatformDrives::driveHolding(const QString& path, const QStringList& drives) {
    const QString folder = folderText(path);
    QString best;
    for (const QString& drive : drives) {
        if (holds(drive, folder) && drive.size() > best.size()) {
            best = drive;
        }
    }
    return best;
}

QString PlatformDrives::rootOf(const QString& drive, const QStringList& drives) {
    return drives.contains(drive) ? drive : QString();
}
