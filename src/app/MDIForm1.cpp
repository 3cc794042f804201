#include "MDIForm1.h"

#include "app/Forms.h"
#include "app/ProgramIcon.h"
#include "export/Form6.h"
#include "open/Form4.h"
#include "state/Module2.h"
#include "view/Form1.h"
#include "view/Form2.h"
#include "view/Form3.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMenuBar>

MDIForm1::MDIForm1(Forms& forms) : forms_(forms), mdiArea_(new QMdiArea(this)) {
    setWindowTitle(MainWindowCaption);
    setWindowIcon(programIcon());
    mdiArea_->setBackground(palette().brush(QPalette::Dark)); // the application workspace colour
    setCentralWidget(mdiArea_);
    resize(703, 530);
    xOpen_ = addMenuItem(QStringLiteral("打开图片文件"), &MDIForm1::xOpen_Click);
    xConvert_to_Black_ = addMenuItem(QStringLiteral("转换成黑白图片"), &MDIForm1::xConvert_to_Black_Click);
    xScale_ = addMenuItem(QStringLiteral("降低分辨率"), &MDIForm1::xScale_Click);
    xSave_ = addMenuItem(QStringLiteral("保存图像数据"), &MDIForm1::xSave_Click);
}

QAction* MDIForm1::addMenuItem(const QString& caption, void (MDIForm1::*handler)()) {
    QAction* action = menuBar()->addAction(caption);
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
    Module2::ConvertMode = 1;
    forms_.form2().Show();
}

void MDIForm1::xScale_Click() {
    // Without a grey window the reduction would halve a black surface: make the grey picture first.
    if (!forms_.loadedForm2() && !forms_.loadedForm3()) {
        Module2::ConvertMode = 1;
        forms_.form2().Show();
    }
    Module2::ConvertMode = 2;
    forms_.form3().Show();
}

void MDIForm1::xSave_Click() {
    forms_.form6().Show();
}

void MDIForm1::pictureOpened(const QImage& picture) {
    forms_.exportSources().pictureOpenedFrom(Module2::CurrentPath);
    Form1& form1 = forms_.form1();
    form1.Picture2->setPicture(picture);
    form1.Show();
    FitPictureInViewport(form1);
    xConvert_to_Black_->setEnabled(true);
    xSave_->setEnabled(true);
    xScale_->setEnabled(true);
}
