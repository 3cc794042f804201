#pragma once
// The main window's status bar: the opened picture's file name, its size in pixels and the stages
// done; the zoom of the active picture window; a running conversion's or export's progress; the last
// export's count of points, size and file.

#include <QSize>
#include <QStatusBar>

#include <cstdint>

class QLabel;
class QMdiArea;
class QMdiSubWindow;

class MainStatusBar : public QStatusBar {
    Q_OBJECT
public:
    MainStatusBar(QMdiArea& area, QWidget* parent);

    // The picture and the stages done as Module2's flags say now.
    void showPicture(const QString& path, QSize pixels);
    void showStages();
    // "已写入 N 个点（X MB）到 FILE", until the next message.
    void showExportWritten(std::int64_t points, const QString& file);

    // A running conversion's or export's stage and percentage, as the window's caption shows them.
    void followProgress(QWidget& window);

    QString pictureText() const;
    QString zoomText() const;

private:
    void follow(QMdiSubWindow* window);

    QLabel* const picture_;
    QLabel* const zoom_;
    QString pictureName_;
    QSize pictureSize_;
    QMetaObject::Connection zoomFollowed_;
};
