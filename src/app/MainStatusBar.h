#pragma once
// The main window's status bar, following the picture document: the opened picture's file name, its
// size in pixels and the stages done; the last export of this picture, its count of points, size and
// file; the zoom of the active picture window; a running conversion's or export's progress.

#include <QStatusBar>

class PictureDocument;
class QLabel;
class QMdiArea;
class QMdiSubWindow;

class MainStatusBar : public QStatusBar {
    Q_OBJECT
public:
    MainStatusBar(QMdiArea& area, const PictureDocument& document, QWidget* parent);

    // A running conversion's or export's stage and percentage, as the window's caption shows them while
    // it ends in a percentage.
    void followProgress(QWidget& window);

    QString pictureText() const;
    QString exportText() const;
    QString zoomText() const;

private:
    void showPicture();
    void showExport();
    void follow(QMdiSubWindow* window);

    const PictureDocument& document_;
    QLabel* const picture_;
    QLabel* const export_;
    QLabel* const zoom_;
    QMetaObject::Connection zoomFollowed_;
};
