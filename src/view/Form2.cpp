#include "Form2.h"

#include "view/Form1.h"

Form2::Form2(Shell& shell, ResultWindowSurroundings& surroundings, QWidget* parent)
    : PictureWindowForm(shell, parent, {QSize(733, 475), RGB(255, 255, 255), RGB(0, 0, 0), QPoint(16, 8)}),
      surroundings_(surroundings) {
    setCaption(QStringLiteral("原分辨率黑白图片"));
}

void Form2::Form_Load() {
    surroundings_.originalWindow().setWindowStateValue(1);
    setWindowStateValue(2);
    // The grey surface takes the opened picture's place and pixel size.
    takeGeometryOf(surroundings_.originalWindow());
    // Waits here while the dialog's timer runs the conversion.
    if (!surroundings_.runProgressDialog()) {
        setCaption(Caption() + UnfinishedMark); // the partial picture stays on show, marked
    }
}
