#pragma once
// The folder list: shows the folder Path under its ancestors, with its subfolders below it.
// Opening an entry (double-click or Enter) makes it the new Path; a change of Path raises the
// change event.

#include <QHash>
#include <QTreeWidget>

#include <functional>

class RuntimeError;

class DirListBox : public QTreeWidget {
    Q_OBJECT
public:
    // Starts in the working folder.
    explicit DirListBox(QWidget* parent);

    QString Path() const { return path_; }
    // A folder, or a drive's text: that drive's current folder, the one this list last showed on
    // it (its root at first). A folder that cannot be listed raises an error and Path stays.
    void setPath(const QString& path);

    // The change handler; the owning form routes it through its event dispatch.
    void onChange(std::function<void()> handler) { change_ = std::move(handler); }
    // Told when an entry the user opens cannot be listed; Path then stays as it was.
    void onOpenFailed(std::function<void(const RuntimeError&)> handler) { openFailed_ = std::move(handler); }

protected:
    // The chain is always fully open: no expand or collapse marks.
    void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}

private:
    void showFolder(const QString& folder);
    void open(const QTreeWidgetItem* item);

    QString path_;
    // Per drive root, the folder last shown on that drive.
    QHash<QString, QString> currentFolderOnDrive_;
    std::function<void()> change_;
    std::function<void(const RuntimeError&)> openFailed_;
};
