#include "PictureWindowForm.h"

#include "view/FitPictureInViewport.h"
#include "view/PictureNavigation.h"
#include "view/ZoomSteps.h"

#include "runtime/EventDispatch.h"

#include <algorithm>
#include <cmath>

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
    bar->setFocusPolicy(Qt::NoFocus);             // the arrow keys scroll through the window
    bar->setContextMenuPolicy(Qt::NoContextMenu); // the window's own menu, in Chinese, not the bar's
    return bar;
}

// Moves an enabled bar to the value nearest these units, within its range.
void moveBarTo(ScrollBar& bar, double units) {
    if (!bar.Enabled() || !std::isfinite(units)) {
        return;
    }
    const int value = std::clamp(static_cast<int>(std::lround(std::clamp(units, -1e9, 1e9))),
                                 static_cast<int>(bar.Min()), static_cast<int>(bar.Max()));
    if (value != bar.Value()) {
        bar.setBarValue(value);
    }
}

// A movement in units of the bar; one of a few pixels still moves a bar of many pixels per unit.
double unitsOf(double pixels, const ScrollBarAxis& axis) {
    const double units = pixels / axis.scale().pixelsPerUnit();
    return std::abs(units) < 1.0 && pixels != 0.0 ? std::copysign(1.0, pixels) : units;
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
    setFocusPolicy(Qt::StrongFocus);
    new PictureNavigation(*this);
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

double PictureWindowForm::fittingZoom() const {
    const float border = 2.0f * static_cast<float>(Picture1->borderWidth());
    return fitZoom(QSizeF(Picture2->Width(), Picture2->Height()),
                   QSizeF(Picture1->Width() - border, Picture1->Height() - border));
}

QPointF PictureWindowForm::viewportCentre() const {
    const float border = 2.0f * static_cast<float>(Picture1->borderWidth());
    return QPointF((Picture1->Width() - border) / 2.0, (Picture1->Height() - border) / 2.0);
}

void PictureWindowForm::setZoom(double zoom, bool fitted, QPointF anchor) {
    if (zoom == Picture2->zoom()) {
        fitted_ = fitted;
        return;
    }
    const QPointF corner(Picture2->Left(), Picture2->Top());
    const QPointF pixel = (anchor - corner) / Picture2->zoom();
    fitted_ = fitted;
    Picture2->setZoom(zoom);
    FitPictureInViewport(static_cast<PictureWindow&>(*this));
    const QPointF wanted = anchor - pixel * zoom; // the corner that keeps the pixel under the anchor
    moveBarTo(*HScroll1, -wanted.x() / horizontalAxis_.scale().pixelsPerUnit());
    moveBarTo(*VScroll1, -wanted.y() / verticalAxis_.scale().pixelsPerUnit());
    emit zoomChanged();
}

void PictureWindowForm::zoomToFit() {
    setZoom(fittingZoom(), true, viewportCentre());
}

void PictureWindowForm::zoomToActualSize() {
    setZoom(1.0, false, viewportCentre());
}

void PictureWindowForm::zoomIn(QPointF anchor) {
    setZoom(std::max(zoomInStep(zoom()), fittingZoom()), false, anchor);
}

void PictureWindowForm::zoomOut(QPointF anchor) {
    setZoom(zoomOutStep(zoom(), fittingZoom()), false, anchor);
}

void PictureWindowForm::scrollByPixels(double right, double down) {
    moveBarTo(*HScroll1, HScroll1->Value() + unitsOf(right, horizontalAxis_));
    moveBarTo(*VScroll1, VScroll1->Value() + unitsOf(down, verticalAxis_));
}

void PictureWindowForm::startPan() {
    panStart_ = QPoint(HScroll1->Value(), VScroll1->Value());
}

void PictureWindowForm::panBy(QPoint distance) {
    moveBarTo(*HScroll1, panStart_.x() - distance.x() / double(horizontalAxis_.scale().pixelsPerUnit()));
    moveBarTo(*VScroll1, panStart_.y() - distance.y() / double(verticalAxis_.scale().pixelsPerUnit()));
}

void FitPictureInViewport(PictureWindowForm& window) {
    if (window.fitted_ && window.Picture2->zoom() != window.fittingZoom()) {
        window.Picture2->setZoom(window.fittingZoom());
        emit window.zoomChanged();
    }
    FitPictureInViewport(static_cast<PictureWindow&>(window));
}

void PictureWindowForm::takeGeometryOf(const PictureWindowForm& original) {
    setWidthTwips(original.WidthTwips());
    setHeightTwips(original.HeightTwips());
    Picture2->setLeft(original.Picture2->Left());
    Picture2->setTop(original.Picture2->Top());
    Picture2->setHeight(original.Picture2->Height());
    Picture2->setWidth(original.Picture2->Width());
}
