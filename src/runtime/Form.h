#pragma once
// The window part of a form: load, close-request and resize handlers, modal and modeless Show,
// Unload, WindowState, outer size in twips and client size in pixels. A form shown inside the main
// window sits in a QMdiSubWindow, never larger than the main window's area; a dialog is a top-level
// window.

#include "EventDispatch.h"
#include "Shell.h"

#include <QIcon>
#include <QRect>
#include <QWidget>

#include <optional>

class QMdiSubWindow;

class Form : public QWidget {
    Q_OBJECT
public:
    explicit Form(Shell& shell, QWidget* parent = nullptr);

    virtual void Form_Load() {}
    virtual void Form_QueryUnload() {}
    virtual void Form_Resize() {}

    // Show without a style: shows the window, or only activates one already shown.
    void Show();
    // Show with style 1: returns when the window has been unloaded; its own events keep flowing
    // meanwhile and the other windows take no input.
    void ShowModal();
    // Runs the close-request handler, then closes and discards the window.
    void Unload();
    bool isUnloaded() const { return unloaded_; }
    // A window kept when closed is only hidden by its close box: it stays loaded, with its picture and
    // its state, and the next Show brings it back as the user left it.
    void setKeptWhenClosed(bool kept) { keptWhenClosed_ = kept; }
    bool isClosed() const { return closed_; }

    QString Caption() const { return windowTitle(); }
    void setCaption(const QString& caption);
    // 0 normal, 1 minimised, 2 maximised. Before the window is first shown the state is kept
    // and applied when it appears. Named apart from QWidget's windowState, which takes Qt's flags.
    // A closed window keeps the state it was closed in.
    int WindowStateValue() const;
    void setWindowStateValue(int state);
    // The state the window had when it was last not minimised (0 or 2).
    int unminimisedState() const { return unminimisedState_; }
    // Where a window stands when it is not minimised: its state and its normal frame geometry (an
    // invalid one before it was shown). Placed before its first Show, it appears so.
    struct Placement {
        int state = 0;
        QRect normalGeometry;
    };
    Placement placement() const;
    void setPlacement(const Placement& placement);

    // Outer size and position of the window, in twips (QWidget's width() and the like are in pixels).
    int WidthTwips() const;
    int HeightTwips() const;
    void setWidthTwips(int twips);
    void setHeightTwips(int twips);
    void setLeftTwips(int twips);
    void setTopTwips(int twips);
    // Client area in pixels.
    float ScaleWidth() const { return static_cast<float>(width()); }
    float ScaleHeight() const { return static_cast<float>(height()); }

    QIcon Icon() const { return windowIcon(); }
    void setIcon(const QIcon& icon);

    Shell& shell() const { return shell_; }
    // Runs a handler through the event dispatch.
    template <typename Handler> void onEvent(Handler&& handler) { handleEvent(shell_, handler); }

    // The window that carries the frame: the MDI sub-window, or this form.
    QWidget* frame() const;

signals:
    void unloaded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void finishUnload();
    // The outer size in pixels; while minimised or maximised, the size the window takes when restored.
    QSize outerSize() const;
    void setOuterSize(const QSize& size);
    void applyRestoreSize();
    // A sub-window in its normal state is moved and cut down to lie inside the main window's area.
    void keepInsideArea();

    Shell& shell_;
    bool unloaded_ = false;
    bool shownOnce_ = false;
    bool keptWhenClosed_ = false;
    bool closed_ = false;
    int pendingState_ = 0;
    int unminimisedState_ = 0;
    std::optional<QPoint> pendingPosition_;
    std::optional<QSize> restoreSize_;
    // The frame's size when it was last neither minimised nor maximised: what Width and Height
    // report meanwhile, as the size the window takes when restored.
    QSize normalFrameSize_;
    QPoint normalFramePosition_;
};
