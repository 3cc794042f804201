#pragma once
// The drive list: offers the machine's drives (see PlatformDrives) and raises its change event
// whenever the selected drive changes, by the user or by assigning Drive.

#include <QComboBox>

#include <functional>

class DriveListBox : public QComboBox {
    Q_OBJECT
public:
    // Starts on the drive that holds the working folder.
    explicit DriveListBox(QWidget* parent);

    // The selected drive's text.
    QString Drive() const { return currentText(); }
    // Selects the drive named by a drive letter or a drive's text, or the drive holding a path.
    // Assigning the selected drive again raises no change event. A name no drive answers to raises
    // "Device unavailable".
    void setDrive(const QString& drive);
    // The drive of the list that holds a path; empty when none does (a network folder).
    QString driveHolding(const QString& path) const;

    // Replaces the offered drives (read from the system at creation); the selection stays when
    // its drive is still offered.
    void setDrives(const QStringList& drives);

    // The change handler; the owning form routes it through its event dispatch.
    void onChange(std::function<void()> handler) { change_ = std::move(handler); }

private:
    QStringList drives_;
    std::function<void()> change_;
};
