#include "PictureNavigation.h"

#include "view/PictureWindowForm.h"

#include <QAction>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

PictureNavigation::PictureNavigation(PictureWindowForm& window) : QObject(&window), window_(window) {
    for (QWidget* watched : std::initializer_list<QWidget*>{&window, window.Picture1, window.Picture2,
                                                            window.HScroll1, window.VScroll1}) {
        watched->installEventFilter(this);
    }
    addMenuItem(QStringLiteral("适合窗口\tCtrl+0"), [](PictureWindowForm& form) { form.zoomToFit(); });
    addMenuItem(QStringLiteral("100 %\tCtrl+1"), [](PictureWindowForm& form) { form.zoomToActualSize(); });
    addMenuItem(QStringLiteral("放大\tCtrl++"),
                [](PictureWindowForm& form) { form.zoomIn(form.viewportCentre()); });
    addMenuItem(QStringLiteral("缩小\tCtrl+-"),
                [](PictureWindowForm& form) { form.zoomOut(form.viewportCentre()); });
    window.setContextMenuPolicy(Qt::ActionsContextMenu);
}

void PictureNavigation::addMenuItem(const QString& text, void (*action)(PictureWindowForm&)) {
    auto* item = new QAction(text, &window_);
    connect(item, &QAction::triggered, this, [this, action] { window_.onEvent([&] { action(window_); }); });
    window_.addAction(item);
}

bool PictureNavigation::eventFilter(QObject* watched, QEvent* event) {
    bool handled = false;
    switch (event->type()) {
    case QEvent::Wheel:
        window_.onEvent([&] { handled = wheel(watched, static_cast<const QWheelEvent&>(*event)); });
        return handled;
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        if (watched == window_.Picture1 || watched == window_.Picture2) {
            window_.onEvent([&] { handled = mouse(static_cast<const QMouseEvent&>(*event)); });
        }
        return handled;
    case QEvent::KeyPress:
        if (watched == &window_) {
            window_.onEvent([&] { handled = key(static_cast<const QKeyEvent&>(*event)); });
        }
        return handled;
    default:
        return false;
    }
}

bool PictureNavigation::wheel(QObject* watched, const QWheelEvent& event) {
    const QPoint delta = event.angleDelta();
    const double notches = (delta.y() != 0 ? delta.y() : delta.x()) / 120.0;
    if (notches == 0.0) {
        return true;
    }
    if (event.modifiers() & Qt::ControlModifier) {
        const QPointF anchor = window_.Picture1->mapFromGlobal(event.globalPosition()) -
                               QPointF(window_.Picture1->borderWidth(), window_.Picture1->borderWidth());
        notches > 0 ? window_.zoomIn(anchor) : window_.zoomOut(anchor);
        return true;
    }
    const bool across =
        (event.modifiers() & Qt::ShiftModifier) || delta.y() == 0 || watched == window_.HScroll1;
    const double pixels = -notches * StepPixels;
    window_.scrollByPixels(across ? pixels : 0.0, across ? 0.0 : pixels);
    return true;
}

bool PictureNavigation::mouse(const QMouseEvent& event) {
    switch (event.type()) {
    case QEvent::MouseButtonPress:
        if (event.button() != Qt::LeftButton) {
            return false;
        }
        window_.setFocus(Qt::MouseFocusReason);
        window_.startPan();
        dragStart_ = event.globalPosition();
        dragging_ = true;
        return true;
    case QEvent::MouseMove:
        if (dragging_) {
            window_.panBy((event.globalPosition() - dragStart_).toPoint());
        }
        return dragging_;
    default:
        if (event.button() != Qt::LeftButton || !dragging_) {
            return false;
        }
        dragging_ = false;
        return true;
    }
}

bool PictureNavigation::key(const QKeyEvent& event) {
    const QPointF centre = window_.viewportCentre();
    if (event.modifiers() & Qt::ControlModifier) {
        switch (event.key()) {
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            window_.zoomIn(centre);
            return true;
        case Qt::Key_Minus:
            window_.zoomOut(centre);
            return true;
        case Qt::Key_0:
            window_.zoomToFit();
            return true;
        case Qt::Key_1:
            window_.zoomToActualSize();
            return true;
        default:
            return false;
        }
    }
    const double page = 2.0 * centre.y() * 0.9; // most of the viewport's height, some kept in view
    switch (event.key()) {
    case Qt::Key_Left:
        window_.scrollByPixels(-StepPixels, 0.0);
        return true;
    case Qt::Key_Right:
        window_.scrollByPixels(StepPixels, 0.0);
        return true;
    case Qt::Key_Up:
        window_.scrollByPixels(0.0, -StepPixels);
        return true;
    case Qt::Key_Down:
        window_.scrollByPixels(0.0, StepPixels);
        return true;
    case Qt::Key_PageUp:
        window_.scrollByPixels(0.0, -page);
        return true;
    case Qt::Key_PageDown:
        window_.scrollByPixels(0.0, page);
        return true;
    default:
        return false;
    }
}
