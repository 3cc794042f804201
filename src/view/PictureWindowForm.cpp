#include "PictureWindowForm.h"

#include "view/FitPictureInViewport.h"

#include "runtime/EventDispatch.h"

namespace {

PictureBox* makeBox(QWidget* parent, ColourValue background, bool border, QRect geometry) {
    auto* box = new PictureBox(parent, background, border);
    box->setLeft(static_cast<float>(geometry.x()));
    box->setTop(static_cast<float>(geometry.y()));
    box->setWidth(static_cast<float>(geometry.width()));
    box->setHeight(static_cast<float>(geometry.height()));
    return box;
}

ScrollBar* makeScrollBar(Qt::Orientation orientation, QWidget* parent, QRect geometry) {
    auto* bar = new ScrollBar(orientation, parent);
    bar->setLeft(static_cast<float>(geometry.x()));
    bar->setTop(static_cast<float>(geometry.y()));
    bar->setWidth(static_cast<float>(geometry.width()));
    bar->setHeight(static_cast<float>(geometry.height()));
    bar->setMin(0);
    bar->setMax(32767);
    bar->setSmallChange(1);
    bar->setLargeChange(1);
    bar->setBarValue(0);
    return bar;
}

} // namespace

PictureWindowForm::PictureWindowForm(Shell& shell, QWidget* parent, const Design& design)
    : Form(shell, parent), Picture1(makeBox(this, design.viewportBackground, true, QRect(0, 0, 672, 396))),
      Picture2(makeBox(Picture1, design.pictureBackground, false, QRect(design.pictureAt, QSize(657, 393)))),
      HScroll1(makeScrollBar(Qt::Horizontal, this, QRect(0, 400, 657, 17))),
      VScroll1(makeScrollBar(Qt::Vertical, this, QRect(656, 0, 17, 401))),
      designClientArea_(design.clientArea), viewportLayout_(*Picture1), pictureLayout_(*Picture2),
      horizontalAxis_(*HScroll1), verticalAxis_(*VScroll1) {
    Picture1->setAutoSize(true); // no picture is ever assigned to the viewport
    Picture2->setAutoSize(true);
    HScroll1->onChange([this] { onEvent([this] { HScroll1_Change(); }); });
    VScroll1->onChange([this] { onEvent([this] { VScroll1_Change(); }); });
    resize(designClientArea_);
}

void PictureWindowForm::Form_Resize() {
    skipOnError([this] { Picture1->setWidth(ScaleWidth() - VScroll1->Width()); });
    skipOnError([this] { VScroll1->setLeft(Picture1->Width()); });
    skipOnError([this] { HScroll1->setWidth(Picture1->Width()); });
    skipOnError([this] { Picture1->setHeight(ScaleHeight() - HScroll1->Height()); });
    skipOnError([this] { VScroll1->setHeight(Picture1->Height()); });
    skipOnError([this] { HScroll1->setTop(Picture1->Height()); });
    skipOnError([this] { FitPictureInViewport(*this); });
}

void PictureWindowForm::HScroll1_Change() {
    Picture2->setLeft(horizontalAxis_.pictureOffset());
}

void PictureWindowForm::VScroll1_Change() {
    Picture2->setTop(verticalAxis_.pictureOffset());
}

void FitPictureInViewport(PictureWindowForm& window) {
    FitPictureInViewport(static_cast<PictureWindow&>(window));
}
