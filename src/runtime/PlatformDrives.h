#pragma once
// The machine's drives as the drive, folder and file lists present them, and the folder paths they
// show. Drive letters where the system has them; elsewhere the roots of the mounted file systems,
// each presented by its root path. One implementation file per kind of system.

#include <QDir>
#include <QString>
#include <QStringList>

// The separator the forms put between a folder and a file name: the platform's own. It is
// inserted even after a root folder's own separator; the doubled separator still names the file.
inline const QString PathSeparator = QString(QDir::separator());

class PlatformDrives {
public:
    // The texts of the drives, in list order.
    static QStringList drives();
    // The one of `drives` that holds a path; a lone drive letter names its drive. Empty if none.
    static QString driveHolding(const QString& path, const QStringList& drives);
    // The root folder named by a drive's text, in native form; empty when the text names no drive.
    static QString rootOf(const QString& drive, const QStringList& drives);

    // A folder as the lists show it: absolute, native separators, no trailing separator except
    // at a root folder.
    static QString folderText(const QString& path);
    // Raises "Path not found" or "Path/File access error", naming the folder and the reason,
    // unless the folder exists and can be listed.
    static void requireReadableFolder(const QString& folder);
};
