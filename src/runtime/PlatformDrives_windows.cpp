// Systems with drive letters: a drive's text is its lower-case letter and colon, followed by the
// volume label in brackets when it has one ("c: [System]").

#include "PlatformDrives.h"

#include <QStorageInfo>

namespace {

// The drive letter a text starts with ("c", "C:", "c: [System]", "C:\\photos"), or a null char.
QChar leadingLetter(const QString& text) {
    if (text.isEmpty() || !text[0].isLetter() || (text.size() > 1 && text[1] != QLatin1Char(':'))) {
        return {};
    }
    return text[0].toLower();
}

} // namespace

QStringList PlatformDrives::drives() {
    QStringList texts;
    for (const QFileInfo& root : QDir::drives()) {
        const QChar letter = leadingLetter(root.absoluteFilePath());
        if (letter.isNull()) {
            continue;
        }
        const QString label = QStorageInfo(root.absoluteFilePath()).name();
        texts.append(label.isEmpty() ? QString(letter) + QLatin1Char(':')
                                     : QStringLiteral("%1: [%2]").arg(letter).arg(label));
    }
    return texts;
}

QString PlatformDrives::driveHolding(const QString& path, const QStringList& drives) {
    const QChar letter = leadingLetter(path);
    if (letter.isNull()) {
        return {};
    }
    for (const QString& drive : drives) {
        if (leadingLetter(drive) == letter) {
            return drive;
        }
    }
    return {};
}

QString PlatformDrives::rootOf(const QString& drive, const QStringList& drives) {
    const QChar letter = leadingLetter(drive);
    const bool driveText = drive.size() == 2 || drive.startsWith(QStringLiteral("%1: [").arg(drive[0]));
    if (letter.isNull() || !driveText || driveHolding(drive, drives).isEmpty()) {
        return {};
    }
    return QString(letter.toUpper()) + QStringLiteral(":\\");
}
