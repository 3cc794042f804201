#pragma once
// The main window: the frame that holds the picture windows and the export window, and the
// four-command menu through which every function is reached. Closing it ends the program.

#include "app/ProgramWindows.h"
#include "open/OpenedPictureSink.h"
#include "runtime/EventDispatch.h"

#include <QMainWindow>

class ProgramWindows;
class MainStatusBar;
class QAction;
class QKeySequence;
class QMdiArea;

class MDIForm1 : public QMainWindow, public OpenedPictureSink {
    Q_OBJECT
public:
    explicit MDIForm1(ProgramWindows& forms);

    void MDIForm_Load();
    void MDIForm_Unload();
    void xOpen_Click();
    void xConvert_to_Black_Click();
    void xScale_Click();
    void xSave_Click();
    // Shows the document's opened picture in the original-picture window and enables the items that
    // work on it.
    void pictureOpened() override;
    // Opens a picture named on the command line or dropped here, by the open dialog's road (a bad
    // or missing file is reported and changes nothing). Whether it was opened.
    bool openPictureFile(const QString& path);
    MainStatusBar* status() const { return status_; }

    QMdiArea* mdiArea() const { return mdiArea_; }
    QAction* xOpen() const { return xOpen_; }
    QAction* xConvert_to_Black() const { return xConvert_to_Black_; }
    QAction* xScale() const { return xScale_; }
    QAction* xSave() const { return xSave_; }
    QIcon Icon() const { return windowIcon(); }

    template <typename Handler> void onEvent(Handler&& handler) { handleEvent(forms_.shell(), handler); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QAction* addMenuItem(const QString& caption, const QKeySequence& shortcut, void (MDIForm1::*handler)());

    ProgramWindows& forms_;
    QMdiArea* mdiArea_;
    MainStatusBar* status_;
    QAction* xOpen_;
    QAction* xConvert_to_Black_;
    QAction* xScale_;
    QAction* xSave_;
};

// The caption's opening parenthesis is full-width, the closing one ASCII.
inline const QString MainWindowCaption = QStringLiteral("位图转换到AutoCAD图形（Quillet)");
