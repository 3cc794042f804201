#pragma once
// The ways of moving around a picture window's picture: the wheel (Shift for across, Ctrl to zoom
// about the pointer), dragging with the left button, the arrow and page keys, the zoom keys and the
// window's context menu. It watches the window, its viewport, picture and bars.

#include <QObject>
#include <QPointF>

class PictureWindowForm;
class QKeyEvent;
class QMouseEvent;
class QWheelEvent;

class PictureNavigation : public QObject {
    Q_OBJECT
public:
    explicit PictureNavigation(PictureWindowForm& window);

    // Shown pixels one notch of the wheel or one arrow key moves.
    static constexpr double StepPixels = 48.0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool wheel(QObject* watched, const QWheelEvent& event);
    bool mouse(const QMouseEvent& event);
    bool key(const QKeyEvent& event);
    void addMenuItem(const QString& text, void (*action)(PictureWindowForm&));

    PictureWindowForm& window_;
    bool dragging_ = false;
    QPointF dragStart_;
};
