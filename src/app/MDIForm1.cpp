#include "MDIForm1.h"

#include "app/MainStatusBar.h"
#include "app/ProgramIcon.h"
#include "app/ProgramWindows.h"
#include "export/Form6.h"
#include "open/Form4.h"
#include "open/OpenPictureFile.h"
#include "state/Module2.h"
#include "view/Form1.h"
#include "view/Form2.h"
#include "view/Form3.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>

MDIForm1::MDIForm1(ProgramWindows& forms) : forms_(forms), mdiArea_(new QMdiArea(this)) {
    setWindowTitle(MainWindowCaption);
    setWindowIcon(programIcon());
    mdiArea_->setBackground(palette().brush(QPalette::Dark)); // the application workspace colour
    // Bringing the export dialog forward leaves a maximised picture window maximised behind it.
    mdiArea_->setOption(QMdiArea::DontMaximizeSubWindowOnActivation);
    setCentralWidget(mdiArea_);
    status_ = new MainStatusBar(*mdiArea_, Module2::document(), this);
    setStatusBar(status_);
    setAcceptDrops(true);
    resize(703, 530);
    // Open, Black and white, Reduce, Save.
    xOpen_ = addMenuItem(QStringLiteral("打开图片文件"), QKeySequence::Open, &MDIForm1::xOpen_Click);
    xConvert_to_Black_ = addMenuItem(QStringLiteral("转换成黑白图片"), Qt::CTRL | Qt::Key_B,
                                     &MDIForm1::xConvert_to_Black_Click);
    xScale_ = addMenuItem(QStringLiteral("降低分辨率"), Qt::CTRL | Qt::Key_R, &MDIForm1::xScale_Click);
    xSave_ = addMenuItem(QStringLiteral("保存图像数据"), QKeySequence::Save, &MDIForm1::xSave_Click);
}

QAction* MDIForm1::addMenuItem(const QString& caption, const QKeySequence& shortcut,
                               void (MDIForm1::*handler)()) {
    QAction* action = menuBar()->addAction(caption);
    action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this,
            [this, handler] { onEvent([this, handler] { (this->*handler)(); }); });
    return action;
}

void MDIForm1::MDIForm_Load() {
    setWindowState(windowState() | Qt::WindowMaximized);
    xConvert_to_Black_->setEnabled(false);
    xScale_->setEnabled(false);
    xSave_->setEnabled(false);
}

void MDIForm1::MDIForm_Unload() {
    forms_.shell().End();
}

void MDIForm1::closeEvent(QCloseEvent* event) {
    event->accept();
    onEvent([this] { MDIForm_Unload(); });
}

void MDIForm1::xOpen_Click() {
    forms_.form4().ShowModal();
}

void MDIForm1::xConvert_to_Black_Click() {
    Module2::setConvertMode(1);
    forms_.showConvertedGrey();
}

void MDIForm1::xScale_Click() {
    Module2::setConvertMode(2);
    forms_.showConvertedHalf();
}

void MDIForm1::xSave_Click() {
    forms_.form6().Show();
}

void MDIForm1::pictureOpened() {
    forms_.showOpenedPicture();
    xConvert_to_Black_->setEnabled(true);
    xSave_->setEnabled(true);
    xScale_->setEnabled(true);
}

bool MDIForm1::openPictureFile(const QString& path) {
    bool opened = false;
    onEvent([&] { opened = ::openPictureFile(forms_.shell(), *this, path); });
    return opened;
}

namespace {

// The first local file among the dragged ones.
QString droppedFile(const QMimeData* data) {
    for (const QUrl& url : data ? data->urls() : QList<QUrl>()) {
        if (url.isLocalFile()) {
            return url.toLocalFile();
        }
    }
    return QString();
}

} // namespace

void MDIForm1::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedFile(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void MDIForm1::dropEvent(QDropEvent* event) {
    const QString file = droppedFile(event->mimeData());
    if (!file.isEmpty()) {
        event->acceptProposedAction();
        openPictureFile(file);
    }
}
