#include "DriveListBox.h"

#include "PlatformDrives.h"
#include "RuntimeError.h"

#include <QSignalBlocker>
#include <QStyle>

DriveListBox::DriveListBox(QWidget* parent) : QComboBox(parent) {
    setDrives(PlatformDrives::drives());
    setCurrentIndex(static_cast<int>(drives_.indexOf(driveHolding(QDir::currentPath()))));
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (change_) {
            change_();
        }
    });
}

void DriveListBox::setDrive(const QString& drive) {
    const qsizetype index = drives_.indexOf(driveHolding(drive));
    if (drive.isEmpty() || index < 0) {
        throw RuntimeError(Failure{.reason = Reason::DeviceUnavailable, .name = drive});
    }
    setCurrentIndex(static_cast<int>(index)); // raises the change event only when it differs
}

QString DriveListBox::driveHolding(const QString& path) const {
    return PlatformDrives::driveHolding(path, drives_);
}

void DriveListBox::setDrives(const QStringList& drives) {
    const QString selected = Drive();
    const QSignalBlocker quiet(this);
    clear();
    drives_ = drives;
    const QIcon icon = style()->standardIcon(QStyle::SP_DriveHDIcon);
    for (const QString& drive : drives_) {
        addItem(icon, drive);
    }
    setCurrentIndex(static_cast<int>(drives_.indexOf(selected)));
}
