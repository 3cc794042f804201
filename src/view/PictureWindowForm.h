#pragma once
// The shape shared by the three picture windows: a viewport Picture1 holding the picture Picture2,
// with the scroll bars HScroll1 and VScroll1 (being built).

#include "runtime/Form.h"
#include "runtime/PictureBox.h"

class PictureWindowForm : public Form {
    Q_OBJECT
public:
    PictureWindowForm(Shell& shell, QWidget* parent);

    PictureBox* const Picture2;
};

// Places the picture in the window's viewport and sets up its scroll bars.
void FitPictureInViewport(PictureWindowForm& window);
