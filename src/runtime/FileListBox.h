#pragma once
// The file list: the files of the folder Path whose names match any of the semicolon-separated
// wildcard patterns of Pattern, ignoring case (PHOTO.JPG matches "*.jpg"). Selecting an entry
// by mouse or keyboard, or clicking the selected one again, raises the click event.

#include <QListWidget>

#include <functional>

class FileListBox : public QListWidget {
    Q_OBJECT
public:
    // Starts in the working folder, listing every file.
    explicit FileListBox(QWidget* parent);

    // The folder, without a trailing separator except at a root folder.
    QString Path() const { return path_; }
    // Lists the folder anew and clears the selection; a folder that cannot be listed raises an
    // error and the list stays as it was.
    void setPath(const QString& path);
    QString Pattern() const { return pattern_; }
    void setPattern(const QString& pattern);
    // The selected entry's name without its folder; empty when nothing is selected.
    QString FileName() const;

    // The click handler; the owning form routes it through its event dispatch.
    void onClick(std::function<void()> handler) { click_ = std::move(handler); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void list(const QString& folder);
    void raiseClick();

    QString path_;
    QString pattern_ = QStringLiteral("*");
    std::function<void()> click_;
};
