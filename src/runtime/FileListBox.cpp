#include "FileListBox.h"

#include "PlatformDrives.h"
#include "RuntimeError.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>

FileListBox::FileListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Selection, not the current entry: tabbing into the list makes an entry current but selects
    // nothing, and must not raise a click.
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (!selectedItems().isEmpty()) {
            raiseClick();
        }
    });
    try {
        list(PlatformDrives::folderText(QDir::currentPath()));
    } catch (const RuntimeError&) {
        path_ = PlatformDrives::folderText(QDir::currentPath()); // listed empty until a Path is given
    }
}

void FileListBox::setPath(const QString& path) {
    list(PlatformDrives::folderText(path));
}

void FileListBox::setPattern(const QString& pattern) {
    pattern_ = pattern;
    if (!path_.isEmpty()) {
        list(path_);
    }
}

QString FileListBox::FileName() const {
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

void FileListBox::list(const QString& folder) {
    PlatformDrives::requireReadableFolder(folder);
    QStringList patterns;
    for (const QString& part : pattern_.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        patterns.append(part.trimmed());
    }
    // QDir matches name filters without regard to case unless told otherwise.
    const QStringList names = QDir(folder).entryList(patterns, QDir::Files, QDir::Name | QDir::IgnoreCase);
    const QSignalBlocker quiet(this);
    clear();
    addItems(names);
    path_ = folder;
}

void FileListBox::mousePressEvent(QMouseEvent* event) {
    const QListWidgetItem* const pressed = itemAt(event->position().toPoint());
    const bool wasSelected = pressed && pressed->isSelected();
    QListWidget::mousePressEvent(event);
    // A press on the selected entry changes no selection but still counts as a click.
    if (wasSelected && pressed->isSelected() && event->button() == Qt::LeftButton) {
        raiseClick();
    }
}

void FileListBox::keyPressEvent(QKeyEvent* event) {
    // With nothing selected the first arrow press selects the entry in the focus frame rather
    // than the one past it.
    const bool arrow = event->key() == Qt::Key_Down || event->key() == Qt::Key_Up;
    if (arrow && selectedItems().isEmpty() && count() > 0) {
        setCurrentRow(std::max(currentRow(), 0), QItemSelectionModel::ClearAndSelect);
        return;
    }
    QListWidget::keyPressEvent(event);
}

void FileListBox::raiseClick() {
    if (click_) {
        click_();
    }
}
