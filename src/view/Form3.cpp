#include "Form3.h"

#include "runtime/HalfResolutionScale.h"
#include "view/Form1.h"
#include "view/Form2.h"

Form3::Form3(Shell& shell, ResultWindowSurroundings& surroundings, QWidget* parent)
    : PictureWindowForm(shell, parent, {QSize(732, 460), RGB(255, 255, 255), RGB(0, 0, 0), QPoint(32, 16)}),
      surroundings_(surroundings) {
    setCaption(QStringLiteral("低分辨率黑白图片"));
    Picture2->setUnitBlock(2); // each unit of the half-resolution scale spans 2 x 2 pixels
}

void Form3::Form_Load() {
    setWindowStateValue(1);
    // Loads the grey window first (with its own conversion) when it is not loaded yet.
    surroundings_.greyWindow().setWindowStateValue(1);
    takeGeometryOf(surroundings_.originalWindow());
    setHalfResolutionScale(Picture2->surface(), surroundings_.originalWindow().Picture2->surface());
    if (!surroundings_.runProgressDialog()) {
        setCaption(Caption() + UnfinishedMark); // the partial picture stays on show, marked
    }
}
