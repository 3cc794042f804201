#include "PictureWindowForm.h"

PictureWindowForm::PictureWindowForm(Shell& shell, QWidget* parent)
    : Form(shell, parent), Picture2(new PictureBox(this, 0, false)) {}

void FitPictureInViewport(PictureWindowForm&) {}
