#include "Form.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

#include <algorithm>

Form::Form(Shell& shell, QWidget* parent) : QWidget(parent), shell_(shell) {
    if (auto* subWindow = qobject_cast<QMdiSubWindow*>(parent)) {
        subWindow->installEventFilter(this);
        connect(subWindow, &QMdiSubWindow::windowStateChanged, this,
                [this](Qt::WindowStates, Qt::WindowStates now) {
                    if (!(now & Qt::WindowMinimized)) {
                        unminimisedState_ = now & Qt::WindowMaximized ? 2 : 0;
                    }
                    if (!(now & (Qt::WindowMinimized | Qt::WindowMaximized))) {
                        applyRestoreSize();
                        keepInsideArea();
                    }
                });
    }
}

QWidget* Form::frame() const {
    if (auto* subWindow = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        return subWindow;
    }
    return const_cast<Form*>(this);
}

void Form::setCaption(const QString& caption) {
    setWindowTitle(caption);
    frame()->setWindowTitle(caption);
}

void Form::setIcon(const QIcon& icon) {
    setWindowIcon(icon);
    frame()->setWindowIcon(icon);
}

void Form::Show() {
    if (unloaded_) {
        return;
    }
    QWidget* window = frame();
    if (closed_) {
        closed_ = false;
        window->show(); // in the state it was closed in
    }
    if (!shownOnce_) {
        shownOnce_ = true;
        if (restoreSize_) {
            window->resize(*restoreSize_);
            restoreSize_.reset();
        } else {
            window->adjustSize();
        }
        if (pendingPosition_) {
            window->move(*pendingPosition_);
            pendingPosition_.reset();
        }
        keepInsideArea();
        normalFrameSize_ = window->size();
        switch (pendingState_) {
        case 1:
            window->showMinimized();
            break;
        case 2:
            window->showMaximized();
            break;
        default:
            window->show();
            break;
        }
    } else if (!window->isVisible()) {
        window->show();
    }
    if (auto* subWindow = qobject_cast<QMdiSubWindow*>(window); subWindow && subWindow->mdiArea()) {
        subWindow->mdiArea()->setActiveSubWindow(subWindow);
    } else {
        window->activateWindow();
        window->raise();
    }
    // The MDI area maximises a child shown or activated while the active one is maximised; a window
    // without a maximise button keeps its own size and frame.
    if (window->isMaximized() && !(window->windowFlags() & Qt::WindowMaximizeButtonHint) &&
        pendingState_ != 2) {
        window->showNormal();
    }
}

void Form::ShowModal() {
    if (unloaded_) {
        return;
    }
    QPointer<Form> self(this);
    frame()->setWindowModality(Qt::ApplicationModal);
    Show();
    QEventLoop loop;
    connect(this, &Form::unloaded, &loop, &QEventLoop::quit);
    if (self && !unloaded_) {
        loop.exec();
    }
}

void Form::Unload() {
    if (unloaded_) {
        return;
    }
    onEvent([this] { Form_QueryUnload(); });
    finishUnload();
}

void Form::finishUnload() {
    unloaded_ = true;
    QWidget* window = frame();
    window->hide();
    window->deleteLater();
    emit unloaded();
}

void Form::closeEvent(QCloseEvent* event) {
    if (keptWhenClosed_ && !unloaded_) {
        closed_ = true;
        frame()->hide();
        // A hidden window stays the area's active one unless told: the status bar would show its zoom.
        if (auto* subWindow = qobject_cast<QMdiSubWindow*>(frame());
            subWindow && subWindow->mdiArea() && subWindow->mdiArea()->activeSubWindow() == subWindow) {
            subWindow->mdiArea()->setActiveSubWindow(nullptr);
        }
        event->ignore(); // the sub-window stays, hidden
        return;
    }
    if (!unloaded_) {
        onEvent([this] { Form_QueryUnload(); });
        finishUnload();
    }
    event->accept();
}

void Form::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!unloaded_) {
        onEvent([this] { Form_Resize(); });
    }
}

int Form::WindowStateValue() const {
    if (!shownOnce_) {
        return pendingState_;
    }
    const Qt::WindowStates states = frame()->windowState();
    if (states & Qt::WindowMinimized) {
        return 1;
    }
    if (states & Qt::WindowMaximized) {
        return 2;
    }
    return 0;
}

void Form::setWindowStateValue(int state) {
    if (state < 0 || state > 2) {
        throw RuntimeError::invalidPropertyValue();
    }
    if (!shownOnce_) {
        pendingState_ = state;
        return;
    }
    if (closed_) {
        return; // it comes back as the user closed it
    }
    QWidget* window = frame();
    switch (state) {
    case 1:
        window->showMinimized();
        break;
    case 2:
        window->showMaximized();
        break;
    default:
        window->showNormal();
        applyRestoreSize();
        break;
    }
}

bool Form::eventFilter(QObject* watched, QEvent* event) {
    if (watched == frame() && (event->type() == QEvent::Resize || event->type() == QEvent::Move) &&
        shownOnce_ && WindowStateValue() == 0) {
        normalFrameSize_ = frame()->size();
        normalFramePosition_ = frame()->pos();
    }
    return QWidget::eventFilter(watched, event);
}

QSize Form::outerSize() const {
    if (WindowStateValue() != 0) {
        if (restoreSize_) {
            return *restoreSize_;
        }
        if (normalFrameSize_.isValid()) {
            return normalFrameSize_;
        }
    }
    return frame()->frameGeometry().size();
}

int Form::WidthTwips() const {
    return outerSize().width() * TwipsPerPixel;
}

int Form::HeightTwips() const {
    return outerSize().height() * TwipsPerPixel;
}

void Form::setWidthTwips(int twips) {
    setOuterSize(QSize(twips / TwipsPerPixel, outerSize().height()));
}

void Form::setHeightTwips(int twips) {
    setOuterSize(QSize(outerSize().width(), twips / TwipsPerPixel));
}

void Form::setOuterSize(const QSize& size) {
    restoreSize_ = size;
    if (WindowStateValue() == 0) {
        applyRestoreSize();
    }
}

void Form::setLeftTwips(int twips) {
    frame()->move(twips / TwipsPerPixel, frame()->y());
    keepInsideArea();
}

void Form::setTopTwips(int twips) {
    frame()->move(frame()->x(), twips / TwipsPerPixel);
    keepInsideArea();
}

Form::Placement Form::placement() const {
    if (!shownOnce_) {
        return {pendingState_ == 2 ? 2 : 0, QRect()};
    }
    return {unminimisedState_,
            QRect(WindowStateValue() == 0 ? frame()->pos() : normalFramePosition_, outerSize())};
}

void Form::setPlacement(const Placement& placement) {
    if (placement.normalGeometry.isValid()) {
        setOuterSize(placement.normalGeometry.size());
        if (shownOnce_) {
            frame()->move(placement.normalGeometry.topLeft());
        } else {
            pendingPosition_ = placement.normalGeometry.topLeft();
        }
    }
    setWindowStateValue(placement.state);
}

void Form::keepInsideArea() {
    auto* subWindow = qobject_cast<QMdiSubWindow*>(frame());
    if (!subWindow || !subWindow->mdiArea() ||
        subWindow->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)) {
        return;
    }
    const QRect area = subWindow->mdiArea()->viewport()->rect();
    QRect placed = subWindow->geometry();
    placed.setSize(placed.size().boundedTo(area.size()));
    placed.moveRight(std::min(placed.right(), area.right()));
    placed.moveBottom(std::min(placed.bottom(), area.bottom()));
    placed.moveLeft(std::max(placed.left(), area.left()));
    placed.moveTop(std::max(placed.top(), area.top()));
    if (placed != subWindow->geometry()) {
        subWindow->setGeometry(placed);
    }
}

void Form::applyRestoreSize() {
    if (restoreSize_) {
        const QSize size = *restoreSize_;
        restoreSize_.reset();
        frame()->resize(size);
        keepInsideArea();
    }
}
