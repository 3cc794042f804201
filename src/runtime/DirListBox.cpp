#include "DirListBox.h"

#include "PlatformDrives.h"
#include "RuntimeError.h"

#include <QStyle>

namespace {

constexpr int PathRole = Qt::UserRole;

QString entryName(const QDir& folder) {
    return folder.isRoot() ? QDir::toNativeSeparators(folder.absolutePath()) : folder.dirName();
}

} // namespace

DirListBox::DirListBox(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setIndentation(12);
    setExpandsOnDoubleClick(false);
    setItemsExpandable(false);
    connect(this, &QTreeWidget::itemActivated, this, [this](const QTreeWidgetItem* item) { open(item); });
    try {
        showFolder(PlatformDrives::folderText(QDir::currentPath()));
    } catch (const RuntimeError&) {
        showFolder(QDir::rootPath()); // a working folder gone or locked: start at the root
    }
}

void DirListBox::setPath(const QString& path) {
    const QStringList drives = PlatformDrives::drives();
    const QString root = PlatformDrives::rootOf(path, drives);
    showFolder(root.isEmpty() ? PlatformDrives::folderText(path) : currentFolderOnDrive_.value(root, root));
}

void DirListBox::open(const QTreeWidgetItem* item) {
    try {
        showFolder(item->data(0, PathRole).toString());
    } catch (const RuntimeError& error) {
        if (openFailed_) {
            openFailed_(error);
        }
    }
}

void DirListBox::showFolder(const QString& folder) {
    PlatformDrives::requireReadableFolder(folder);
    QDir dir(folder);
    QList<QDir> chain{dir};
    while (!dir.isRoot() && dir.cdUp()) {
        chain.prepend(dir);
    }

    clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QTreeWidgetItem* item = nullptr;
    for (const QDir& ancestor : chain) {
        auto* const entry = item ? new QTreeWidgetItem(item) : new QTreeWidgetItem(this);
        entry->setText(0, entryName(ancestor));
        entry->setIcon(0, openIcon);
        entry->setData(0, PathRole, PlatformDrives::folderText(ancestor.absolutePath()));
        item = entry;
    }
    const QFileInfoList subfolders =
        QDir(folder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& subfolder : subfolders) {
        auto* const entry = new QTreeWidgetItem(item);
        entry->setText(0, subfolder.fileName());
        entry->setIcon(0, closedIcon);
        entry->setData(0, PathRole, PlatformDrives::folderText(subfolder.absoluteFilePath()));
    }
    expandAll();
    setCurrentItem(item);
    scrollToItem(item);

    const QStringList drives = PlatformDrives::drives();
    currentFolderOnDrive_.insert(PlatformDrives::rootOf(PlatformDrives::driveHolding(folder, drives), drives),
                                 folder);
    if (folder != path_) {
        path_ = folder;
        if (change_) {
            change_();
        }
    }
}
